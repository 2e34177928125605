#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "model/SharedConstants.h"
#include "view/CLabelWnd.h"

#include <QScrollBar>

CTAVROView::CTAVROView(CTAVRODoc* pDocument, QWidget* parent)
    : QAbstractScrollArea(parent), m_pModel(&pDocument->Model()), m_penRuler(QColor(kRulerColour), 1),
      m_penBackground(QColor(kPageBackgroundColour), 1)
{
    m_penRuler.setCosmetic(true);
    m_penBackground.setCosmetic(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // The paint covers the whole client area: nothing to erase first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);

    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c) {
            CLabelWnd* pLabel = new CLabelWnd(m_pModel, r, c, viewport());
            pLabel->SetSize(Format().m_dLabelWidth, Format().m_dLabelHeight);
            connect(pLabel, &CLabelWnd::labelDoubleClicked, this,
                    [this](CLabelWnd* pCell) { Q_EMIT labelDoubleClicked(pCell->Index()); });
            m_pLabels[r][c] = pLabel;
        }

    InitSelection();

    connect(m_pModel, &CSheetModel::labelsChanged, this, &CTAVROView::OnLabelsChanged);
    connect(m_pModel, &CSheetModel::formatChanged, this, &CTAVROView::OnFormatChanged);
}

CTAVROView::~CTAVROView() = default;

CLabelWnd* CTAVROView::Label(int nRow, int nColumn) const
{
    if (nRow < 0 || nRow >= CPageFormat::kMaxRows || nColumn < 0 || nColumn >= CPageFormat::kMaxColumns)
        return nullptr;
    return m_pLabels[nRow][nColumn];
}

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

void CTAVROView::OnLabelsChanged(const QList<int>& indices)
{
    for (const int nIndex : indices)
        m_pLabels[CSheetModel::RowOf(nIndex)][CSheetModel::ColumnOf(nIndex)]->RecordChanged();
}

void CTAVROView::OnFormatChanged()
{
    for (const auto& row : m_pLabels)
        for (CLabelWnd* pLabel : row)
            pLabel->FormatChanged();
}

void CTAVROView::ShowNewSheet()
{
    UpdateZoom();
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            m_pLabels[r][c]->setVisible(r < Format().m_nRows && c < Format().m_nColumns);
    LayoutLabels();
    viewport()->update();
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

CPixelPoint CTAVROView::ScrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CTAVROView::LayoutLabels()
{
    const CPixelPoint scroll = ScrollPosition();
    const CPageFormat& format = Format();
    const CLabelLayout layout(format, CurrentZoom(), viewport()->width(), scroll.x, scroll.y);
    for (int r = 0; r < format.m_nRows && r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < format.m_nColumns && c < CPageFormat::kMaxColumns; ++c) {
            CLabelWnd* pLabel = m_pLabels[r][c];
            pLabel->SetZoom(m_dZoom);
            pLabel->SetSize(format.m_dLabelWidth, format.m_dLabelHeight);
            const CPixelRect rc = layout.LabelRect(r, c);
            pLabel->MoveTo(rc.left, rc.top);
        }
}

void CTAVROView::resizeEvent(QResizeEvent*)
{
    UpdateZoom();
    LayoutLabels();
}

void CTAVROView::scrollContentsBy(int dx, int dy)
{
    // Moves the painted page and the cells with it; no re-layout needed.
    viewport()->scroll(dx, dy);
}

void CTAVROView::OnFullPage()
{
    m_dMinZoom = m_dMinZoom == 0.0 ? kNormalMinZoom : 0.0;
    UpdateZoom();
    LayoutLabels();
    viewport()->update();
}

bool CTAVROView::IsFullPage() const
{
    return m_dMinZoom == 0.0;
}
