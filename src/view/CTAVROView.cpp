#include "view/CTAVROView.h"

#include "model/CTAVRODoc.h"

CTAVROView::CTAVROView(CTAVRODoc* pDocument, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDocument(pDocument)
{
    if (m_pDocument)
        m_pDocument->m_pView = this;
}

CTAVROView::~CTAVROView()
{
    if (m_pDocument && m_pDocument->m_pView == this)
        m_pDocument->m_pView = nullptr;
}

CSheet CTAVROView::GetSheet() const
{
    CSheet sheet = m_sheet;
    sheet.m_format = m_format;
    return sheet;
}

void CTAVROView::SetSheet(const CSheet& sheet)
{
    m_sheet = sheet;
    m_format = sheet.m_format;
}

void CTAVROView::ResetLabels()
{
    for (CSheet::Row& row : m_sheet.m_labels)
        for (CLabelRecord& label : row) {
            label.m_bSelected = 1;
            label.m_strText.clear();
        }
}

void CTAVROView::OnInitialUpdate()
{
    viewport()->update();
    Q_EMIT initialUpdateDone();
}
