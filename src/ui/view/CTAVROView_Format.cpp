#include "view/CTAVROView.h"

#include "base/CommandIds.h"
#include "model/CSheetModel.h"
#include "text/LabelFormat.h"
#include "text/TextCommands.h"
#include "view/CLabelWnd.h"

namespace {

struct CAlignmentCommand
{
    int m_nID;
    HAlign m_hAlign;
    VAlign m_vAlign;
};

// The nine buttons of the label format toolbar, in its 3 × 3 order.
constexpr CAlignmentCommand kAlignments[] = {
    {ID::AlignTopLeft, HAlign::Left, VAlign::Top},
    {ID::AlignTopCentre, HAlign::Centre, VAlign::Top},
    {ID::AlignTopRight, HAlign::Right, VAlign::Top},
    {ID::AlignMiddleLeft, HAlign::Left, VAlign::Middle},
    {ID::AlignMiddleCentre, HAlign::Centre, VAlign::Middle},
    {ID::AlignMiddleRight, HAlign::Right, VAlign::Middle},
    {ID::AlignBottomLeft, HAlign::Left, VAlign::Bottom},
    {ID::AlignBottomCentre, HAlign::Centre, VAlign::Bottom},
    {ID::AlignBottomRight, HAlign::Right, VAlign::Bottom},
};

} // namespace

void CTAVROView::InitFormatCommands()
{
    OnSelectionCommand(ID::Font, [this] { OnFont(); });
    for (const CAlignmentCommand& command : kAlignments)
        OnSelectionCommand(command.m_nID,
                           [this, command] { SetAlignment(command.m_hAlign, command.m_vAlign); });
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

void CTAVROView::SetAlignment(HAlign hAlign, VAlign vAlign)
{
    ApplyFormat([hAlign, vAlign](const LabelGrid& grid) {
        if (!FindTemplateLabel(grid))
            return false;
        ApplyAlignment(grid, hAlign, vAlign);
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
