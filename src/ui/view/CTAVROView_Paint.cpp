#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The platform's lines leave out their last point.
QLine WithoutLastPoint(const CPixelLine& line)
{
    const int dx = (line.m_ptTo.x > line.m_ptFrom.x) - (line.m_ptTo.x < line.m_ptFrom.x);
    const int dy = (line.m_ptTo.y > line.m_ptFrom.y) - (line.m_ptTo.y < line.m_ptFrom.y);
    return QLine(line.m_ptFrom.x, line.m_ptFrom.y, line.m_ptTo.x - dx, line.m_ptTo.y - dy);
}

} // namespace

void CTAVROView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    PaintPage(painter);
    PaintLabels(painter, event->rect());
    if (m_bDragging && !BandRect().isEmpty()) {
        // Dotted in its own coordinates, as the band is drawn wherever it lies.
        const QRect rcBand = BandRect();
        painter.translate(rcBand.topLeft());
        painter.setPen(m_penBand);
        painter.setBrush(Qt::NoBrush);
        DrawFrameRect(painter, QRect(QPoint(), rcBand.size()));
    }
}

// The page to scale on grey, with its shadow, the paper 8 mm around it, the
// dotted page outline, and the two ruler frames 1 mm and 5 mm outside it with
// the row and column numbers between them.
void CTAVROView::PaintPage(QPainter& painter)
{
    painter.save();
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
    painter.restore();
}

// Each label in its own coordinates, so that it looks the same wherever the
// page is scrolled to.
void CTAVROView::PaintLabels(QPainter& painter, const QRect& rcExposed)
{
    const CLabelLayout layout = Layout();
    const CLabelPictures::Stale stale =
        m_bDrawExactPictures ? CLabelPictures::Stale::Redraw : CLabelPictures::Stale::StandIn;
    m_bDrawExactPictures = false;
    const CPixelRect rcPaint = ToPixelRect(rcExposed);
    for (const CGridCell& cell : layout.CellsMeeting(rcPaint)) {
        const QRect rc = ToQRect(layout.LabelRect(cell.m_nRow, cell.m_nColumn));
        const LabelIndex nIndex = CSheetModel::IndexOf(cell.m_nRow, cell.m_nColumn);
        painter.translate(rc.topLeft());
        if (m_pictures.PaintCell(painter, nIndex, m_pModel->Label(nIndex), rc.size(),
                                 rcExposed.translated(-rc.topLeft()), m_dZoom, stale))
            m_standIns += rc;
        painter.translate(-rc.topLeft());
    }
    if (!m_standIns.isEmpty())
        ScheduleExactPictures();
}

void CTAVROView::ScheduleExactPictures()
{
    if (m_bExactPicturesScheduled)
        return;
    m_bExactPicturesScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_bExactPicturesScheduled = false;
        m_bDrawExactPictures = true;
        viewport()->update(m_standIns);
        m_standIns = QRegion();
    });
}
