#include "print/PdfTextMap.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct SEquivalent
{
    char32_t code;
    char32_t ideograph;
};

constexpr SEquivalent kEquivalents[] = {
#include "print/IdeographEquivalents.inc"
};

constexpr std::string_view kBeginCMap = "begincmap";

// A hex string of a CMap ("<4E00>", "<D840DC00>"), as UTF-16 code units.
std::optional<std::u16string> ReadUnits(std::string_view hex)
{
    if (hex.size() % 4 != 0)
        return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        unsigned unit = 0;
        const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 4, unit, 16);
        if (error != std::errc() || end != hex.data() + i + 4)
            return std::nullopt;
        units.push_back(static_cast<char16_t>(unit));
    }
    return units;
}

// The one code point a destination names, if it names exactly one.
std::optional<char32_t> SingleCodePoint(const std::u16string& units)
{
    if (units.size() == 1)
        return units[0];
    if (units.size() == 2 && units[0] >= 0xD800 && units[0] < 0xDC00 && units[1] >= 0xDC00 &&
        units[1] < 0xE000)
        return 0x10000 + ((char32_t(units[0]) - 0xD800) << 10) + (char32_t(units[1]) - 0xDC00);
    return std::nullopt;
}

void AppendHex(std::string& out, char32_t code)
{
    char digits[16];
    if (code < 0x10000) {
        std::snprintf(digits, sizeof digits, "<%04X>", unsigned(code));
    } else {
        const char32_t offset = code - 0x10000;
        std::snprintf(digits, sizeof digits, "<%04X%04X>", unsigned(0xD800 + (offset >> 10)),
                      unsigned(0xDC00 + (offset & 0x3FF)));
    }
    out += digits;
}

// The tokens of a bfchar or bfrange section: hex strings and brackets.
std::vector<std::string_view> Tokens(std::string_view section)
{
    std::vector<std::string_view> tokens;
    for (std::size_t i = 0; i < section.size();) {
        const char c = section[i];
        if (c == '[' || c == ']') {
            tokens.push_back(section.substr(i, 1));
            ++i;
        } else if (c == '<') {
            const std::size_t close = section.find('>', i);
            if (close == std::string_view::npos)
                return {};
            tokens.push_back(section.substr(i, close - i + 1));
            i = close + 1;
        } else {
            ++i;
        }
    }
    return tokens;
}

std::string_view Inner(std::string_view hexToken)
{
    return hexToken.substr(1, hexToken.size() - 2);
}

// A destination passed through EquivalentIdeograph, or nothing where it stays.
std::optional<char32_t> MendedDestination(std::string_view hexToken)
{
    const auto units = ReadUnits(Inner(hexToken));
    if (!units)
        return std::nullopt;
    const auto code = SingleCodePoint(*units);
    if (!code || EquivalentIdeograph(*code) == *code)
        return std::nullopt;
    return EquivalentIdeograph(*code);
}

void AppendDestination(std::string& out, std::string_view hexToken)
{
    if (const auto mended = MendedDestination(hexToken))
        AppendHex(out, *mended);
    else
        out += hexToken;
}

// "<src> <dst>" pairs.
std::optional<std::string> MendCharSection(std::string_view section)
{
    const auto tokens = Tokens(section);
    if (tokens.size() % 2 != 0)
        return std::nullopt;
    std::string out = "\n";
    for (std::size_t i = 0; i < tokens.size(); i += 2) {
        out += tokens[i];
        out += ' ';
        AppendDestination(out, tokens[i + 1]);
        out += '\n';
    }
    return out;
}

