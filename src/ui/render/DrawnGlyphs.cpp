#include "render/DrawnGlyphs.h"

#include "print/PdfTextMap.h"

#include <QByteArray>

namespace {

// Painting happens on the GUI thread only.
QHash<const QPaintDevice*, CDrawnGlyphs*>& Records()
{
    static QHash<const QPaintDevice*, CDrawnGlyphs*> records;
    return records;
}

} // namespace

void CDrawnGlyphs::Add(const QRawFont& face, quint32 nGlyph, char32_t ch)
{
    // A job draws one face at many sizes, a run of characters at a time.
    if (m_faces.empty() || !(face == m_lastFace)) {
        const QString key = face.familyName() + QLatin1Char('\n') + face.styleName();
        auto it = m_faceIndex.constFind(key);
        if (it == m_faceIndex.constEnd()) {
            const QByteArray names = face.fontTable("name");
            m_faces.push_back(
                {face, PdfFontName(std::string_view(names.constData(), std::size_t(names.size()))), {}});
            it = m_faceIndex.insert(key, m_faces.size() - 1);
        }
        m_lastFace = face;
        m_nLastFace = *it;
    }
    QHash<quint32, char32_t>& characters = m_faces[m_nLastFace].m_characters;
    if (!characters.contains(nGlyph))
        characters.insert(nGlyph, ch);
}

char32_t CDrawnGlyphs::CharacterFor(std::string_view fontName, char32_t code) const
{
    for (const CFace& face : m_faces) {
        if (face.m_strName != fontName)
            continue;
        const QList<quint32> glyphs = face.m_face.glyphIndexesForString(QString::fromUcs4(&code, 1));
        if (glyphs.size() != 1 || glyphs[0] == 0)
            continue;
        const auto found = face.m_characters.constFind(glyphs[0]);
        if (found != face.m_characters.constEnd())
            return *found;
    }
    return code;
}

CDrawnGlyphs* CDrawnGlyphs::Of(const QPaintDevice* device)
{
    return Records().value(device, nullptr);
}

CDrawnGlyphsScope::CDrawnGlyphsScope(const QPaintDevice& device, CDrawnGlyphs& glyphs) : m_device(device)
{
    Records().insert(&device, &glyphs);
}

CDrawnGlyphsScope::~CDrawnGlyphsScope()
{
    Records().remove(&m_device);
}
