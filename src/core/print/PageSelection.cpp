#include "print/PageSelection.h"

#include <algorithm>
#include <charconv>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t nFirst = text.find_first_not_of(' ');
    if (nFirst == std::string_view::npos)
        return {};
    return text.substr(nFirst, text.find_last_not_of(' ') - nFirst + 1);
}

std::optional<std::size_t> SheetNumber(std::string_view text)
{
    text = Trimmed(text);
    std::size_t nValue = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || nValue == 0)
        return std::nullopt;
    return nValue;
}

} // namespace

std::optional<CPageSelection> CPageSelection::Parse(std::string_view text)
{
    std::vector<CRange> ranges;
    for (;;) {
        const std::size_t nComma = text.find(',');
        const std::string_view item = text.substr(0, nComma);
        const std::size_t nDash = item.find('-');
        const std::optional<std::size_t> first = SheetNumber(item.substr(0, nDash));
        const std::optional<std::size_t> last =
            nDash == std::string_view::npos ? first : SheetNumber(item.substr(nDash + 1));
        if (!first || !last || *last < *first)
            return std::nullopt;
        ranges.push_back({*first, *last});
        if (nComma == std::string_view::npos)
            break;
        text.remove_prefix(nComma + 1);
    }
    return Ranges(std::move(ranges));
}

CPageSelection CPageSelection::Ranges(std::vector<CRange> ranges)
{
    CPageSelection selection;
    selection.m_ranges = std::move(ranges);
    return selection;
}

bool CPageSelection::Contains(std::size_t nSheet) const
{
    return All() || std::any_of(m_ranges.begin(), m_ranges.end(), [nSheet](const CRange& range) {
               return nSheet >= range.m_nFirst && nSheet <= range.m_nLast;
           });
}

std::size_t CPageSelection::Last() const
{
    std::size_t nLast = 0;
    for (const CRange& range : m_ranges)
        nLast = std::max(nLast, range.m_nLast);
    return nLast;
}

std::size_t CPageSelection::CountOf(std::size_t nSheets) const
{
    if (All())
        return nSheets;
    std::size_t nCount = 0;
    for (std::size_t n = 1; n <= nSheets; ++n)
        nCount += Contains(n) ? 1 : 0;
    return nCount;
}

std::string CPageSelection::Text() const
{
    std::string text;
    for (const CRange& range : m_ranges) {
        if (!text.empty())
            text += ',';
        text += std::to_string(range.m_nFirst);
        if (range.m_nLast != range.m_nFirst)
            text += '-' + std::to_string(range.m_nLast);
    }
    return text;
}
