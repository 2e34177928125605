#include "render/LabelRenderer.h"

#include "model/FontFace.h"
#include "model/Gbk.h"
#include "render/DrawnGlyphs.h"
#include "view/TextDirection.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// The ideographic em box of the Song face: ideographs fill the line from
// 0.88 em above the baseline to 0.12 em below it.
constexpr double kEmBoxAscent = 0.88;

// What a face looks like at 100 pixels per em, measured once per face and
// style on the face itself, never on a face that stands in for missing
// characters: which family it is, whether it draws Chinese, its cell height
// and average width per em.
struct CFaceProfile
{
    QString m_strFamily;
    bool m_bChinese = false;
    double m_dCellPerEm = 1.0;
    double m_dAveragePerEm = 0.5;
};

const CFaceProfile& ProfileOf(const QString& family, const QFont& style)
{
    static QHash<QString, CFaceProfile> profiles;
    const QString key = family + QLatin1Char('/') + QString::number(style.weight()) +
                        (style.italic() ? QStringLiteral("/i") : QString());
    auto it = profiles.find(key);
    if (it == profiles.end()) {
        QFont probe = style;
        probe.setFamilies({family});
        probe.setPixelSize(100);
        probe.setStretch(QFont::AnyStretch);
        // The face fontconfig picks for the family (a stand-in where it is
        // not installed), without the faces that fill in missing characters.
        const QRawFont face = QRawFont::fromFont(probe);
        CFaceProfile profile;
        profile.m_strFamily =
            QFontDatabase::hasFamily(family) || !face.isValid() ? family : face.familyName();
        if (face.isValid()) {
            profile.m_bChinese = face.supportsCharacter(QChar(0x4E2D));
            profile.m_dCellPerEm = std::max(0.01, (face.ascent() + face.descent()) / 100.0);
            profile.m_dAveragePerEm = std::max(0.01, face.averageCharWidth() / 100.0);
        }
        it = profiles.insert(key, profile);
    }
    return *it;
}

int ClampedStretch(double dStretch)
{
    return std::clamp(static_cast<int>(std::lround(dStretch)), 1, 4000);
}

// The text a line shows: an ampersand underlines the character after it, two
// show one.
QString ShownText(const QString& line)
{
    QString shown;
    shown.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('&') && i + 1 < line.size())
            ++i;
        shown += line[i];
    }
    return shown;
}

// What the text call makes of a line's ampersands: the places in the shown
// text of the characters after single ones, which it underlines, and whether
// the line ends in a lone one, which it drops where the shown text keeps it.
struct CMnemonics
{
    QList<qsizetype> m_places;
    bool m_bLoneAmpersandAtEnd = false;
};

CMnemonics MnemonicsOf(const QString& line)
{
    CMnemonics mnemonics;
    qsizetype nShown = 0;
    for (qsizetype i = 0; i < line.size(); ++i, ++nShown) {
        if (line[i] != QLatin1Char('&'))
            continue;
        if (i + 1 == line.size()) {
            mnemonics.m_bLoneAmpersandAtEnd = true;
            break;
        }
        ++i;
        if (line[i] != QLatin1Char('&'))
            mnemonics.m_places.append(nShown);
    }
    return mnemonics;
}

// Whether the text call draws the characters as they stand: it turns tabs
// and line breaks into spaces or new lines.
bool HasNoControls(const QString& shown)
{
    return std::none_of(shown.begin(), shown.end(), [](QChar ch) {
        return ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n') ||
               ch == QChar(0x9C) || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator;
    });
}

// How one line is drawn: the flags of its text call, how far its glyphs
// reach left and right of the advance the alignment places, and how much
// higher a face standing in for missing characters puts the line's baseline.
struct CMeasuredLine
{
    QString m_strText;
    int m_nFlags = 0;
    double m_dAdvance = 0.0;
    double m_dOverLeft = 0.0;
    double m_dOverRight = 0.0;
    double m_dExtraAscent = 0.0;
    bool m_bInk = false; // whether the line draws anything at all
    // The line's ink beyond the line box, above and below.
    double m_dInkAbove = 0.0;
    double m_dInkBelow = 0.0;
    // The shaped layout the line was measured with, drawn as it stands where
    // it is the text call's (with the underlines of its ampersands); none
    // where the line was measured unshaped.
    std::unique_ptr<QTextLayout> m_pLayout;
    QList<qsizetype> m_mnemonicPlaces;
};

// A line of text as the text call lays it out: its advance (trailing spaces
// included), the ascent of its first line (the largest of the faces it draws
// with) and its ink, relative to that line's baseline.
struct CLaidOutLine
{
    double m_dAdvance = 0.0;
    double m_dAscent = 0.0;
    QRectF m_ink;
    std::unique_ptr<QTextLayout> m_pLayout;
};

// The text on one line, as the text call lays it out.
void LayOutOnOneLine(QTextLayout& layout)
{
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setNumColumns(layout.text().size());
    layout.endLayout();
}

