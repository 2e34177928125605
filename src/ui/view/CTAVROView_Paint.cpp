#include "view/CTAVROView.h"

#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"

#include <QPaintEvent>
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

// The page to scale on grey, with its shadow, the paper 8 mm around it, the
// dotted page outline, and the two ruler frames 1 mm and 5 mm outside it with
// the row and column numbers between them. The cells paint themselves.
void CTAVROView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const CPixelPoint scroll = ScrollPosition();
    painter.translate(-scroll.x, -scroll.y);
    const CPageDrawing d =
        ComputePageDrawing(Format(), CurrentZoom(), viewport()->width(), viewport()->height());

    painter.setPen(m_penBackground);
    painter.setBrush(QColor(128, 128, 128));
    DrawFrameRect(painter, QRect(0, 0, d.m_nWidth, d.m_nHeight));

    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    DrawFrameRect(painter, ToQRect(d.m_rcShadow));
    painter.setBrush(Qt::white);
    DrawFrameRect(painter, ToQRect(d.m_rcPaper));

    painter.setPen(DottedPen(QColor(kFrameColour)));
    DrawFrameRect(painter, ToQRect(d.m_rcPage));

    painter.setPen(m_penRuler);
    painter.setBrush(Qt::NoBrush);
    DrawFrameRect(painter, ToQRect(d.m_rcRulerInner));
    DrawFrameRect(painter, ToQRect(d.m_rcRulerOuter));

    CLogFont rulerFont;
    rulerFont.SetFaceName(kSongFaceGbk);
    rulerFont.lfHeight = RulerFontHeight(m_dZoom, viewport()->logicalDpiY());
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
