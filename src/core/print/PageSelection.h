#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The sheets of a job to print, as people write them: "7", "7-9,12"
// (numbers from 1, ranges inclusive, blanks allowed). Empty: every sheet.
class CPageSelection
{
public:
    struct CRange
    {
        std::size_t m_nFirst;
        std::size_t m_nLast;
    };

    // nullopt for text that is no such list (or a range that runs down).
    static std::optional<CPageSelection> Parse(std::string_view text);
    static CPageSelection Ranges(std::vector<CRange> ranges);

    bool All() const { return m_ranges.empty(); }
    bool Contains(std::size_t nSheet) const;
    // The highest sheet named; 0 for every sheet.
    std::size_t Last() const;
    // How many of nSheets sheets are selected.
    std::size_t CountOf(std::size_t nSheets) const;
    // "7-9,12", as the list is written back.
    std::string Text() const;

private:
    std::vector<CRange> m_ranges;
};
