#include "model/DecimalScan.h"

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// Beyond every range a field asks for, and far from overflowing.
constexpr std::int64_t kLargest = std::int64_t(1) << 40;

} // namespace

std::optional<std::int64_t> ScanDecimal(std::string_view text, const CDecimalRules& rules)
{
    std::size_t i = 0;
    while (rules.m_bBlanksAround && i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (rules.m_bSign && i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    const std::size_t nFirstDigit = i;
    std::int64_t nValue = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        nValue = nValue * 10 + (text[i] - '0');
        if (nValue > kLargest)
            return std::nullopt;
    }
    if (i == nFirstDigit)
        return std::nullopt;
    while (rules.m_bBlanksAround && i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (bNegative)
        nValue = -nValue;
    if (nValue < rules.m_nMin || nValue > rules.m_nMax)
        return std::nullopt;
    return nValue;
}
