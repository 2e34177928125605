#include "view/CTAVROView.h"

#include "app/CommandIds.h"
#include "model/CTAVRODoc.h"
#include "text/LabelFormat.h"
#include "text/TextCommands.h"
#include "view/CLabelWnd.h"

namespace {

struct CAlignmentCommand
{
    int m_nID;
    int m_nHAlign;
    int m_nVAlign;
};

// The nine buttons of the label format toolbar, in its 3 × 3 order.
constexpr CAlignmentCommand kAlignments[] = {
    {ID::AlignTopLeft, 0, 0},    {ID::AlignTopCentre, 1, 0},    {ID::AlignTopRight, 2, 0},
    {ID::AlignMiddleLeft, 0, 4}, {ID::AlignMiddleCentre, 1, 4}, {ID::AlignMiddleRight, 2, 4},
    {ID::AlignBottomLeft, 0, 8}, {ID::AlignBottomCentre, 1, 8}, {ID::AlignBottomRight, 2, 8},
};

} // namespace

void CTAVROView::InitFormatCommands()
{
    OnSelectionCommand(ID::Font, [this] { OnFont(); });
    for (const CAlignmentCommand& command : kAlignments)
        OnSelectionCommand(command.m_nID, [this, command] { SetAlignment(command.m_nHAlign, command.m_nVAlign); });
    OnSelectionCommand(ID::LabelSettings, [this] { OnLabelSettings(); });
    m_commands.On(ID::AutoShrink, [this] { OnAutoShrink(); });
    m_commands.OnUpdate(ID::AutoShrink, [this](CCmdUI& cmdUI) { OnUpdateAutoShrink(cmdUI); });
}

// Every format command marks the document modified, label settings and
// shrink-to-fit too: otherwise closing would lose such a change unasked.
void CTAVROView::FormatApplied(const LabelGrid& grid, const ChangedLabels& changed)
{
    // The cells draw from their records, so a repaint is all they need.
    const std::vector<CLabelWnd*> labels = GridLabels();
    for (std::size_t i : changed)
        if (!grid[i]->m_strText.empty())
            labels[i]->update();
    if (m_pDocument)
        m_pDocument->SetModifiedFlag(true);
}

void CTAVROView::OnFont()
{
    const LabelGrid grid = GridRecords();
    if (const auto changed = RunFont(this, grid))
        FormatApplied(grid, *changed);
}

void CTAVROView::SetAlignment(int nHAlign, int nVAlign)
{
    const LabelGrid grid = GridRecords();
    if (!FindTemplateLabel(grid))
        return;
    FormatApplied(grid, ApplyAlignment(grid, nHAlign, nVAlign));
}

void CTAVROView::OnLabelSettings()
{
    const LabelGrid grid = GridRecords();
    if (const auto changed = RunLabelSettings(this, grid))
        FormatApplied(grid, *changed);
}

void CTAVROView::OnAutoShrink()
{
    const LabelGrid grid = GridRecords();
    if (!FindTemplateLabel(grid))
        return;
    FormatApplied(grid, ToggleAutoShrink(grid));
}

void CTAVROView::OnUpdateAutoShrink(CCmdUI& cmdUI) const
{
    const LabelGrid grid = GridRecords();
    cmdUI.Enable(FindTemplateLabel(grid).has_value());
    cmdUI.SetCheck(IsAutoShrinkChecked(grid));
}
