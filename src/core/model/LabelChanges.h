#pragma once

#include "model/CLabelRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The labels one edit changed, each with its record before and after, packed
// for a long undo history: each distinct record without its text is kept
// once, and every text lies in one shared block. A full-sheet fill of short
// texts takes about 20 bytes a label instead of two whole records.
class CPackedLabelChanges
{
public:
    CPackedLabelChanges(const std::vector<int>& indices, const std::vector<CLabelRecord>& before,
                        const std::vector<CLabelRecord>& after);

    std::size_t Count() const { return m_entries.size(); }
    int Index(std::size_t i) const { return m_entries[i].m_nIndex; }
    CLabelRecord Before(std::size_t i) const;
    CLabelRecord After(std::size_t i) const;

    // The bytes this object holds, its own size included.
    std::size_t MemoryUse() const;

private:
    // The texts lie in the block in entry order, each entry's before text and
    // then its after text, so two end offsets place both. Offsets are full
    // width: a label's text may be as long as the file format allows.
    struct Entry
    {
        std::size_t m_nBeforeEnd;
        std::size_t m_nAfterEnd;
        std::uint16_t m_nIndex;
        std::uint16_t m_nBeforeFormat;
        std::uint16_t m_nAfterFormat;
    };

    std::size_t TextStart(std::size_t i) const { return i == 0 ? 0 : m_entries[i - 1].m_nAfterEnd; }

    std::uint16_t FormatId(const CLabelRecord& record);
    CLabelRecord Unpack(std::uint16_t nFormat, std::size_t nBegin,
                        std::size_t nEnd) const; // text [nBegin, nEnd)

    std::vector<Entry> m_entries;
    std::vector<CLabelRecord> m_formats; // texts empty
    std::string m_texts;
};
