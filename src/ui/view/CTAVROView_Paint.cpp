#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "render/LabelRenderer.h"
#include "view/ViewLook.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

void CTAVROView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    PaintPage(painter);
    PaintLabels(painter, event->rect());
    const QRect rcBand = DragBand();
    if (m_bDragging && !rcBand.isEmpty()) {
        // Dotted in its own coordinates, as the band is drawn wherever it lies.
        painter.translate(rcBand.topLeft());
        painter.setPen(m_penBand);
        painter.setBrush(Qt::NoBrush);
        DrawFrameRect(painter, QRect(QPoint(), rcBand.size()));
    }
}

void CTAVROView::PaintPage(QPainter& painter)
{
    painter.save();
    const CPixelPoint scroll = ScrollPosition();
    painter.translate(-scroll.x, -scroll.y);
    DrawPage(painter, ComputePageDrawing(Format(), CurrentZoom(), viewport()->width(), viewport()->height()),
             m_dZoom, viewport()->logicalDpiY());
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