CLaidOutLine LayOutLine(const QString& text, const QFont& font, QPaintDevice* pDevice)
{
    CLaidOutLine result;
    result.m_pLayout = std::make_unique<QTextLayout>(text, font, pDevice);
    QTextLayout& layout = *result.m_pLayout;
    LayOutOnOneLine(layout);
    if (layout.lineCount() == 0)
        return result;
    for (int i = 0; i < layout.lineCount(); ++i)
        result.m_dAdvance = std::max(result.m_dAdvance, layout.lineAt(i).naturalTextWidth());
    result.m_dAscent = layout.lineAt(0).ascent();
    // Glyph by glyph: the ink the font metrics report for a whole string
    // mixes up the faces of a line.
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            result.m_ink |= run.rawFont().boundingRect(glyphs[i]).translated(positions[i]);
    }
    result.m_ink.translate(0, -result.m_dAscent);
    return result;
}

// Whether a line laid out without shaping is its characters side by side:
// no tabs or other controls, no surrogates or combining marks, only scripts
// that are drawn a character at a time.
bool IsLaidOutCharacterByCharacter(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch.isSurrogate() || ch.isMark())
            return false;
        switch (ch.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Bopomofo:
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

// A character as LayOutLine measures it alone: its advance, the ascent of the
// line it makes and its glyph's ink box about its pen position on the
// baseline.
struct CUnshapedCharacters
{
    struct CCharacter
    {
        // What it adds to a line's advance, and what a line it ends grows
        // by besides: the ink the layout counts past the advance (黄 at 70
        // px advances 69.98 px, its ink reaches 72.98).
        double m_dAdvance = 0.0;
        double m_dEndOverhang = 0.0;
        double m_dAscent = 0.0;
        QRectF m_glyph;
        bool m_bGlyph = false;
        // The face and glyph that draw it, for the text maps of a PDF.
        QRawFont m_face;
        quint32 m_nGlyph = 0;
    };
    int m_nDpi = 0; // the resolution the characters were measured at
    QHash<char16_t, CCharacter> m_characters;
};

namespace {

CUnshapedCharacters::CCharacter MeasureCharacter(QChar ch, const QFont& font, QPaintDevice* pDevice)
{
    QTextLayout layout(QString(ch), font, pDevice);
    LayOutOnOneLine(layout);
    CUnshapedCharacters::CCharacter character;
    if (layout.lineCount() == 0)
        return character;
    character.m_dAdvance = layout.lineAt(0).horizontalAdvance();
    character.m_dEndOverhang = layout.lineAt(0).naturalTextWidth() - character.m_dAdvance;
    character.m_dAscent = layout.lineAt(0).ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (!glyphs.isEmpty()) {
            character.m_glyph = run.rawFont().boundingRect(glyphs[0]);
            character.m_bGlyph = true;
            character.m_face = run.rawFont();
            character.m_nGlyph = glyphs[0];
        }
    }
    return character;
}

// LayOutLine of an unshaped line from its characters, each measured once
// per font: a job draws the same few characters thousands of times. The
// figures are those of the whole line's layout to the last bit: the
// advances add up as the layout adds them, each glyph's ink is placed as it
// places it.
CLaidOutLine LayOutUnshapedLine(const QString& text, const CLabelFont& font, QPaintDevice* pDevice)
{
    CUnshapedCharacters& cache = *font.m_unshaped;
    const int nDpi = pDevice ? pDevice->logicalDpiY() : 0;
    if (cache.m_nDpi != nDpi) {
        cache.m_characters.clear();
        cache.m_nDpi = nDpi;
    }
    CLaidOutLine result;
    std::vector<std::pair<double, const CUnshapedCharacters::CCharacter*>> placed;
    placed.reserve(static_cast<std::size_t>(text.size()));
    double dX = 0.0;
    for (const QChar ch : text) {
        auto it = cache.m_characters.constFind(ch.unicode());
        if (it == cache.m_characters.constEnd())
            it = cache.m_characters.insert(ch.unicode(), MeasureCharacter(ch, font.m_font, pDevice));
        placed.emplace_back(dX, &*it);
        dX += it->m_dAdvance;
        result.m_dAscent = std::max(result.m_dAscent, it->m_dAscent);
    }
    result.m_dAdvance = placed.empty() ? dX : dX + placed.back().second->m_dEndOverhang;
    for (const auto& [dPen, pCharacter] : placed)
        if (pCharacter->m_bGlyph)
            result.m_ink |= pCharacter->m_glyph.translated(QPointF(dPen, result.m_dAscent));
    result.m_ink.translate(0, -result.m_dAscent);
    return result;
}

// The glyph each character of the lines was drawn with, as measured: in a
// PDF every line is drawn unshaped, a glyph a character.
void RecordDrawnGlyphs(CDrawnGlyphs& drawn, const CLabelFont& font, const std::vector<CMeasuredLine>& lines)
{
    const QHash<char16_t, CUnshapedCharacters::CCharacter>& characters = font.m_unshaped->m_characters;
    for (const CMeasuredLine& line : lines)
        for (const QChar ch : ShownText(line.m_strText)) {
            const auto it = characters.constFind(ch.unicode());
            if (it != characters.constEnd() && it->m_bGlyph)
                drawn.Add(it->m_face, it->m_nGlyph, ch.unicode());
        }
}
} // namespace

