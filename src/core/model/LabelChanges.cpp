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
        entry.m_nBeforeLength = static_cast<std::uint16_t>(before[i].m_strText.size());
        entry.m_nAfterLength = static_cast<std::uint16_t>(after[i].m_strText.size());
        entry.m_nTextOffset = static_cast<std::uint32_t>(m_texts.size());
        m_texts += before[i].m_strText;
        m_texts += after[i].m_strText;
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

CLabelRecord CPackedLabelChanges::Unpack(std::uint16_t nFormat, std::size_t nOffset,
                                         std::size_t nLength) const
{
    CLabelRecord record = m_formats[nFormat];
    record.m_strText.assign(m_texts, nOffset, nLength);
    return record;
}

CLabelRecord CPackedLabelChanges::Before(std::size_t i) const
{
    const Entry& entry = m_entries[i];
    return Unpack(entry.m_nBeforeFormat, entry.m_nTextOffset, entry.m_nBeforeLength);
}

CLabelRecord CPackedLabelChanges::After(std::size_t i) const
{
    const Entry& entry = m_entries[i];
    return Unpack(entry.m_nAfterFormat, entry.m_nTextOffset + entry.m_nBeforeLength, entry.m_nAfterLength);
}

std::size_t CPackedLabelChanges::MemoryUse() const
{
    std::size_t nBytes = sizeof(*this) + m_entries.capacity() * sizeof(Entry) +
                         m_formats.capacity() * sizeof(CLabelRecord) + m_texts.capacity();
    for (const CLabelRecord& format : m_formats)
        nBytes += format.m_strText.capacity() > 15 ? format.m_strText.capacity() : 0;
    return nBytes;
}
