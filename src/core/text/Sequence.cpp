#include "text/Sequence.h"

#include <cstdint>

const std::string kNoNumber = "_NULL_";

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string IncrementNumber(const std::string& text, int nStep)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    // Sixty-four bits hold any number that can still fit the width once the
    // step is added; a longer run of digits cannot, so it has no successor.
    std::int64_t nValue = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (nValue > (INT64_MAX / 10) - 10 - INT32_MAX)
            return kNoNumber;
        nValue = nValue * 10 + (text[i] - '0');
    }
    if (bNegative)
        nValue = -nValue;
    std::string digits = std::to_string(nValue + nStep);
    if (digits.size() > text.size())
        return kNoNumber;
    return std::string(text.size() - digits.size(), '0') + digits;
}

std::string IncrementLetter(const std::string& text, int nStep)
{
    if (text.size() != 1)
        return {};
    const char c = text[0];
    char base = 0;
    if (c >= 'A' && c <= 'Z')
        base = 'A';
    else if (c >= 'a' && c <= 'z')
        base = 'a';
    else
        return {};
    const long long nOffset = (static_cast<long long>(c - base) + nStep) % 26;
    return std::string(1, static_cast<char>(base + (nOffset + 26) % 26));
}