namespace {

CLabelFont MakeLabelFontUncached(const CLogFont& logFont)
{
    CLabelFont result;
    result.m_unshaped = std::make_shared<CUnshapedCharacters>();
    QFont& font = result.m_font;
    font.setWeight(logFont.lfWeight > 0 ? static_cast<QFont::Weight>(std::clamp(logFont.lfWeight, 1, 1000))
                                        : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    font.setKerning(false);

    const CFaceProfile& profile = ProfileOf(
        QString::fromStdString(InstalledFamilyForFace(FaceWithoutVerticalMark(logFont.FaceName()))), font);
    // Chinese characters the face lacks are drawn with a Simplified Chinese
    // face, whatever the locale would pick.
    QStringList families{profile.m_strFamily};
    if (!profile.m_bChinese)
        families << QString::fromUtf8(kChineseFallbackFamily);
    font.setFamilies(families);
    result.m_bEmBox = profile.m_bChinese;
    const double dCellPerEm = profile.m_bChinese ? 1.0 : profile.m_dCellPerEm;
    const double dAveragePerEm = profile.m_bChinese ? 0.5 : profile.m_dAveragePerEm;

    // Height 0 asks for the face's default size. No label needs more than
    // kLargestEm pixels, even on a 1200 dpi page.
    constexpr int kLargestEm = 20000;
    int nEm = 0;
    if (logFont.lfHeight == 0)
        nEm = QFontInfo(font).pixelSize();
    else if (logFont.lfHeight < 0)
        nEm = -std::max(logFont.lfHeight, -kLargestEm);
    else if (logFont.lfHeight > 0)
        nEm = static_cast<int>(std::lround(std::min(logFont.lfHeight, kLargestEm) / dCellPerEm));
    nEm = std::clamp(nEm, 1, kLargestEm);
    font.setPixelSize(nEm);
    if (logFont.lfWidth != 0)
        font.setStretch(ClampedStretch(100.0 * std::abs(logFont.lfWidth) / (dAveragePerEm * nEm)));

    if (result.m_bEmBox) {
        result.m_metrics.m_nLineHeight = nEm;
        result.m_metrics.m_nCharWidth = std::max(1, (nEm + 1) / 2);
    } else {
        const QFontMetrics metrics(font);
        result.m_metrics.m_nLineHeight = metrics.height();
        result.m_metrics.m_nCharWidth = std::max(1, metrics.averageCharWidth());
    }
    return result;
}

} // namespace

CLabelFont MakeLabelFont(const CLogFont& logFont)
{
    // A sheet has few distinct fonts and a job draws thousands of labels with
    // them: each is made once per record and size.
    static QHash<QByteArray, CLabelFont> fonts;
    QByteArray key;
    key.reserve(64);
    for (const std::int32_t n : {logFont.lfHeight, logFont.lfWidth, logFont.lfWeight})
        key.append(reinterpret_cast<const char*>(&n), sizeof n);
    key.append(static_cast<char>(logFont.lfItalic));
    key.append(static_cast<char>(logFont.lfUnderline));
    key.append(static_cast<char>(logFont.lfStrikeOut));
    key.append(logFont.FaceName());
    auto it = fonts.constFind(key);
    if (it == fonts.constEnd()) {
        // Bounded: a zoom drag makes a new size at every step.
        if (fonts.size() >= 512)
            fonts.clear();
        it = fonts.insert(key, MakeLabelFontUncached(logFont));
    }
    return *it;
}

// What a label's format makes of any text on a device: its font, the flags
// of its text calls and where a line's baseline sits.
struct CLabelSetup
{
    CLabelTextStyle m_style;
    TextDirection m_direction = TextDirection::Horizontal;
    CLogFont m_logFont; // the record at the device's size
    CLabelFont m_font;
    int m_nFlags = 0;
    double m_dAscent = 0.0; // the font's own
    int m_nLineAscent = 0;
    int m_nLineDescent = 0;
    int m_nBaselineShift = 0;
};

namespace {

CLabelSetup SetUpLabel(QPaintDevice* pDevice, bool bUnshaped, const CLabelRecord& label,
                       const CDeviceInsets& insets, std::int32_t nFontHeight, bool bText)
{
    CLabelSetup setup;
    CLabelTextStyle& style = setup.m_style;
    style.m_nInsetLeft = insets.m_nLeft;
    style.m_nInsetTop = insets.m_nTop;
    style.m_nInsetRight = insets.m_nRight;
    style.m_nInsetBottom = insets.m_nBottom;
    style.m_nGap = insets.m_nLineGap;
    style.m_nHAlign = label.m_nHAlign;
    style.m_nVAlign = label.m_nVAlign;
    style.m_bAutoShrink = label.m_bAutoShrink != 0;
    setup.m_direction = DirectionOfFont(label.m_logFont);

    CLogFont& logFont = setup.m_logFont;
    logFont = label.m_logFont;
    logFont.lfWidth = 0;
    logFont.lfHeight = nFontHeight;
    // An empty text draws no line: only its box is painted, and no font is needed.
    CLabelFont& font = setup.m_font;
    font = bText ? MakeLabelFont(logFont) : CLabelFont{};
    // Qt 6.4's PDF text map loses every glyph the shaper picks for Latin
    // letters and digits in the CJK faces ("W123" extracts as "W"); drawn
    // unshaped they print the same and stay searchable.
    if (bUnshaped)
        font.m_font.setStyleStrategy(QFont::PreferNoShaping);

    int nHFlags = Qt::AlignLeft;
    if (label.m_nHAlign == 1)
        nHFlags = Qt::AlignHCenter;
    else if (label.m_nHAlign == 2)
        nHFlags = Qt::AlignRight;
    // The clip is ours: the line and the text box, not the shifted rectangle.
    // Trailing spaces take their room, as in the layout's byte count.
    setup.m_nFlags = nHFlags | Qt::AlignTop | Qt::TextDontClip | Qt::TextIncludeTrailingSpaces;

    const QFontMetricsF metrics(font.m_font, pDevice);
    setup.m_dAscent = metrics.ascent();
    // The installed Chinese faces are taller than the em box the layout gives
    // a line: the baseline moves to 0.88 em, and what their glyphs draw beyond
    // the box (Latin descenders, accents) is ink above or below the line.
    setup.m_nLineAscent = font.m_bEmBox
                              ? static_cast<int>(std::lround(kEmBoxAscent * font.m_font.pixelSize()))
                              : static_cast<int>(std::lround(metrics.ascent()));
    setup.m_nLineDescent = font.m_metrics.m_nLineHeight - setup.m_nLineAscent;
    setup.m_nBaselineShift = setup.m_nLineAscent - static_cast<int>(std::lround(metrics.ascent()));
    return setup;
}

// What a label's text takes on a device: its lines as measured and their
// layout in the label. Drawing and the fit check both start from it.
struct CLabelPlan
{
    CLogFont m_logFont; // the record at the device's size, shrunk where the text was
    std::vector<CMeasuredLine> m_lines;
    CMeasuredLines m_extent;
    // The layout in the text's own frame, which the frame turns onto the
    // label; the text box on the device.
    CLabelTextLayout m_layout;
    CReadingFrame m_frame;
    CPixelRect m_rcBox;
};

CLabelPlan PlanLabel(QPaintDevice* pDevice, const CLabelSetup& setup, const std::string& text,
                     const QRect& rc)
{
    CLabelPlan plan;
    const CLabelFont& font = setup.m_font;
    const bool bUnshaped = font.m_font.styleStrategy() & QFont::PreferNoShaping;
    // The lines are measured as they are drawn, so that shrink to fit and the
    // crop of an oversized line know the text's real extent.
    double dInkAbove = 0.0;
    double dInkBelow = 0.0;
    for (const std::string& line : SplitLabelLines(text)) {
        CMeasuredLine& m = plan.m_lines.emplace_back();
        m.m_strText = QString::fromStdString(GbkToUtf8Lossy(line));
        // An ampersand underlines the character after it; two show one. The
        // mnemonic layout is slow, so only lines with an ampersand take it.
        m.m_nFlags =
            m.m_strText.contains(QLatin1Char('&')) ? setup.m_nFlags | Qt::TextShowMnemonic : setup.m_nFlags;
        if (!m.m_strText.isEmpty()) {
            const QString shown = ShownText(m.m_strText);
            CLaidOutLine laidOut = bUnshaped && IsLaidOutCharacterByCharacter(shown)
                                       ? LayOutUnshapedLine(shown, font, pDevice)
                                       : LayOutLine(shown, font.m_font, pDevice);
            if (laidOut.m_pLayout && laidOut.m_pLayout->lineCount() == 1 && HasNoControls(shown)) {
                CMnemonics mnemonics = MnemonicsOf(m.m_strText);
                // The text call draws the font's own underline and strike-out
                // a piece between underlined characters at a time.
                const bool bPiecewise =
                    !mnemonics.m_places.isEmpty() && (font.m_font.underline() || font.m_font.strikeOut());
                if (!bPiecewise && !mnemonics.m_bLoneAmpersandAtEnd) {
                    m.m_pLayout = std::move(laidOut.m_pLayout);
                    m.m_mnemonicPlaces = std::move(mnemonics.m_places);
                }
            }
            m.m_dAdvance = laidOut.m_dAdvance;
            const QRectF& ink = laidOut.m_ink;
            m.m_bInk = !ink.isNull();
            m.m_dOverLeft = std::max(0.0, -ink.left());
            m.m_dOverRight = std::max(0.0, ink.right() - m.m_dAdvance);
            m.m_dExtraAscent = std::max(0.0, laidOut.m_dAscent - setup.m_dAscent);
            m.m_dInkAbove = std::max(0.0, -ink.top() - setup.m_nLineAscent);
            m.m_dInkBelow = std::max(0.0, ink.bottom() - setup.m_nLineDescent);
            dInkAbove = std::max(dInkAbove, m.m_dInkAbove);
            dInkBelow = std::max(dInkBelow, m.m_dInkBelow);
        }
        plan.m_extent.m_widths.push_back(
            static_cast<int>(std::ceil(m.m_dOverLeft + m.m_dAdvance + m.m_dOverRight)));
    }
    plan.m_extent.m_nInkAbove = static_cast<int>(std::ceil(dInkAbove));
    plan.m_extent.m_nInkBelow = static_cast<int>(std::ceil(dInkBelow));

    CDirectedLayout directed = LayoutDirectedText(text, ToPixelRect(rc), setup.m_style, font.m_metrics,
                                                  plan.m_extent, setup.m_direction);
    plan.m_layout = std::move(directed.m_layout);
    plan.m_frame = directed.m_frame;
    plan.m_rcBox = directed.m_rcBox;
    plan.m_logFont = setup.m_logFont;
    if (plan.m_layout.m_bDraw && plan.m_layout.m_bShrunk) {
        // The rendering reports the shrunk font's size; the text is drawn
        // with the measured font, scaled into the box.
        plan.m_logFont.lfWidth = plan.m_layout.m_nShrunkCharWidth;
        plan.m_logFont.lfHeight = plan.m_layout.m_nShrunkLineHeight;
    }
    return plan;
}

// Whether some of the text's ink falls outside the text box, where the
// drawing clips it (or, for a line wholly outside, leaves it out).
bool CutsText(const CLabelPlan& plan)
{
    const CLabelTextLayout& layout = plan.m_layout;
    if (!layout.m_bDraw)
        return std::any_of(plan.m_lines.begin(), plan.m_lines.end(),
                           [](const CMeasuredLine& line) { return !line.m_strText.isEmpty(); });
    const QRect rcText = ToQRect(layout.m_rcText);
    for (int i = 0; i < static_cast<int>(layout.m_lines.size()); ++i) {
        const CMeasuredLine& line = plan.m_lines[static_cast<std::size_t>(i)];
        if (!line.m_bInk)
            continue;
        const QRect rcLine = ToQRect(layout.LineRect(i));
        const int nInkWidth = static_cast<int>(
            std::ceil(plan.m_extent.m_widths[static_cast<std::size_t>(i)] * layout.m_dScaleX));
        const QRect rcInk(rcLine.left(),
                          rcLine.top() - static_cast<int>(std::ceil(line.m_dInkAbove * layout.m_dScaleY)),
                          std::max(nInkWidth, 1),
                          rcLine.height() + static_cast<int>(std::ceil(line.m_dInkAbove * layout.m_dScaleY)) +
                              static_cast<int>(std::ceil(line.m_dInkBelow * layout.m_dScaleY)));
        if (!rcText.contains(rcInk) || nInkWidth > rcLine.width())
            return true;
    }
    return false;
}

// A line of vertical writing, drawn in the column's frame (the text turned a
// quarter right): the characters that stand upright are turned back, each
// about the middle of its place in the line; the others lie along the
// column, a run at a time.
void DrawVerticalLine(QPainter& painter, const CLabelSetup& setup, const CMeasuredLine& line,
                      const QRectF& rcDraw)
{
    const QString shown = ShownText(line.m_strText);
    std::unique_ptr<QTextLayout> pLaidOut;
    if (!line.m_pLayout) {
        pLaidOut = std::make_unique<QTextLayout>(shown, setup.m_font.m_font, painter.device());
        LayOutOnOneLine(*pLaidOut);
    }
    const QTextLayout& laidOut = line.m_pLayout ? *line.m_pLayout : *pLaidOut;
    if (laidOut.lineCount() == 0)
        return;
    const QTextLine textLine = laidOut.lineAt(0);
    double dStart = rcDraw.left();
    if (line.m_nFlags & Qt::AlignHCenter)
        dStart += (rcDraw.width() - line.m_dAdvance) / 2;
    else if (line.m_nFlags & Qt::AlignRight)
        dStart = rcDraw.right() - line.m_dAdvance;
    const double dBaseline = rcDraw.top() + setup.m_dAscent + line.m_dExtraAscent;
    const double dLineHeight = setup.m_font.m_metrics.m_nLineHeight;
    const double dMiddle = rcDraw.top() + line.m_dExtraAscent - setup.m_nBaselineShift + dLineHeight / 2;
    const QFontMetricsF metrics(setup.m_font.m_font, painter.device());
    qsizetype nRun = 0;
    const auto drawRun = [&](qsizetype nEnd) {
        if (nEnd > nRun)
            painter.drawText(QPointF(dStart + textLine.cursorToX(static_cast<int>(nRun)), dBaseline),
                             shown.mid(nRun, nEnd - nRun));
    };
    for (qsizetype i = 0; i < shown.size();) {
        const char32_t ch = shown.at(i).isHighSurrogate() && i + 1 < shown.size()
                                ? QChar::surrogateToUcs4(shown.at(i), shown.at(i + 1))
                                : shown.at(i).unicode();
        const qsizetype nNext = i + (ch > 0xFFFF ? 2 : 1);
        if (IsUprightInVerticalText(ch)) {
            drawRun(i);
            const double dLeft = textLine.cursorToX(static_cast<int>(i));
            const double dRight = textLine.cursorToX(static_cast<int>(nNext));
            const QString character = shown.mid(i, nNext - i);
            painter.save();
            painter.translate(dStart + (dLeft + dRight) / 2, dMiddle);
            painter.rotate(-90);
            // Upright, the character's em stands where the line's height was.
            painter.drawText(
                QPointF(-metrics.horizontalAdvance(character) / 2, -dLineHeight / 2 + setup.m_nLineAscent),
                character);
            painter.restore();
            nRun = nNext;
        }
        i = nNext;
    }
    drawRun(shown.size());
}

// A line drawn from the layout it was measured with, placed in rcDraw as the
// text call places it: the line's advance aligned across, its top at the top.
// The characters after ampersands are underlined as the text call underlines
// them: from pixel to pixel of their advance, just below the baseline, with
// the face's own line thickness.
void DrawLaidOutLine(QPainter& painter, const CMeasuredLine& line, const QRectF& rcDraw)
{
    const QTextLine textLine = line.m_pLayout->lineAt(0);
    double dX = rcDraw.x();
    if (line.m_nFlags & Qt::AlignRight)
        dX += rcDraw.width() - textLine.horizontalAdvance();
    else if (line.m_nFlags & Qt::AlignHCenter)
        dX += (rcDraw.width() - textLine.horizontalAdvance()) / 2;
    textLine.draw(&painter, QPointF(dX, rcDraw.y()));
    const QPen oldPen = painter.pen();
    for (const qsizetype nPlace : line.m_mnemonicPlaces) {
        // In the metrics of the face that draws the character.
        const QList<QGlyphRun> runs = textLine.glyphRuns(static_cast<int>(nPlace), 1);
        if (runs.isEmpty())
            continue;
        const QRawFont face = runs.first().rawFont();
        const double dOffset = face.underlinePosition();
        double dBelow = std::ceil(dOffset) + 0.5;
        if (dOffset <= face.descent())
            dBelow = std::min(dBelow, face.descent() - 0.5);
        const double dY = rcDraw.y() + textLine.ascent() + dBelow;
        QPen pen = oldPen;
        pen.setWidthF(face.lineThickness());
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const double dLeft = std::floor(dX + textLine.cursorToX(static_cast<int>(nPlace)));
        const double dRight = std::floor(dX + textLine.cursorToX(static_cast<int>(nPlace + 1)));
        painter.drawLine(QLineF(dLeft, dY, dRight, dY));
    }
    painter.setPen(oldPen);
}

} // namespace

CRenderedFont DrawLabel(QPainter& painter, const CLabelRecord& label, const QRect& rc,
                        const CDeviceInsets& insets, int nMode, double dZoom)
{
    const std::int32_t nFontHeight =
        nMode == kScreenMode ? ScreenFontHeight(label.m_nFontHeight, dZoom)
                             : DeviceFontHeight(label.m_nFontHeight, painter.device()->logicalDpiY());
    const bool bUnshaped = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
    const CLabelSetup setup =
        SetUpLabel(painter.device(), bUnshaped, label, insets, nFontHeight, !label.m_strText.empty());
    const CLabelPlan plan = PlanLabel(painter.device(), setup, label.m_strText, rc);
    const CLabelTextLayout& layout = plan.m_layout;
    const CMeasuredLines& extent = plan.m_extent;
    const CRenderedFont rendered{plan.m_logFont.lfHeight, plan.m_logFont.lfWidth};
    if (!layout.m_bDraw)
        return rendered;
    // An empty text has no font made, and draws no glyph.
    CDrawnGlyphs* pDrawn =
        bUnshaped && setup.m_font.m_unshaped ? CDrawnGlyphs::Of(painter.device()) : nullptr;
    if (pDrawn)
        RecordDrawnGlyphs(*pDrawn, setup.m_font, plan.m_lines);

    // Paper is white already, and each clip or transform change makes a PDF
    // or printer write its graphics state again: the screen alone needs the
    // white ground, and a line is clipped only where its ink would leave its
    // box. Drawing a line inside a clip that covers all its ink is the same
    // as drawing it unclipped.
    const bool bPaper = nMode != kScreenMode;
    painter.save();
    if (!bPaper)
        painter.fillRect(ToQRect(plan.m_rcBox), Qt::white);
    // A turned text is drawn in its own frame.
    const CReadingFrame& frame = plan.m_frame;
    if (!frame.IsIdentity())
        painter.setWorldTransform(QTransform(frame.m_nXx, frame.m_nXy, frame.m_nYx, frame.m_nYy,
                                             frame.m_nOriginX, frame.m_nOriginY) *
                                  painter.worldTransform());
    const QRect rcText = ToQRect(layout.m_rcText);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(ColorFromColorRef(label.m_crText));
    painter.setFont(setup.m_font.m_font);

    const int nOverTop = static_cast<int>(std::ceil(extent.m_nInkAbove * layout.m_dScaleY));
    const int nOverBottom = static_cast<int>(std::ceil(extent.m_nInkBelow * layout.m_dScaleY));
    const bool bScaled = layout.m_dScaleX != 1.0 || layout.m_dScaleY != 1.0;
    const QTransform base = painter.worldTransform();
    bool bClipped = false;
    for (int i = 0; i < static_cast<int>(layout.m_lines.size()); ++i) {
        const CMeasuredLine& line = plan.m_lines[static_cast<std::size_t>(i)];
        const QRect rcLine = ToQRect(layout.LineRect(i));
        if ((rcLine & rcText).isEmpty() || line.m_strText.isEmpty())
            continue;
        const QRect rcInk = rcLine.adjusted(0, -nOverTop, 0, nOverBottom);
        const double dInkWidth = extent.m_widths[static_cast<std::size_t>(i)] * layout.m_dScaleX;
        // Once clipped, the later lines keep a clip of their own. A shrunk
        // text is always clipped, in the label's coordinates: its measured
        // widths are rounded before they are scaled.
        if (bScaled)
            painter.setWorldTransform(base);
        if (bScaled || bClipped || !rcText.contains(rcInk) || dInkWidth > rcLine.width()) {
            painter.setClipRect(rcInk & rcText);
            bClipped = true;
        }
        // The line in the measured font's pixels: its glyphs' overhang is
        // part of the width the alignment places.
        QRectF rcDraw(line.m_dOverLeft, setup.m_nBaselineShift - line.m_dExtraAscent,
                      rcLine.width() / layout.m_dScaleX - line.m_dOverLeft - line.m_dOverRight,
                      setup.m_font.m_metrics.m_nLineHeight);
        if (bScaled) {
            QTransform lineTransform = base;
            lineTransform.translate(rcLine.left(), rcLine.top());
            lineTransform.scale(layout.m_dScaleX, layout.m_dScaleY);
            painter.setWorldTransform(lineTransform);
        } else {
            rcDraw.translate(rcLine.topLeft());
        }
        if (setup.m_direction == TextDirection::Vertical)
            DrawVerticalLine(painter, setup, line, rcDraw);
        else if (line.m_pLayout)
            DrawLaidOutLine(painter, line, rcDraw);
        else
            painter.drawText(rcDraw, line.m_nFlags, line.m_strText);
    }
    painter.restore();
    return rendered;
}

CRenderedFont ScreenLabelFont(const CLabelRecord& label, const QRect& rc, const CDeviceInsets& insets,
                              double dZoom)
{
    const std::int32_t nFontHeight = ScreenFontHeight(label.m_nFontHeight, dZoom);
    // Only a text shrunk to fit changes the size, and only measuring tells.
    if (!label.m_bAutoShrink || label.m_strText.empty())
        return {nFontHeight, 0};
    const CLabelSetup setup = SetUpLabel(nullptr, false, label, insets, nFontHeight, true);
    const CLabelPlan plan = PlanLabel(nullptr, setup, label.m_strText, rc);
    return {plan.m_logFont.lfHeight, plan.m_logFont.lfWidth};
}

CLabelFit::CLabelFit(QPaintDevice& device, const CLabelRecord& format, const QRect& rc,
                     const CDeviceInsets& insets)
    : m_device(device), m_rc(rc),
      m_setup(std::make_unique<CLabelSetup>(SetUpLabel(
          &device, true, format, insets, DeviceFontHeight(format.m_nFontHeight, device.logicalDpiY()), true)))
{}

CLabelFit::~CLabelFit() = default;

bool CLabelFit::Cuts(const std::string& text) const
{
    return CutsText(PlanLabel(&m_device, *m_setup, text, m_rc));
}

QColor ColorFromColorRef(std::uint32_t crColor)
{
    return QColor(crColor & 0xFF, (crColor >> 8) & 0xFF, (crColor >> 16) & 0xFF);
}

QPen CosmeticPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

QPen DottedPen(const QColor& color)
{
    QPen pen = CosmeticPen(color);
    pen.setDashPattern({3, 3});
    return pen;
}

namespace {

// Whether a pixel of the painter is a pixel of its device: fills of one
// pixel then cover what a one-pixel cosmetic pen draws, and an image is
// copied pixel for pixel.
bool IsTranslatedOnly(const QPainter& painter)
{
    return painter.deviceTransform().type() <= QTransform::TxTranslate;
}

// Whether what is drawn stays at the painter's pixels: a picture (the print
// preview's pages) is replayed at whatever scale its viewer shows, where a
// fill one pixel wide rounds away and only a cosmetic pen keeps a line one
// device pixel wide.
bool StaysAtItsPixels(const QPainter& painter)
{
    return IsTranslatedOnly(painter) && painter.paintEngine()->type() != QPaintEngine::Picture;
}

// A dotted edge as a texture: 3 pixels of colour, 3 of the background (white
// in opaque mode), along x or along y.
QImage DottedTexture(const QColor& color, bool bOpaque, bool bVertical, int nLength)
{
    QImage texture(bVertical ? 1 : nLength, bVertical ? nLength : 1, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < nLength; ++i)
        texture.setPixel(bVertical ? 0 : i, bVertical ? i : 0,
                         i % 6 < 3 ? color.rgba() : (bOpaque ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0)));
    return texture;
}

quint64 DottedKey(const QColor& color, bool bOpaque, bool bVertical)
{
    return (quint64(color.rgba()) << 2) | (bOpaque ? 2u : 0u) | (bVertical ? 1u : 0u);
}

const QBrush& DottedBrush(const QColor& color, bool bOpaque, bool bVertical)
{
    static QHash<quint64, QBrush> brushes;
    const quint64 key = DottedKey(color, bOpaque, bVertical);
    auto it = brushes.find(key);
    if (it == brushes.end())
        it = brushes.insert(key, QBrush(DottedTexture(color, bOpaque, bVertical, 6)));
    return *it;
}

// The same dots as a strip long enough for most edges, a period more than
// that so that an edge can start it at any phase.
constexpr int kDottedStripLength = 2048;

const QImage& DottedStrip(const QColor& color, bool bOpaque, bool bVertical)
{
    static QHash<quint64, QImage> strips;
    const quint64 key = DottedKey(color, bOpaque, bVertical);
    auto it = strips.find(key);
    if (it == strips.end())
        it = strips.insert(key, DottedTexture(color, bOpaque, bVertical, kDottedStripLength + 6));
    return *it;
}

// A dotted edge of one pixel across, filled with the texture anchored at the
// painter's origin; where nothing but a translation lies between the painter
// and its device, the same pixels are copied from a strip at the texture's
// phase, which is several times quicker than a textured fill. (Frames are
// drawn in opaque colours; a translucent one keeps the textured fill.)
void FillDottedEdge(QPainter& painter, const QRect& rcEdge, const QColor& color, bool bOpaque, bool bVertical)
{
    if (!IsTranslatedOnly(painter) || painter.brushOrigin() != QPointF() || color.alpha() != 255) {
        painter.fillRect(rcEdge, DottedBrush(color, bOpaque, bVertical));
        return;
    }
    const QImage& strip = DottedStrip(color, bOpaque, bVertical);
    const int nStart = bVertical ? rcEdge.top() : rcEdge.left();
    const int nLength = bVertical ? rcEdge.height() : rcEdge.width();
    for (int nDone = 0; nDone < nLength; nDone += kDottedStripLength) {
        const int nPiece = std::min(kDottedStripLength, nLength - nDone);
        const int nPhase = ((nStart + nDone) % 6 + 6) % 6;
        const QRect source = bVertical ? QRect(0, nPhase, 1, nPiece) : QRect(nPhase, 0, nPiece, 1);
        const QPoint at =
            bVertical ? QPoint(rcEdge.left(), nStart + nDone) : QPoint(nStart + nDone, rcEdge.top());
        painter.drawImage(at, strip, source);
    }
}

} // namespace

