#include "view/CTAVROView.h"

#include "app/CommandIds.h"
#include "model/CTAVRODoc.h"
#include "text/CBatchTextDlg.h"
#include "text/TextCommands.h"
#include "view/CLabelWnd.h"

void CTAVROView::InitTextCommands()
{
    OnSelectionCommand(ID::SetText, [this] { OnSetText(); });
    OnSelectionCommand(ID::ClearText, [this] { OnClearText(); });
}

namespace {

// The texts a command stored go to their cells through SetText, so each of
// them repaints and tells the view like a typed text.
void StoreTexts(const std::vector<CLabelWnd*>& labels, const LabelGrid& copies, const ChangedLabels& changed)
{
    for (std::size_t i : changed)
        labels[i]->SetText(copies[i]->m_strText, 1);
}

// The commands work on copies of the records; the cells take the result.
struct CGridCopy
{
    explicit CGridCopy(const std::vector<CLabelWnd*>& labels)
    {
        m_records.reserve(labels.size());
        for (const CLabelWnd* pLabel : labels)
            m_records.push_back(pLabel->Record());
        for (CLabelRecord& record : m_records)
            m_grid.push_back(&record);
    }
    std::vector<CLabelRecord> m_records;
    LabelGrid m_grid;
};

} // namespace

void CTAVROView::OnSetText()
{
    if (!m_pBatchTextDlg)
        m_pBatchTextDlg = new CBatchTextDlg(this);
    const std::vector<CLabelWnd*> labels = GridLabels();
    CGridCopy copy(labels);
    if (const auto changed = RunSetText(*m_pBatchTextDlg, copy.m_grid))
        StoreTexts(labels, copy.m_grid, *changed);
}

void CTAVROView::OnClearText()
{
    const std::vector<CLabelWnd*> labels = GridLabels();
    CGridCopy copy(labels);
    if (const auto changed = RunClearText(this, copy.m_grid))
        StoreTexts(labels, copy.m_grid, *changed);
}

void CTAVROView::OnLabelDoubleClicked(CLabelWnd* pLabel)
{
    CLabelRecord record = pLabel->Record();
    if (RunLabelText(this, record))
        pLabel->SetText(record.m_strText, 1);
}