// "<lo> <hi> <dst>" (codes lo..hi to dst, dst + 1, ...) and
// "<lo> <hi> [<dst> ...]" (one destination each). A run whose destinations
// change is written as a list.
std::optional<std::string> MendRangeSection(std::string_view section)
{
    const auto tokens = Tokens(section);
    std::string out = "\n";
    for (std::size_t i = 0; i < tokens.size();) {
        if (i + 2 >= tokens.size() || tokens[i][0] != '<' || tokens[i + 1][0] != '<')
            return std::nullopt;
        out += tokens[i];
        out += ' ';
        out += tokens[i + 1];
        out += ' ';
        if (tokens[i + 2] == "[") {
            out += '[';
            std::size_t j = i + 3;
            for (; j < tokens.size() && tokens[j] != "]"; ++j) {
                AppendDestination(out, tokens[j]);
                out += ' ';
            }
            if (j == tokens.size())
                return std::nullopt;
            out += "]\n";
            i = j + 1;
            continue;
        }
        const auto lo = ReadUnits(Inner(tokens[i]));
        const auto hi = ReadUnits(Inner(tokens[i + 1]));
        const auto first = ReadUnits(Inner(tokens[i + 2]));
        const auto firstCode = first ? SingleCodePoint(*first) : std::nullopt;
        if (!lo || !hi || lo->size() != 1 || hi->size() != 1 || (*hi)[0] < (*lo)[0])
            return std::nullopt;
        const char32_t count = char32_t((*hi)[0] - (*lo)[0]) + 1;
        const char32_t base = firstCode.value_or(0);
        bool bChanges = false;
        for (char32_t k = 0; firstCode && k < count; ++k)
            bChanges = bChanges || EquivalentIdeograph(base + k) != base + k;
        if (!bChanges) {
            out += tokens[i + 2];
        } else {
            out += '[';
            for (char32_t k = 0; k < count; ++k) {
                AppendHex(out, EquivalentIdeograph(base + k));
                out += ' ';
            }
            out += ']';
        }
        out += '\n';
        i += 3;
    }
    return out;
}

struct SEdit
{
    std::size_t position; // in the tail as it was
    std::size_t oldSize;
    std::string text;
};

std::optional<std::uint64_t> ReadNumber(std::string_view text, std::size_t& position)
{
    while (position < text.size() &&
           (text[position] == ' ' || text[position] == '\r' || text[position] == '\n'))
        ++position;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + position, text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    position = static_cast<std::size_t>(end - text.data());
    return value;
}

// The edits that mend the CMap whose "begincmap" is at `mark`: its text and
// its stream's /Length.
bool TextMapEdits(std::string_view tail, std::size_t mark, std::vector<SEdit>& edits)
{
    const std::size_t streamKeyword = tail.rfind("stream", mark);
    const std::size_t lengthKey = tail.rfind("/Length", streamKeyword);
    if (streamKeyword == std::string_view::npos || lengthKey == std::string_view::npos)
        return false;
    std::size_t contentStart = streamKeyword + 6;
    if (tail.substr(contentStart, 2) == "\r\n")
        contentStart += 2;
    else if (contentStart < tail.size() && tail[contentStart] == '\n')
        ++contentStart;
    else
        return false;
    std::size_t numberStart = lengthKey + 7;
    std::size_t numberEnd = numberStart;
    const auto length = ReadNumber(tail, numberEnd);
    while (tail[numberStart] == ' ')
        ++numberStart;
    if (!length || contentStart + *length > tail.size() || contentStart + *length <= mark ||
        tail.substr(contentStart + *length).find("endstream") > 2)
        return false;
    const std::string mended = MendTextMap(tail.substr(contentStart, *length));
    edits.push_back({numberStart, numberEnd - numberStart, std::to_string(mended.size())});
    edits.push_back({contentStart, *length, mended});
    return true;
}

// How far the byte at `position` of the tail as it was moves.
std::int64_t Shift(const std::vector<SEdit>& edits, std::size_t position)
{
    std::int64_t shift = 0;
    for (const SEdit& edit : edits) {
        if (edit.position < position)
            shift += std::int64_t(edit.text.size()) - std::int64_t(edit.oldSize);
    }
    return shift;
}