void DrawFrameRect(QPainter& painter, const QRect& rc)
{
    if (rc.width() < 1 || rc.height() < 1)
        return;
    const QPen pen = painter.pen();
    const bool bThinSolid = pen.style() == Qt::SolidLine && pen.widthF() <= 1.0 &&
                            !painter.testRenderHint(QPainter::Antialiasing) && StaysAtItsPixels(painter);
    if (bThinSolid) {
        // The outline's four edges as fills: the same pixels as a one-pixel
        // pen draws, without stroking (a selected cell has one).
        if (painter.brush().style() != Qt::NoBrush)
            painter.fillRect(rc, painter.brush());
        const QColor colour = pen.color();
        painter.fillRect(QRect(rc.left(), rc.top(), rc.width(), 1), colour);
        painter.fillRect(QRect(rc.left(), rc.bottom(), rc.width(), 1), colour);
        painter.fillRect(QRect(rc.left(), rc.top(), 1, rc.height()), colour);
        painter.fillRect(QRect(rc.right(), rc.top(), 1, rc.height()), colour);
        return;
    }
    if (pen.style() != Qt::CustomDashLine) {
        painter.drawRect(rc.adjusted(0, 0, -1, -1));
        return;
    }
    // Dotted frames are many (two a cell): four textured edges are much
    // faster than a dashed outline and look the same.
    if (painter.brush().style() != Qt::NoBrush)
        painter.fillRect(rc, painter.brush());
    const bool bOpaque = painter.backgroundMode() == Qt::OpaqueMode;
    const QColor colour = pen.color();
    FillDottedEdge(painter, QRect(rc.left(), rc.top(), rc.width(), 1), colour, bOpaque, false);
    FillDottedEdge(painter, QRect(rc.left(), rc.bottom(), rc.width(), 1), colour, bOpaque, false);
    FillDottedEdge(painter, QRect(rc.left(), rc.top(), 1, rc.height()), colour, bOpaque, true);
    FillDottedEdge(painter, QRect(rc.right(), rc.top(), 1, rc.height()), colour, bOpaque, true);
}

QRect ToQRect(const CPixelRect& rc)
{
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

CPixelRect ToPixelRect(const QRect& rc)
{
    return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}
