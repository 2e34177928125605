#include "view/ViewLook.h"

#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"
#include "view/ViewGeometry.h"

#include <QPainter>

namespace {

// The platform's lines leave out their last point.
QLine WithoutLastPoint(const CPixelLine& line)
{
    const int dx = (line.m_ptTo.x > line.m_ptFrom.x) - (line.m_ptTo.x < line.m_ptFrom.x);
    const int dy = (line.m_ptTo.y > line.m_ptFrom.y) - (line.m_ptTo.y < line.m_ptFrom.y);
    return QLine(line.m_ptFrom.x, line.m_ptFrom.y, line.m_ptTo.x - dx, line.m_ptTo.y - dy);
}

} // namespace

void DrawCellFrames(QPainter& painter, const QRect& rc, int nInset, bool bSelected)
{
    static const QPen penNormal = DottedPen(QColor(kFrameColour));
    static const QPen penSelectedOuter = DottedPen(QColor(kSelectedOuterColour));
    static const QPen penSelectedInner = CosmeticPen(QColor(kSelectedInnerColour));
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(bSelected ? penSelectedOuter : penNormal);
    DrawFrameRect(painter, rc);
    painter.setPen(bSelected ? penSelectedInner : penNormal);
    DrawFrameRect(painter, rc.adjusted(nInset, nInset, -nInset, -nInset));
    painter.restore();
}

// The page to scale on grey, with its shadow, the paper 8 mm around it, the
// dotted page outline, and the two ruler frames 1 mm and 5 mm outside it with
// the row and column numbers between them.
void DrawPage(QPainter& painter, const CPageDrawing& d, double dZoom, int nDpiY)
{
    static const QPen penBackground = CosmeticPen(QColor(kPageBackgroundColour));
    static const QPen penRuler = CosmeticPen(QColor(kRulerColour));
    painter.setPen(penBackground);
    painter.setBrush(QColor(128, 128, 128));
    DrawFrameRect(painter, QRect(0, 0, d.m_nWidth, d.m_nHeight));

    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    DrawFrameRect(painter, ToQRect(d.m_rcShadow));
    painter.setBrush(Qt::white);
    DrawFrameRect(painter, ToQRect(d.m_rcPaper));

    painter.setPen(DottedPen(QColor(kFrameColour)));
    DrawFrameRect(painter, ToQRect(d.m_rcPage));

    painter.setPen(penRuler);
    painter.setBrush(Qt::NoBrush);
    DrawFrameRect(painter, ToQRect(d.m_rcRulerInner));
    DrawFrameRect(painter, ToQRect(d.m_rcRulerOuter));

    CLogFont rulerFont;
    rulerFont.SetFaceName(kSongFaceGbk);
    rulerFont.lfHeight = RulerFontHeight(dZoom, nDpiY);
    rulerFont.lfWeight = 400;
    rulerFont.lfCharSet = 1;
    painter.setFont(MakeLabelFont(rulerFont).m_font);
    for (const auto* pNumbers : {&d.m_rowNumbers, &d.m_columnNumbers})
        for (const CRulerNumber& number : *pNumbers)
            painter.drawText(ToQRect(number.m_rcBox), Qt::AlignCenter | Qt::TextSingleLine,
                             QString::number(number.m_nNumber));
    for (const auto* pTicks : {&d.m_rowTicks, &d.m_columnTicks})
        for (const CPixelLine& tick : *pTicks)
            painter.drawLine(WithoutLastPoint(tick));
}
