#include "view/LabelRenderer.h"

#include "model/FontFace.h"
#include "model/Gbk.h"

#include <QFontMetrics>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The ideographic em box of the Song face: ideographs fill the line from
// 0.88 em above the baseline to 0.12 em below it.
constexpr double kEmBoxAscent = 0.88;

// What a face looks like at 100 pixels per em, measured once per face and
// style: whether it draws Chinese, its cell height and average width per em.
struct CFaceProfile
{
    bool m_bChinese = false;
    double m_dCellPerEm = 1.0;
    double m_dAveragePerEm = 0.5;
};

const CFaceProfile& ProfileOf(const QFont& font)
{
    static QHash<QString, CFaceProfile> profiles;
    const QString key = font.family() + QLatin1Char('/') + QString::number(font.weight()) + (font.italic() ? QStringLiteral("/i") : QString());
    auto it = profiles.find(key);
    if (it == profiles.end()) {
        QFont probe = font;
        probe.setPixelSize(100);
        probe.setStretch(QFont::AnyStretch);
        const QFontMetricsF metrics(probe);
        CFaceProfile profile;
        profile.m_bChinese = metrics.inFont(QChar(0x4E2D));
        profile.m_dCellPerEm = std::max(0.01, metrics.height() / 100.0);
        profile.m_dAveragePerEm = std::max(0.01, metrics.averageCharWidth() / 100.0);
        it = profiles.insert(key, profile);
    }
    return *it;
}

int ClampedStretch(double dStretch)
{
    return std::clamp(static_cast<int>(std::lround(dStretch)), 1, 4000);
}

} // namespace

