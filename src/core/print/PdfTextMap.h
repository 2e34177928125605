#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The text maps (ToUnicode CMaps) of the fonts of a PDF written by Qt, read
// and written anew while the PDF streams to its file.
//
// Qt's PDF writer gives each glyph the lowest code point that reaches it in
// the font, so a glyph that draws several characters (a radical and the
// ideograph it looks like) searches and copies as whichever comes first;
// and Qt 6.4 pads every block of a map after its first hundred entries with
// as many bytes of leftover memory as the block before it held. The maps
// are therefore read with that padding skipped and written anew, each glyph
// given the character the correction names: the one the text drew with it.

// The code point a glyph of the font the PDF names `fontName` (its
// /BaseFont) stands for, given the one the map gave it.
using TextMapCorrection = std::function<char32_t(std::string_view fontName, char32_t code)>;

// The name a PDF written by Qt gives a font (its /BaseFont): the PostScript
// name of the font's "name" table, spaces as underscores; empty where the
// table has none.
std::string PdfFontName(std::string_view nameTable);

// A glyph of a font's subset and the code point it stands for.
struct STextMapEntry
{
    std::uint16_t m_nGlyph = 0;
    char32_t m_code = 0;
    bool operator==(const STextMapEntry&) const = default;
};

// The entries of a text map laid out as Qt writes one (its padding skipped),
// in glyph order, a glyph once; nothing where the map is laid out otherwise.
// Glyphs that stand for several code points (a ligature) or none are left
// out.
std::optional<std::vector<STextMapEntry>> ReadTextMap(std::string_view cmap);

// A text map of the entries, in blocks of at most a hundred.
std::string WriteTextMap(const std::vector<STextMapEntry>& entries);

// Passes a PDF through, piece by piece as its writer sends it, with every
// text map read, corrected and written anew, the lengths of their streams
// and the cross-reference table moved to match. Holds back only the last
// few hundred bytes and, at the end, the cross-reference table, so memory
// stays flat whatever the size of the PDF. A map that does not read is
// passed on as it is.
class CPdfTextMapRewriter
{
public:
    explicit CPdfTextMapRewriter(TextMapCorrection correct);

    // Takes the next bytes of the PDF and appends to `out` what is ready.
    void Put(std::string_view bytes, std::string& out);
    // Appends the rest to `out`. Returns false where a map has changed size
    // and the cross-reference table cannot be moved to match: what was
    // written is then no valid PDF and must be discarded.
    bool Finish(std::string& out);

private:
    void Pass(std::size_t nBytes, std::string& out);
    bool RewriteMapAt(std::size_t nMapStart, std::string& out);
    std::uint64_t Moved(std::uint64_t offset) const;

    TextMapCorrection m_correct;
    std::string m_pending;       // bytes of the PDF not yet passed on
    std::uint64_t m_nIn = 0;     // offset in the PDF as written of m_pending's first byte
    std::size_t m_nFontScan = 0; // how far m_pending was searched for font names
    std::string m_strFont;       // the last font name met
    bool m_bInCrossReference = false;
    std::size_t m_nAwaited = 0; // the bytes a map begun in m_pending needs whole
    // Where a map changed size (the offset just after its old bytes, as
    // written) and how far every later byte moves in all.
    std::vector<std::pair<std::uint64_t, std::int64_t>> m_shifts;
};
