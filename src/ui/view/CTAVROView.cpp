#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

CTAVROView::CTAVROView(CTAVRODoc* pDocument, QWidget* parent)
    : QAbstractScrollArea(parent), m_pModel(&pDocument->Model()), m_penBand(DottedPen(QColor(kBandColour)))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // The paint covers the whole client area: nothing to erase first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);

    connect(m_pModel, &CSheetModel::labelsChanged, this, &CTAVROView::OnLabelsChanged);
    connect(m_pModel, &CSheetModel::formatChanged, this, &CTAVROView::OnFormatChanged);
}

CTAVROView::~CTAVROView() = default;

const CPageFormat& CTAVROView::Format() const
{
    return m_pModel->Format();
}

const CSheet& CTAVROView::GetSheet() const
{
    return m_pModel->Sheet();
}

void CTAVROView::SetSheet(const CSheet& sheet)
{
    m_pModel->Load(sheet);
}

CPixelPoint CTAVROView::ScrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

CLabelLayout CTAVROView::Layout() const
{
    const CPixelPoint scroll = ScrollPosition();
    return CLabelLayout(Format(), CurrentZoom(), viewport()->width(), scroll.x, scroll.y);
}

QRect CTAVROView::LabelRect(int nRow, int nColumn) const
{
    if (nRow < 0 || nRow >= std::min(Format().m_nRows, CPageFormat::kMaxRows) || nColumn < 0 ||
        nColumn >= std::min(Format().m_nColumns, CPageFormat::kMaxColumns))
        return {};
    return ToQRect(Layout().LabelRect(nRow, nColumn));
}

std::optional<CGridCell> CTAVROView::LabelAt(const QPoint& pt) const
{
    return Layout().CellAt({pt.x(), pt.y()});
}

void CTAVROView::NoteShownLabels()
{
    std::vector<LabelIndex> shown;
    if (isVisible()) {
        const QSize client = viewport()->size();
        for (const CGridCell& cell : Layout().CellsMeeting({0, 0, client.width(), client.height()}))
            shown.push_back(CSheetModel::IndexOf(cell.m_nRow, cell.m_nColumn));
    }
    m_pModel->SetShownLabels(shown, m_dZoom);
}

void CTAVROView::OnLabelsChanged(const QList<int>& indices)
{
    const CLabelLayout layout = Layout();
    QRegion changed;
    for (const int nIndex : indices) {
        const int nRow = CSheetModel::RowOf(nIndex);
        const int nColumn = CSheetModel::ColumnOf(nIndex);
        const QRect rc = ToQRect(layout.LabelRect(nRow, nColumn));
        m_pictures.RecordChanged(nIndex, m_pModel->Label(nIndex), rc.size(), m_dZoom,
                                 viewport()->devicePixelRatioF());
        if (nRow < Format().m_nRows && nColumn < Format().m_nColumns)
            changed += rc;
    }
    viewport()->update(changed);
}

void CTAVROView::OnFormatChanged()
{
    m_pictures.Clear();
    UpdateZoom();
    LayoutLabels();
}

void CTAVROView::ShowNewSheet()
{
    UpdateZoom();
    LayoutLabels();
    Q_EMIT newSheetShown();
}

void CTAVROView::UpdateZoom()
{
    const CViewZoom zoom = ComputeZoom(Format(), viewport()->height(), m_dMinZoom);
    m_dZoom = zoom.m_dZoom;
    m_rcExtent = {0, 0, zoom.m_nExtentWidth, zoom.m_nExtentHeight};
    // A page of the scroll bar is what the client area shows.
    const QSize client = viewport()->size();
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setRange(0, std::max(0, m_rcExtent.Width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_rcExtent.Height() - client.height()));
}

void CTAVROView::LayoutLabels()
{
    NoteShownLabels();
    viewport()->update();
}

void CTAVROView::resizeEvent(QResizeEvent*)
{
    UpdateZoom();
    LayoutLabels();
}

void CTAVROView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    NoteShownLabels();
}

void CTAVROView::hideEvent(QHideEvent* event)
{
    QAbstractScrollArea::hideEvent(event);
    NoteShownLabels();
}

void CTAVROView::scrollContentsBy(int dx, int dy)
{
    // Moves the painted page; only what comes into view is painted.
    viewport()->scroll(dx, dy);
    NoteShownLabels();
}

bool CTAVROView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const std::optional<CGridCell> cell = LabelAt(help->pos()))
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("列 : %1 行: %2").arg(cell->m_nColumn + 1).arg(cell->m_nRow + 1),
                           viewport(), LabelRect(cell->m_nRow, cell->m_nColumn));
    else
        QToolTip::hideText();
    return true;
}

void CTAVROView::OnFullPage()
{
    m_dMinZoom = m_dMinZoom == 0.0 ? kNormalMinZoom : 0.0;
    UpdateZoom();
    LayoutLabels();
}

bool CTAVROView::IsFullPage() const
{
    return m_dMinZoom == 0.0;
}
