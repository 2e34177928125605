#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "text/CBatchTextDlg.h"
#include "text/TextCommands.h"
#include "view/CLabelWnd.h"

void CTAVROView::OnSetText()
{
    if (!m_pBatchTextDlg)
        m_pBatchTextDlg = new CBatchTextDlg(this);
    // A text stored over an equal one still counts as a change.
    m_pModel->EditGrid(
        [this](const LabelGrid& grid) {
            const auto changed = RunSetText(*m_pBatchTextDlg, grid);
            return changed && !changed->empty();
        },
        CSheetModel::Marking::Always, QStringLiteral("设定文字"));
}

void CTAVROView::OnClearText()
{
    m_pModel->EditGrid(
        [this](const LabelGrid& grid) {
            const auto changed = RunClearText(this, grid);
            return changed && !changed->empty();
        },
        CSheetModel::Marking::Always, QStringLiteral("清除文字"));
}

// OK stores the text, an unchanged one too.
void CTAVROView::OnLabelDoubleClicked(CLabelWnd* pLabel)
{
    CLabelRecord record = pLabel->Record();
    if (RunLabelText(this, record))
        m_pModel->SetText(pLabel->Index(), record.m_strText, true);
}
