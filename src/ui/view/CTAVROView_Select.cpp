#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "render/LabelRenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

CPixelPoint PointOf(const QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    return {pt.x(), pt.y()};
}

bool IsSelectingButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}

} // namespace

QRect CTAVROView::DragBand() const
{
    return ToQRect(BandRect(m_ptDragStart, m_ptDragEnd));
}

void CTAVROView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        m_pModel->Select(SelectionRule::None);
    QAbstractScrollArea::keyPressEvent(event);
}

// A press on a label selects (left) or deselects (right) it; a press on the
// page around and between the labels starts a band. A press while a band is
// under way is swallowed.
void CTAVROView::mousePressEvent(QMouseEvent* event)
{
    if (m_bDragging) {
        event->accept();
        return;
    }
    if (const std::optional<CGridCell> cell = LabelAt(event->position().toPoint())) {
        if (IsSelectingButton(event->button()))
            m_pModel->SetSelected(CSheetModel::IndexOf(cell->m_nRow, cell->m_nColumn),
                                  event->button() == Qt::LeftButton);
        event->accept();
        return;
    }
    if (!IsSelectingButton(event->button())) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    m_ptDragStart = m_ptDragEnd = PointOf(event);
    m_bDragging = true;
}

// The first click of a double click has already selected the label.
void CTAVROView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const std::optional<CGridCell> cell = m_bDragging ? std::nullopt : LabelAt(event->position().toPoint());
    if (!cell) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        Q_EMIT labelDoubleClicked(CSheetModel::IndexOf(cell->m_nRow, cell->m_nColumn));
    event->accept();
}

void CTAVROView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bDragging) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QRect rcBefore = DragBand();
    m_ptDragEnd = PointOf(event);
    // The outline only: a frame's width on each side of each edge.
    QRegion changed;
    for (const QRect& rc : {rcBefore, DragBand()})
        if (!rc.isEmpty())
            changed += QRegion(rc.adjusted(0, 0, 1, 1)) - QRegion(rc.adjusted(1, 1, -1, -1));
    viewport()->update(changed);
    event->accept();
}

void CTAVROView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bDragging || !IsSelectingButton(event->button())) {
        // A release after a press on a label is the label's own.
        event->accept();
        return;
    }
    const QRect rcBefore = DragBand();
    m_bDragging = false;
    viewport()->update(rcBefore);
    const CPixelRect rcBand = BandRect(m_ptDragStart, PointOf(event));
    const bool bSelect = event->button() == Qt::LeftButton;
    const CLabelLayout layout = Layout();
    std::vector<LabelIndex> touched;
    std::vector<CLabelRecord> after;
    for (const LabelIndex nIndex : m_pModel->GridIndices()) {
        const CLabelRecord& label = m_pModel->Label(nIndex);
        const CPixelRect rcCell = layout.LabelRect(CSheetModel::RowOf(nIndex), CSheetModel::ColumnOf(nIndex));
        if (!BandTouches(rcBand, rcCell) || label.IsSelected() == bSelect)
            continue;
        touched.push_back(nIndex);
        after.push_back(label);
        after.back().SetSelected(bSelect);
    }
    m_pModel->ApplyEdit(m_pModel->MakeEdit(touched, after));
    event->accept();
}
