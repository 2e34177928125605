#include "view/CTAVROView.h"

#include "app/CommandIds.h"
#include "model/CSheetModel.h"
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

template <typename Command>
void CTAVROView::ApplyFormat(Command command)
{
    m_pModel->EditGrid(command, CSheetModel::Marking::Always);
}

void CTAVROView::OnFont()
{
    ApplyFormat([this](const LabelGrid& grid) { return RunFont(this, grid).has_value(); });
}

void CTAVROView::SetAlignment(int nHAlign, int nVAlign)
{
    ApplyFormat([nHAlign, nVAlign](const LabelGrid& grid) {
        if (!FindTemplateLabel(grid))
            return false;
        ApplyAlignment(grid, nHAlign, nVAlign);
        return true;
    });
}

void CTAVROView::OnLabelSettings()
{
    ApplyFormat([this](const LabelGrid& grid) { return RunLabelSettings(this, grid).has_value(); });
}

void CTAVROView::OnAutoShrink()
{
    ApplyFormat([](const LabelGrid& grid) {
        if (!FindTemplateLabel(grid))
            return false;
        ToggleAutoShrink(grid);
        return true;
    });
}

void CTAVROView::OnUpdateAutoShrink(CCmdUI& cmdUI) const
{
    CSheet sheet = m_pModel->Sheet();
    const LabelGrid grid = GridOf(sheet);
    cmdUI.Enable(FindTemplateLabel(grid).has_value());
    cmdUI.SetCheck(IsAutoShrinkChecked(grid));
}
