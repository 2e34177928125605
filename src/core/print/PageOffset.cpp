#include "print/PageOffset.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsCSpace(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

constexpr std::size_t kStoredValueBuffer = 200;

} // namespace

int DecimalTextValue(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    // Accumulated past the int range only as far as needed to saturate.
    constexpr long long nLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long n = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        n = std::min(n * 10 + (text[i] - '0'), nLimit);
    if (bNegative)
        return static_cast<int>(-n);
    return static_cast<int>(std::min(n, nLimit - 1));
}

int PageMoveFromText(std::string_view text)
{
    if (text.size() >= kStoredValueBuffer)
        return 0;
    const int n = DecimalTextValue(text);
    return (n < -kMaxPageMove || n > kMaxPageMove) ? 0 : n;
}

COffsetText CheckSignedText(std::string_view typed, int nLimit)
{
    COffsetText result;
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(result.m_strText),
                 [](char ch) { return ch != ' '; });
    if (result.m_strText.empty())
        result.m_strText.push_back('0');
    const std::string& str = result.m_strText;
    const bool bSignOrDigit = IsDigit(str[0]) || str[0] == '-' || str[0] == '+';
    if (!bSignOrDigit || !std::all_of(str.begin() + 1, str.end(), IsDigit)) {
        result.m_check = OffsetTextCheck::NotANumber;
        return result;
    }
    result.m_nValue = DecimalTextValue(str);
    if (result.m_nValue < -nLimit || result.m_nValue > nLimit)
        result.m_check = OffsetTextCheck::OutOfRange;
    return result;
}

COffsetText CheckOffsetText(std::string_view typed)
{
    return CheckSignedText(typed, kMaxPageMove);
}
