#include "view/CTAVROView.h"

#include "model/CSheetModel.h"
#include "text/LabelFormat.h"
#include "text/TextCommands.h"
#include "view/CLabelWnd.h"

#include <algorithm>
#include <iterator>

namespace {

struct CAlignmentCommand
{
    HAlign m_hAlign;
    VAlign m_vAlign;
    const char* m_szStep; // the command's own name
};

// The nine buttons of the label format toolbar, in its 3 × 3 order.
constexpr CAlignmentCommand kAlignments[] = {
    {HAlign::Left, VAlign::Top, "靠上左对齐"},      {HAlign::Centre, VAlign::Top, "靠上中对齐"},
    {HAlign::Right, VAlign::Top, "靠上右对齐"},     {HAlign::Left, VAlign::Middle, "靠中左对齐"},
    {HAlign::Centre, VAlign::Middle, "靠中中对齐"}, {HAlign::Right, VAlign::Middle, "靠中右对齐"},
    {HAlign::Left, VAlign::Bottom, "靠下左对齐"},   {HAlign::Centre, VAlign::Bottom, "靠下中对齐"},
    {HAlign::Right, VAlign::Bottom, "靠下右对齐"},
};

} // namespace

template <typename Command>
void CTAVROView::ApplyFormat(const QString& strStep, Command command)
{
    m_pModel->EditGrid(command, CSheetModel::Marking::Always, strStep);
}

void CTAVROView::OnFont()
{
    ApplyFormat(QStringLiteral("字体"),
                [this](const LabelGrid& grid) { return RunFont(this, grid).has_value(); });
}

void CTAVROView::SetAlignment(HAlign hAlign, VAlign vAlign)
{
    const auto* command = std::find_if(std::begin(kAlignments), std::end(kAlignments), [&](const auto& c) {
        return c.m_hAlign == hAlign && c.m_vAlign == vAlign;
    });
    ApplyFormat(QString::fromUtf8(command->m_szStep), [hAlign, vAlign](const LabelGrid& grid) {
        if (!FindTemplateLabel(grid))
            return false;
        ApplyAlignment(grid, hAlign, vAlign);
        return true;
    });
}

void CTAVROView::OnLabelSettings()
{
    ApplyFormat(QStringLiteral("标签设置"), [this](const LabelGrid& grid) {
        return RunLabelSettings(this, grid, Format().m_dLabelWidth, Format().m_dLabelHeight).has_value();
    });
}

void CTAVROView::OnAutoShrink()
{
    ApplyFormat(QStringLiteral("自动缩小"), [](const LabelGrid& grid) {
        if (!FindTemplateLabel(grid))
            return false;
        ToggleAutoShrink(grid);
        return true;
    });
}
