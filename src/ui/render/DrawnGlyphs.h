#pragma once

#include <QHash>
#include <QRawFont>

#include <string>
#include <string_view>
#include <vector>

class QPaintDevice;

// The characters the glyphs of a PDF were drawn for, recorded while its
// pages are painted, so that each font's text map in the PDF can give a
// glyph the character of the text: a face may draw several characters with
// one glyph (户 and 戶, a radical and its ideograph), where Qt's map would
// give whichever code point comes first.
class CDrawnGlyphs
{
public:
    // `ch` was drawn with glyph `nGlyph` of `face`. The first character
    // drawn with a glyph keeps it.
    void Add(const QRawFont& face, quint32 nGlyph, char32_t ch);
    // The character drawn with the glyph that `code` reaches in the font the
    // PDF names `fontName` (a TextMapCorrection); `code` where none was.
    char32_t CharacterFor(std::string_view fontName, char32_t code) const;

    // The record that painting on `device` adds to, if any.
    static CDrawnGlyphs* Of(const QPaintDevice* device);

private:
    struct CFace
    {
        QRawFont m_face;       // the first size drawn; glyphs are the same at any
        std::string m_strName; // as a PDF names the font
        QHash<quint32, char32_t> m_characters;
    };
    std::vector<CFace> m_faces;              // one a font file's face
    QHash<QString, std::size_t> m_faceIndex; // by family and style
    QRawFont m_lastFace;                     // what the last character was drawn with
    std::size_t m_nLastFace = 0;
};

// While it lives, what is painted on `device` is recorded into `glyphs`.
class CDrawnGlyphsScope
{
public:
    CDrawnGlyphsScope(const QPaintDevice& device, CDrawnGlyphs& glyphs);
    ~CDrawnGlyphsScope();
    CDrawnGlyphsScope(const CDrawnGlyphsScope&) = delete;
    CDrawnGlyphsScope& operator=(const CDrawnGlyphsScope&) = delete;

private:
    const QPaintDevice& m_device;
};
