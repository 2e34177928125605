#include "model/LabelChanges.h"

CPackedLabelChanges::CPackedLabelChanges(const std::vector<int>& indices,
                                         const std::vector<CLabelRecord>& before,
                                         const std::vector<CLabelRecord>& after)
{
    m_entries.reserve(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        Entry entry{};
        entry.m_nIndex = static_cast<std::uint16_t>(indices[i]);
        entry.m_nBeforeFormat = FormatId(before[i]);
        entry.m_nAfterFormat = FormatId(after[i]);
        m_texts += before[i].m_strText;
        entry.m_nBeforeEnd = m_texts.size();
        m_texts += after[i].m_strText;
        entry.m_nAfterEnd = m_texts.size();
        m_entries.push_back(entry);
    }
    m_formats.shrink_to_fit();
    m_texts.shrink_to_fit();
}

std::uint16_t CPackedLabelChanges::FormatId(const CLabelRecord& record)
{
    CLabelRecord format = record;
    format.m_strText.clear();
    // Neighbouring labels mostly share their format: look from the newest.
    for (std::size_t i = m_formats.size(); i-- > 0;)
        if (m_formats[i] == format)
            return static_cast<std::uint16_t>(i);
    m_formats.push_back(std::move(format));
    return static_cast<std::uint16_t>(m_formats.size() - 1);
}

CLabelRecord CPackedLabelChanges::Unpack(std::uint16_t nFormat, std::size_t nBegin, std::size_t nEnd) const
{
    CLabelRecord record = m_formats[nFormat];
    record.m_strText.assign(m_texts, nBegin, nEnd - nBegin);
    return record;
}

CLabelRecord CPackedLabelChanges::Before(std::size_t i) const
{
    const Entry& entry = m_entries[i];
    return Unpack(entry.m_nBeforeFormat, TextStart(i), entry.m_nBeforeEnd);
}

CLabelRecord CPackedLabelChanges::After(std::size_t i) const
{
    const Entry& entry = m_entries[i];
    return Unpack(entry.m_nAfterFormat, entry.m_nBeforeEnd, entry.m_nAfterEnd);
}

std::size_t CPackedLabelChanges::MemoryUse() const
{
    std::size_t nBytes = sizeof(*this) + m_entries.capacity() * sizeof(Entry) +
                         m_formats.capacity() * sizeof(CLabelRecord) + m_texts.capacity();
    for (const CLabelRecord& format : m_formats)
        nBytes += format.m_strText.capacity() > 15 ? format.m_strText.capacity() : 0;
    return nBytes;
}
