#include "print/PdfTextMap.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

namespace {

// What begins the stream of a text map as Qt writes one.
constexpr std::string_view kMapStart = "stream\n/CIDInit /ProcSet findresource begin\n";
constexpr std::string_view kFontKey = "/BaseFont /";
constexpr std::string_view kCrossReference = "\nxref\n";
// Enough to hold a stream's header, a font name or a marker split between
// two pieces.
constexpr std::size_t kHeldBack = 256;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Reads the text of a map from `position` on, token by token.
class CMapScanner
{
public:
    CMapScanner(std::string_view text, std::size_t position) : m_text(text), m_nPosition(position) {}

    std::size_t Position() const { return m_nPosition; }

    void SkipSpace()
    {
        while (m_nPosition < m_text.size() && IsSpace(m_text[m_nPosition]))
            ++m_nPosition;
    }

    bool Keyword(std::string_view word)
    {
        SkipSpace();
        if (m_text.substr(m_nPosition, word.size()) != word)
            return false;
        m_nPosition += word.size();
        return true;
    }

    std::optional<std::uint32_t> Number()
    {
        SkipSpace();
        std::uint32_t value = 0;
        const char* begin = m_text.data() + m_nPosition;
        const auto [end, error] = std::from_chars(begin, m_text.data() + m_text.size(), value);
        if (error != std::errc())
            return std::nullopt;
        m_nPosition += static_cast<std::size_t>(end - begin);
        return value;
    }

    // "<hex>": the code units of a hex string of 4 or 8 digits, as one code
    // point (a surrogate pair joined); nothing for any other string.
    std::optional<char32_t> Code()
    {
        SkipSpace();
        if (m_nPosition >= m_text.size() || m_text[m_nPosition] != '<')
            return std::nullopt;
        const std::size_t close = m_text.find('>', m_nPosition);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view hex = m_text.substr(m_nPosition + 1, close - m_nPosition - 1);
        m_nPosition = close + 1;
        std::uint32_t units[2] = {};
        if (hex.size() != 4 && hex.size() != 8)
            return std::nullopt;
        for (std::size_t i = 0; i < hex.size() / 4; ++i) {
            const char* begin = hex.data() + 4 * i;
            const auto [end, error] = std::from_chars(begin, begin + 4, units[i], 16);
            if (error != std::errc() || end != begin + 4)
                return std::nullopt;
        }
        if (hex.size() == 4)
            return units[0] >= 0xD800 && units[0] < 0xE000 ? std::nullopt : std::optional<char32_t>(units[0]);
        if (units[0] < 0xD800 || units[0] >= 0xDC00 || units[1] < 0xDC00 || units[1] >= 0xE000)
            return std::nullopt;
        return 0x10000 + ((units[0] - 0xD800) << 10) + (units[1] - 0xDC00);
    }

    bool Peek(char c)
    {
        SkipSpace();
        return m_nPosition < m_text.size() && m_text[m_nPosition] == c;
    }

private:
    std::string_view m_text;
    std::size_t m_nPosition;
};

// `count` entries of a bfrange block ("<lo> <hi> <code>" for codes counting
// up from code, "<lo> <hi> [<code> ...]" one each) and then "endbfrange";
// the position after it.
std::optional<std::size_t> ReadRanges(std::string_view cmap, std::size_t position, std::uint32_t count,
                                      std::map<std::uint16_t, char32_t>& glyphs)
{
    CMapScanner scan(cmap, position);
    std::map<std::uint16_t, char32_t> read;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto lo = scan.Code();
        const auto hi = scan.Code();
        if (!lo || !hi || *lo > 0xFFFF || *hi > 0xFFFF || *hi < *lo)
            return std::nullopt;
        if (scan.Peek('[')) {
            scan.Keyword("[");
            for (char32_t glyph = *lo; glyph <= *hi; ++glyph) {
                const auto code = scan.Code();
                if (!code)
                    return std::nullopt;
                read[static_cast<std::uint16_t>(glyph)] = *code;
            }
            if (!scan.Keyword("]"))
                return std::nullopt;
        } else {
            const auto code = scan.Code();
            if (!code)
                return std::nullopt;
            for (char32_t glyph = *lo; glyph <= *hi; ++glyph)
                read[static_cast<std::uint16_t>(glyph)] = *code + (glyph - *lo);
        }
    }
    if (!scan.Keyword("endbfrange"))
        return std::nullopt;
    glyphs.merge(read);
    return scan.Position();
}

