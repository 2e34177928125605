#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a person chose for a wire list file, as the dialog's fields hold it,
// so that the next import of the same file starts from there.
struct CListChoices
{
    std::string m_strPath;
    std::string m_strColumns = "1";
    std::string m_strFarEndColumns; // empty: one marker per row
    std::string m_strJoin;          // empty: a line break
    std::size_t m_nHeaderRows = 0;
    bool m_bSkipEmptyCells = true;
    int m_nCopies = 1;
    std::string m_strQuantityColumn;
    std::string m_strEncoding; // empty: detected
    std::string m_strWorksheet;

    bool operator==(const CListChoices&) const = default;
};

// Lists whose choices are kept, the last used first.
constexpr std::size_t kRememberedLists = 10;

// Puts `choices` first, dropping an older entry for the same file and the
// oldest beyond kRememberedLists.
void RememberListChoices(std::vector<CListChoices>& lists, CListChoices choices);

// The choices kept for the file at `path`, or null.
const CListChoices* ChoicesForList(const std::vector<CListChoices>& lists, const std::string& path);
