#include "text/EditText.h"

#include "model/DecimalScan.h"
#include "model/Gbk.h"

#include <algorithm>

#include <cstdint>
#include <limits>

namespace {

// Length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

template <typename Visit>
void ForEachCharacter(std::string_view utf8, Visit visit)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        if (!visit(utf8.substr(i, n)))
            return;
        i += n;
    }
}

std::string WithCrLf(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + 8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r'))
            out += '\r';
        out += utf8[i];
    }
    return out;
}

} // namespace

std::size_t StoredLength(std::string_view utf8)
{
    std::size_t nBytes = 0;
    ForEachCharacter(utf8, [&](std::string_view ch) {
        if (ch == "\n")
            nBytes += 2;
        else if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80)
            nBytes += 1;
        else
            nBytes += Utf8ToGbk(ch).value_or(std::string(2, '?')).size();
        return true;
    });
    // A CR already before an LF was counted once more above.
    for (std::size_t i = 1; i < utf8.size(); ++i)
        if (utf8[i] == '\n' && utf8[i - 1] == '\r')
            --nBytes;
    return nBytes;
}

std::optional<std::string> EditTextToGbk(std::string_view utf8)
{
    return Utf8ToGbk(WithCrLf(utf8));
}

std::optional<std::string> FirstUnstorableCharacter(std::string_view utf8)
{
    std::optional<std::string> found;
    ForEachCharacter(utf8, [&](std::string_view ch) {
        if (Utf8ToGbk(ch))
            return true;
        found = std::string(ch);
        return false;
    });
    return found;
}

std::string GbkToEditText(std::string_view gbk)
{
    const std::string utf8 = GbkToUtf8Lossy(gbk);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n'))
            out += utf8[i];
    return out;
}

std::optional<int> ParseDialogInt(std::string_view text)
{
    constexpr CDecimalRules kRules{true, true, std::numeric_limits<int>::min(),
                                   std::numeric_limits<int>::max()};
    const auto value = ScanDecimal(text, kRules);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}