CLabelFont MakeLabelFont(const CLogFont& logFont)
{
    CLabelFont result;
    QFont& font = result.m_font;
    font.setFamily(QString::fromStdString(InstalledFamilyForFace(logFont.FaceName())));
    font.setWeight(logFont.lfWeight > 0 ? static_cast<QFont::Weight>(std::clamp(logFont.lfWeight, 1, 1000)) : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    font.setKerning(false);

    const CFaceProfile& profile = ProfileOf(font);
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

CRenderedFont DrawLabel(QPainter& painter, const CLabelRecord& label, const QRect& rc, int nInsetLeft,
                        int nInsetTop, int nInsetRight, int nInsetBottom, int nGap, int nMode, double dZoom)
{
    CLabelTextStyle style;
    style.m_nInsetLeft = nInsetLeft;
    style.m_nInsetTop = nInsetTop;
    style.m_nInsetRight = nInsetRight;
    style.m_nInsetBottom = nInsetBottom;
    style.m_nGap = nGap;
    style.m_nHAlign = label.m_nHAlign;
    style.m_nVAlign = label.m_nVAlign;
    style.m_bAutoShrink = label.m_bAutoShrink != 0;

    CLogFont logFont = label.m_logFont;
    logFont.lfWidth = 0;
    logFont.lfHeight = nMode == kScreenMode ? ScreenFontHeight(label.m_nFontHeight, dZoom)
                                            : DeviceFontHeight(label.m_nFontHeight, painter.device()->logicalDpiY());
    // An empty text draws no line: only its box is painted, and no font is needed.
    const bool bText = !label.m_strText.empty();
    CLabelFont font = bText ? MakeLabelFont(logFont) : CLabelFont{};
    const CLabelTextLayout layout = LayoutLabelText(label.m_strText, ToPixelRect(rc), style, font.m_metrics);
    if (layout.m_bDraw && layout.m_bShrunk) {
        // Made again with the shrunk sizes, and not measured again.
        logFont.lfWidth = layout.m_nShrunkCharWidth;
        logFont.lfHeight = layout.m_nShrunkLineHeight;
        font = MakeLabelFont(logFont);
    }
    const CRenderedFont rendered{logFont.lfHeight, logFont.lfWidth};
    if (!layout.m_bDraw)
        return rendered;

    const QRect rcText = ToQRect(layout.m_rcText);
    painter.save();
    painter.fillRect(rcText, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(ColorFromColorRef(label.m_crText));
    // Qt 6.4's PDF text map loses every glyph the shaper picks for Latin
    // letters and digits in the CJK faces ("W123" extracts as "W"); drawn
    // unshaped they print the same and stay searchable.
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf) {
        QFont unshaped = font.m_font;
        unshaped.setStyleStrategy(QFont::PreferNoShaping);
        painter.setFont(unshaped);
    } else {
        painter.setFont(font.m_font);
    }

    int nHFlags = Qt::AlignLeft;
    if (label.m_nHAlign == 1)
        nHFlags = Qt::AlignHCenter;
    else if (label.m_nHAlign == 2)
        nHFlags = Qt::AlignRight;
    // The clip is ours: the line and the text box, not the shifted rectangle.
    // Trailing spaces take their room, as in the layout's byte count.
    const int nFlags = nHFlags | Qt::AlignTop | Qt::TextDontClip | Qt::TextIncludeTrailingSpaces;
    int nBaselineShift = 0;
    // The installed Chinese faces draw some glyphs beyond the em box the
    // layout gives a line (Latin descenders, accents): the clip of a line
    // reaches that far, always inside the text box, so they are not cut.
    int nOverTop = 0;
    int nOverBottom = 0;
    if (font.m_bEmBox) {
        const QFontMetrics metrics(font.m_font);
        const int nEmAscent = static_cast<int>(std::lround(kEmBoxAscent * font.m_font.pixelSize()));
        nBaselineShift = nEmAscent - metrics.ascent();
        nOverTop = std::max(0, metrics.ascent() - nEmAscent);
        nOverBottom = std::max(0, metrics.descent() - (font.m_font.pixelSize() - nEmAscent));
    }

    for (int i = 0; i < static_cast<int>(layout.m_lines.size()); ++i) {
        const QRect rcLine = ToQRect(layout.LineRect(i));
        if ((rcLine & rcText).isEmpty() || layout.m_lines[i].empty())
            continue;
        const QRect rcVisible = rcLine.adjusted(0, -nOverTop, 0, nOverBottom) & rcText;
        painter.setClipRect(rcVisible);
        // An ampersand underlines the character after it; two show one. The
        // mnemonic layout is slow, so only lines with an ampersand take it.
        const bool bAmpersand = layout.m_lines[i].find('&') != std::string::npos;
        painter.drawText(rcLine.translated(0, nBaselineShift), bAmpersand ? nFlags | Qt::TextShowMnemonic : nFlags,
                         QString::fromStdString(GbkToUtf8Lossy(layout.m_lines[i])));
    }
    painter.restore();
    return rendered;
}

QColor ColorFromColorRef(std::uint32_t crColor)
{
    return QColor(crColor & 0xFF, (crColor >> 8) & 0xFF, (crColor >> 16) & 0xFF);
}

QPen DottedPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setCosmetic(true);
    pen.setDashPattern({3, 3});
    return pen;
}

namespace {

// A dotted edge as a texture: 3 pixels of colour, 3 of the background (white
// in opaque mode), along x or along y.
const QBrush& DottedBrush(const QColor& color, bool bOpaque, bool bVertical)
{
    static QHash<quint64, QBrush> brushes;
    const quint64 key = (quint64(color.rgba()) << 2) | (bOpaque ? 2u : 0u) | (bVertical ? 1u : 0u);
    auto it = brushes.find(key);
    if (it == brushes.end()) {
        QImage texture(bVertical ? 1 : 6, bVertical ? 6 : 1, QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < 6; ++i)
            texture.setPixel(bVertical ? 0 : i, bVertical ? i : 0,
                             i < 3 ? color.rgba() : (bOpaque ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0)));
        it = brushes.insert(key, QBrush(texture));
    }
    return *it;
}

} // namespace

void DrawFrameRect(QPainter& painter, const QRect& rc)
{
    if (rc.width() < 1 || rc.height() < 1)
        return;
    const QPen pen = painter.pen();
    if (pen.style() != Qt::CustomDashLine) {
        painter.drawRect(rc.adjusted(0, 0, -1, -1));
        return;
    }
    // Dotted frames are many (two a cell): four textured edges are much
    // faster than a dashed outline and look the same.
    if (painter.brush().style() != Qt::NoBrush)
        painter.fillRect(rc, painter.brush());
    const bool bOpaque = painter.backgroundMode() == Qt::OpaqueMode;
    const QBrush& across = DottedBrush(pen.color(), bOpaque, false);
    const QBrush& down = DottedBrush(pen.color(), bOpaque, true);
    painter.fillRect(QRect(rc.left(), rc.top(), rc.width(), 1), across);
    painter.fillRect(QRect(rc.left(), rc.bottom(), rc.width(), 1), across);
    painter.fillRect(QRect(rc.left(), rc.top(), 1, rc.height()), down);
    painter.fillRect(QRect(rc.right(), rc.top(), 1, rc.height()), down);
}

QRect ToQRect(const CPixelRect& rc)
{
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

CPixelRect ToPixelRect(const QRect& rc)
{
    return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}
