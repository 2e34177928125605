#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"
#include "text/LabelGrid.h"
#include "view/CLabelWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The band's outline, dotted in RGB(192,0,192), drawn over the cells.
class CBandWnd : public QWidget
{
public:
    explicit CBandWnd(QWidget* parent) : QWidget(parent), m_pen(DottedPen(QColor(kBandColour)))
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(m_pen);
        painter.setBrush(Qt::NoBrush);
        DrawFrameRect(painter, rect());
    }

private:
    QPen m_pen;
};

CPixelPoint PointOf(const QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    return {pt.x(), pt.y()};
}

} // namespace

template <typename Fn>
void CTAVROView::ForEachGridLabel(Fn fn) const
{
    for (int r = 0; r < Format().m_nRows && r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < Format().m_nColumns && c < CPageFormat::kMaxColumns; ++c)
            if (CLabelWnd* pLabel = m_pLabels[r][c])
                fn(*pLabel);
}

void CTAVROView::InitSelection()
{
    m_pBand = new CBandWnd(viewport());
}

void CTAVROView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        m_pModel->Select(SelectionRule::None);
    QAbstractScrollArea::keyPressEvent(event);
}

// Presses on a label are the label's own; these come from the page around
// and between them.
void CTAVROView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    // A press while a band is under way is swallowed.
    event->accept();
    if (m_bDragging)
        return;
    m_ptDragStart = m_ptDragEnd = PointOf(event);
    m_bDragging = true;
}

void CTAVROView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bDragging) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    m_ptDragEnd = PointOf(event);
    m_pBand->setGeometry(ToQRect(BandRect(m_ptDragStart, m_ptDragEnd)));
    m_pBand->setVisible(!m_pBand->geometry().isEmpty());
    m_pBand->raise();
    event->accept();
}

void CTAVROView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool bEndsBand = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (!m_bDragging || !bEndsBand) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_pBand->hide();
    m_bDragging = false;
    const CPixelRect rcBand = BandRect(m_ptDragStart, PointOf(event));
    const bool bSelect = event->button() == Qt::LeftButton;
    std::vector<LabelIndex> touched;
    std::vector<CLabelRecord> after;
    ForEachGridLabel([&](CLabelWnd& label) {
        if (!BandTouches(rcBand, ToPixelRect(label.geometry())) || label.IsSelected() == bSelect)
            return;
        touched.push_back(label.Index());
        after.push_back(label.Record());
        after.back().SetSelected(bSelect);
    });
    m_pModel->ApplyEdit(m_pModel->MakeEdit(touched, after));
    event->accept();
}