// The edits to the cross-reference table and to startxref for objects that
// move.
bool CrossReferenceEdits(std::string_view tail, std::uint64_t tailOffset, std::vector<SEdit>& edits)
{
    const std::size_t startKey = tail.rfind("startxref");
    const std::size_t tableKey = tail.rfind("\nxref", startKey);
    if (startKey == std::string_view::npos || tableKey == std::string_view::npos)
        return false;
    std::vector<SEdit> moves;
    const auto moved = [&](std::uint64_t offset) {
        return offset < tailOffset ? offset : offset + Shift(edits, std::size_t(offset - tailOffset));
    };
    std::size_t position = tableKey + 5;
    const std::size_t trailer = tail.find("trailer", position);
    if (trailer == std::string_view::npos)
        return false;
    while (true) {
        std::size_t probe = position;
        const auto first = ReadNumber(tail, probe);
        const auto count = ReadNumber(tail, probe);
        if (!first || !count || probe > trailer)
            break;
        while (tail[probe] == ' ' || tail[probe] == '\r' || tail[probe] == '\n')
            ++probe;
        for (std::uint64_t k = 0; k < *count; ++k, probe += 20) {
            const std::string_view entry = tail.substr(probe, 20);
            if (entry.size() < 20 || entry[10] != ' ' || entry[16] != ' ')
                return false;
            if (entry[17] != 'n')
                continue;
            std::size_t digits = probe;
            const auto offset = ReadNumber(tail, digits);
            if (!offset)
                return false;
            char text[11];
            std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(moved(*offset)));
            moves.push_back({probe, 10, text});
        }
        position = probe;
    }
    std::size_t number = startKey + 9;
    const std::size_t numberStart = tail.find_first_not_of(" \r\n", number);
    const auto start = ReadNumber(tail, number);
    if (!start)
        return false;
    moves.push_back({numberStart, number - numberStart, std::to_string(moved(*start))});
    edits.insert(edits.end(), moves.begin(), moves.end());
    return true;
}

} // namespace

char32_t EquivalentIdeograph(char32_t code)
{
    const auto found = std::lower_bound(std::begin(kEquivalents), std::end(kEquivalents), code,
                                        [](const SEquivalent& entry, char32_t c) { return entry.code < c; });
    return found != std::end(kEquivalents) && found->code == code ? found->ideograph : code;
}

std::string MendTextMap(std::string_view cmap)
{
    std::string out;
    std::size_t done = 0;
    while (true) {
        const std::size_t range = cmap.find("beginbfrange", done);
        const std::size_t chars = cmap.find("beginbfchar", done);
        const std::size_t begin = std::min(range, chars);
        if (begin == std::string_view::npos)
            break;
        const bool bRange = begin == range;
        const std::string_view beginKey = bRange ? "beginbfrange" : "beginbfchar";
        const std::string_view endKey = bRange ? "endbfrange" : "endbfchar";
        const std::size_t sectionStart = begin + beginKey.size();
        const std::size_t end = cmap.find(endKey, sectionStart);
        if (end == std::string_view::npos)
            break;
        const std::string_view section = cmap.substr(sectionStart, end - sectionStart);
        const auto mended = bRange ? MendRangeSection(section) : MendCharSection(section);
        out += cmap.substr(done, sectionStart - done);
        out += mended ? std::string_view(*mended) : section;
        done = end;
    }
    out += cmap.substr(done);
    return out;
}

bool HoldsTextMap(std::string_view bytes)
{
    return bytes.find(kBeginCMap) != std::string_view::npos;
}

bool MendPdfTextMaps(std::string& tail, std::uint64_t tailOffset)
{
    std::vector<SEdit> edits;
    for (std::size_t mark = tail.find(kBeginCMap); mark != std::string::npos;
         mark = tail.find(kBeginCMap, mark + kBeginCMap.size())) {
        if (!TextMapEdits(tail, mark, edits))
            return false;
    }
    if (edits.empty())
        return true;
    if (!CrossReferenceEdits(tail, tailOffset, edits))
        return false;
    std::sort(edits.begin(), edits.end(),
              [](const SEdit& a, const SEdit& b) { return a.position > b.position; });
    for (const SEdit& edit : edits)
        tail.replace(edit.position, edit.oldSize, edit.text);
    return true;
}
