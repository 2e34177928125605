#include "view/LabelRenderer.h"

#include "model/Gbk.h"

#include <QFontMetrics>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The ideographic em box of the Song face: ideographs fill the line from
// 0.88 em above the baseline to 0.12 em below it.
constexpr double kEmBoxAscent = 0.88;

// Faces of the labels' code page that are not installed here, and the face
// that draws them.
QString SubstituteFace(const QString& face)
{
    static const QString kSong = QStringLiteral("Noto Serif CJK SC");
    if (face == QStringLiteral("宋体") || face == QStringLiteral("新宋体") || face.compare(QStringLiteral("SimSun"), Qt::CaseInsensitive) == 0 || face.compare(QStringLiteral("NSimSun"), Qt::CaseInsensitive) == 0)
        return kSong;
    return face;
}

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
    font.setFamily(SubstituteFace(QString::fromStdString(GbkToUtf8Lossy(logFont.FaceName()))));
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
    int nEm = QFontInfo(font).pixelSize();
    if (logFont.lfHeight < 0)
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

void DrawLabel(QPainter& painter, CLabelRecord& label, const QRect& rc, int nInsetLeft, int nInsetTop,
               int nInsetRight, int nInsetBottom, int nGap, int nMode, double dZoom)
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

    label.m_logFont.lfWidth = 0;
    label.m_logFont.lfHeight = nMode == kScreenMode ? ScreenFontHeight(label.m_nFontHeight, dZoom)
                                                    : DeviceFontHeight(label.m_nFontHeight, painter.device()->logicalDpiY());
    CLabelFont font = MakeLabelFont(label.m_logFont);
    const CLabelTextLayout layout = LayoutLabelText(label.m_strText, ToPixelRect(rc), style, font.m_metrics);
    if (!layout.m_bDraw)
        return;
    if (layout.m_bShrunk) {
        // Made again with the shrunk sizes, and not measured again.
        label.m_logFont.lfWidth = layout.m_nShrunkCharWidth;
        label.m_logFont.lfHeight = layout.m_nShrunkLineHeight;
        font = MakeLabelFont(label.m_logFont);
    }

    const QRect rcText = ToQRect(layout.m_rcText);
    painter.save();
    painter.fillRect(rcText, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(ColorFromColorRef(label.m_crText));
    painter.setFont(font.m_font);

    int nHFlags = Qt::AlignLeft;
    if (label.m_nHAlign == 1)
        nHFlags = Qt::AlignHCenter;
    else if (label.m_nHAlign == 2)
        nHFlags = Qt::AlignRight;
    // An ampersand underlines the character after it; two show one.
    const int nFlags = nHFlags | Qt::AlignTop | Qt::TextShowMnemonic;
    const int nBaselineShift = font.m_bEmBox ? static_cast<int>(std::lround(kEmBoxAscent * font.m_font.pixelSize())) - QFontMetrics(font.m_font).ascent() : 0;

    for (int i = 0; i < static_cast<int>(layout.m_lines.size()); ++i) {
        const QRect rcLine = ToQRect(layout.LineRect(i));
        const QRect rcVisible = rcLine & rcText;
        if (rcVisible.isEmpty() || layout.m_lines[i].empty())
            continue;
        painter.setClipRect(rcVisible);
        painter.drawText(rcLine.translated(0, nBaselineShift), nFlags,
                         QString::fromStdString(GbkToUtf8Lossy(layout.m_lines[i])));
    }
    painter.restore();
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

void DrawFrameRect(QPainter& painter, const QRect& rc)
{
    if (rc.width() < 1 || rc.height() < 1)
        return;
    painter.drawRect(rc.adjusted(0, 0, -1, -1));
}

QRect ToQRect(const CPixelRect& rc)
{
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

CPixelRect ToPixelRect(const QRect& rc)
{
    return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}