std::optional<std::size_t> ReadChars(std::string_view cmap, std::size_t position, std::uint32_t count,
                                     std::map<std::uint16_t, char32_t>& glyphs)
{
    CMapScanner scan(cmap, position);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto glyph = scan.Code();
        const auto code = scan.Code();
        if (!glyph || *glyph > 0xFFFF || !code)
            return std::nullopt;
        glyphs.emplace(static_cast<std::uint16_t>(*glyph), *code);
    }
    if (!scan.Keyword("endbfchar"))
        return std::nullopt;
    return scan.Position();
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

// The decimal number right after `key` in `text` (spaces between), and
// where its digits are.
struct SNumberAt
{
    std::uint64_t m_nValue = 0;
    std::size_t m_nStart = 0;
    std::size_t m_nEnd = 0;
};

std::optional<SNumberAt> NumberAfter(std::string_view text, std::size_t keyEnd)
{
    std::size_t start = keyEnd;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    return SNumberAt{value, start, static_cast<std::size_t>(end - text.data())};
}

} // namespace

std::string PdfFontName(std::string_view nameTable)
{
    const auto u16 = [&](std::size_t at) {
        return at + 2 <= nameTable.size() ? unsigned(static_cast<unsigned char>(nameTable[at])) << 8 |
                                                static_cast<unsigned char>(nameTable[at + 1])
                                          : 0u;
    };
    const unsigned nRecords = u16(2);
    const std::size_t storage = u16(4);
    std::string name;
    for (unsigned i = 0; i < nRecords && name.empty(); ++i) {
        const std::size_t record = 6 + 12 * std::size_t(i);
        const unsigned platform = u16(record);
        const std::size_t start = storage + u16(record + 10);
        const std::size_t length = u16(record + 8);
        if (u16(record + 6) != 6 || record + 12 > nameTable.size() || start + length > nameTable.size())
            continue;
        const std::string_view text = nameTable.substr(start, length);
        if (platform == 1) {
            name = text;
        } else if (platform == 0 || platform == 3) {
            // UTF-16 big-endian; a PostScript name is printable ASCII.
            for (std::size_t k = 0; k + 1 < text.size(); k += 2)
                name += text[k] == 0 ? text[k + 1] : '?';
        }
    }
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

std::optional<std::vector<STextMapEntry>> ReadTextMap(std::string_view cmap)
{
    const std::size_t header = cmap.find("endcodespacerange");
    if (header == std::string_view::npos)
        return std::nullopt;
    std::map<std::uint16_t, char32_t> glyphs;
    CMapScanner scan(cmap, header + std::string_view("endcodespacerange").size());
    // The padding of a block is as long as the whole of the block before it.
    std::size_t nLastBlock = 0;
    while (!scan.Keyword("endcmap")) {
        const auto count = scan.Number();
        if (!count)
            return std::nullopt;
        const bool bRanges = scan.Keyword("beginbfrange");
        if (!bRanges && !scan.Keyword("beginbfchar"))
            return std::nullopt;
        std::size_t blockStart = scan.Position();
        if (blockStart < cmap.size() && cmap[blockStart] == '\n')
            ++blockStart;
        const auto read = [&](std::size_t from) {
            return bRanges ? ReadRanges(cmap, from, *count, glyphs) : ReadChars(cmap, from, *count, glyphs);
        };
        std::optional<std::size_t> end;
        if (nLastBlock != 0 && blockStart + nLastBlock < cmap.size())
            end = read(blockStart + nLastBlock);
        if (!end)
            end = read(blockStart);
        if (!end)
            return std::nullopt;
        const std::string_view endKey = bRanges ? "endbfrange" : "endbfchar";
        nLastBlock = *end - endKey.size() - blockStart;
        scan = CMapScanner(cmap, *end);
    }
    std::vector<STextMapEntry> entries;
    entries.reserve(glyphs.size());
    for (const auto& [glyph, code] : glyphs)
        if (code != 0)
            entries.push_back({glyph, code});
    return entries;
}

std::string WriteTextMap(const std::vector<STextMapEntry>& entries)
{
    std::string out = "/CIDInit /ProcSet findresource begin\n"
                      "12 dict begin\n"
                      "begincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n"
                      "/CMapType 2 def\n"
                      "1 begincodespacerange\n"
                      "<0000> <FFFF>\n"
                      "endcodespacerange\n";
    // Runs of glyphs whose code points count up with them, within one block
    // of 256 glyphs and 256 code points, as ranges; the rest one by one.
    std::vector<std::pair<std::size_t, std::size_t>> runs; // first entry, length
    for (std::size_t i = 0; i < entries.size();) {
        std::size_t n = 1;
        while (i + n < entries.size() && entries[i + n].m_nGlyph == entries[i].m_nGlyph + n &&
               entries[i + n].m_code == entries[i].m_code + n && entries[i + n].m_code < 0x10000 &&
               (entries[i + n].m_nGlyph & 0xFF) != 0 && (entries[i + n].m_code & 0xFF) != 0)
            ++n;
        runs.emplace_back(i, n);
        i += n;
    }
    const auto writeBlocks = [&](bool bRanges) {
        std::vector<std::pair<std::size_t, std::size_t>> chosen;
        for (const auto& run : runs)
            if ((run.second > 1) == bRanges)
                chosen.push_back(run);
        for (std::size_t i = 0; i < chosen.size(); i += 100) {
            const std::size_t n = std::min<std::size_t>(100, chosen.size() - i);
            out += std::to_string(n) + (bRanges ? " beginbfrange\n" : " beginbfchar\n");
            for (std::size_t k = i; k < i + n; ++k) {
                const STextMapEntry& first = entries[chosen[k].first];
                AppendHex(out, first.m_nGlyph);
                out += ' ';
                if (bRanges) {
                    AppendHex(out, first.m_nGlyph + chosen[k].second - 1);
                    out += ' ';
                }
                AppendHex(out, first.m_code);
                out += '\n';
            }
            out += bRanges ? "endbfrange\n" : "endbfchar\n";
        }
    };
    writeBlocks(true);
    writeBlocks(false);
    out += "endcmap\n"
           "CMapName currentdict /CMap defineresource pop\n"
           "end\n"
           "end\n";
    return out;
}

CPdfTextMapRewriter::CPdfTextMapRewriter(TextMapCorrection correct) : m_correct(std::move(correct))
{}

void CPdfTextMapRewriter::Put(std::string_view bytes, std::string& out)
{
    m_pending.append(bytes);
    if (m_bInCrossReference || m_pending.size() < m_nAwaited)
        return;
    m_nAwaited = 0;
    while (true) {
        const std::size_t map = m_pending.find(kMapStart);
        const std::size_t table = m_pending.find(kCrossReference);
        if (table != std::string::npos && table < map) {
            // The rest is the cross-reference table and the trailer: held
            // until the end, when the offsets of the objects are known.
            Pass(table, out);
            m_bInCrossReference = true;
            return;
        }
        if (map == std::string::npos)
            break;
        if (!RewriteMapAt(map, out))
            return; // the map has not come in whole yet
    }
    if (m_pending.size() > kHeldBack)
        Pass(m_pending.size() - kHeldBack, out);
}

bool CPdfTextMapRewriter::Finish(std::string& out)
{
    if (m_shifts.empty()) {
        Pass(m_pending.size(), out);
        return true;
    }
    const std::size_t startKey = m_pending.rfind("startxref");
    const std::size_t table = m_pending.rfind(kCrossReference, startKey);
    if (startKey == std::string::npos || table == std::string::npos)
        return false;
    std::string& text = m_pending;
    std::size_t position = table + kCrossReference.size();
    while (true) {
        const auto first = NumberAfter(text, position);
        const auto count = first ? NumberAfter(text, first->m_nEnd) : std::nullopt;
        if (!first || !count || count->m_nStart > startKey)
            break;
        position = count->m_nEnd;
        while (position < text.size() && IsSpace(text[position]))
            ++position;
        for (std::uint64_t k = 0; k < count->m_nValue; ++k, position += 20) {
            if (position + 20 > startKey || text[position + 10] != ' ' || text[position + 16] != ' ')
                return false;
            if (text[position + 17] != 'n')
                continue;
            const auto offset = NumberAfter(text, position);
            if (!offset || offset->m_nEnd != position + 10)
                return false;
            char digits[32];
            std::snprintf(digits, sizeof digits, "%010llu",
                          static_cast<unsigned long long>(Moved(offset->m_nValue)));
            if (std::string_view(digits).size() != 10)
                return false;
            text.replace(position, 10, digits);
        }
    }
    const auto start = NumberAfter(text, startKey + std::string_view("startxref").size());
    if (!start)
        return false;
    text.replace(start->m_nStart, start->m_nEnd - start->m_nStart, std::to_string(Moved(start->m_nValue)));
    Pass(m_pending.size(), out);
    return true;
}

void CPdfTextMapRewriter::Pass(std::size_t nBytes, std::string& out)
{
    // The name of each font, its /BaseFont, comes before its text map.
    for (std::size_t key = m_pending.find(kFontKey, m_nFontScan); key != std::string::npos && key < nBytes;
         key = m_pending.find(kFontKey, key + 1)) {
        const std::size_t name = key + kFontKey.size();
        const std::size_t end = m_pending.find_first_of(" \r\n\t/<>[]()", name);
        if (end == std::string::npos)
            break;
        m_strFont = m_pending.substr(name, end - name);
        m_nFontScan = end;
    }
    out.append(m_pending, 0, nBytes);
    m_pending.erase(0, nBytes);
    m_nIn += nBytes;
    m_nFontScan = m_nFontScan > nBytes ? m_nFontScan - nBytes : 0;
}

bool CPdfTextMapRewriter::RewriteMapAt(std::size_t nMapStart, std::string& out)
{
    // "<< /Length N >>" right before the stream.
    const std::size_t lengthKey = m_pending.rfind("/Length", nMapStart);
    const std::size_t contentStart = nMapStart + std::string_view("stream\n").size();
    const auto length = lengthKey == std::string::npos || nMapStart - lengthKey > 32
                            ? std::nullopt
                            : NumberAfter(m_pending, lengthKey + std::string_view("/Length").size());
    if (!length || m_pending.compare(length->m_nEnd, 4, " >>\n") != 0 || length->m_nEnd + 4 != nMapStart) {
        // Not a header as Qt writes it: passed on as it is.
        Pass(contentStart, out);
        return true;
    }
    constexpr std::string_view kStreamEnd = "\nendstream";
    if (m_pending.size() < contentStart + length->m_nValue + kStreamEnd.size()) {
        m_nAwaited = contentStart + static_cast<std::size_t>(length->m_nValue) + kStreamEnd.size();
        return false;
    }
    const std::size_t contentEnd = contentStart + static_cast<std::size_t>(length->m_nValue);
    Pass(lengthKey, out);
    const std::size_t shift = lengthKey;
    const std::size_t lengthStart = length->m_nStart - shift;
    const std::size_t lengthEnd = length->m_nEnd - shift;
    const std::size_t start = contentStart - shift;
    const std::size_t end = contentEnd - shift;
    std::optional<std::vector<STextMapEntry>> entries;
    if (m_pending.compare(end, kStreamEnd.size(), kStreamEnd) == 0)
        entries = ReadTextMap(std::string_view(m_pending).substr(start, end - start));
    if (!entries) {
        Pass(end, out);
        return true;
    }
    for (STextMapEntry& entry : *entries)
        entry.m_code = m_correct(m_strFont, entry.m_code);
    const std::string map = WriteTextMap(*entries);
    const std::string lengthText = std::to_string(map.size());
    const std::int64_t before = m_shifts.empty() ? 0 : m_shifts.back().second;
    const std::int64_t lengthShift = std::int64_t(lengthText.size()) - std::int64_t(lengthEnd - lengthStart);
    const std::int64_t mapShift = std::int64_t(map.size()) - std::int64_t(end - start);
    m_shifts.emplace_back(m_nIn + lengthEnd, before + lengthShift);
    m_shifts.emplace_back(m_nIn + end, before + lengthShift + mapShift);
    out.append(m_pending, 0, lengthStart);
    out += lengthText;
    out.append(m_pending, lengthEnd, start - lengthEnd);
    out += map;
    m_pending.erase(0, end);
    m_nIn += end;
    m_nFontScan = 0;
    return true;
}

std::uint64_t CPdfTextMapRewriter::Moved(std::uint64_t offset) const
{
    const auto after =
        std::upper_bound(m_shifts.begin(), m_shifts.end(), offset,
                         [](std::uint64_t value, const auto& shift) { return value < shift.first; });
    if (after == m_shifts.begin())
        return offset;
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(offset) + std::prev(after)->second);
}
