#include "text/LabelFormat.h"

#include <cmath>
#include <cstdlib>
#include <functional>

std::int32_t FontHeightFromPointTenths(int nPointTenths)
{
    return -MulDiv(nPointTenths, 96, 720);
}

int PointTenthsFromFontHeight(std::int32_t nFontHeight)
{
    return MulDiv(std::abs(nFontHeight), 720, 96);
}

CFontChoice FontChoiceOf(const CLabelRecord& label)
{
    CFontChoice choice;
    choice.m_logFont = label.m_logFont;
    choice.m_logFont.lfHeight = label.m_nFontHeight;
    choice.m_crText = label.m_crText;
    choice.m_nFontHeight = label.m_nFontHeight;
    return choice;
}

CMarginTenths MarginTenthsOf(const CLabelRecord& label)
{
    // A double beyond the int range cannot come from the dialog; saturating
    // keeps the conversion defined and the dialog refuses it as out of range.
    const auto tenths = [](double dMillimetres) { return TruncToInt(dMillimetres * 10); };
    CMarginTenths margins;
    margins.m_nLeft = tenths(label.m_dMarginLeft);
    margins.m_nTop = tenths(label.m_dMarginTop);
    margins.m_nRight = tenths(label.m_dMarginRight);
    margins.m_nBottom = tenths(label.m_dMarginBottom);
    margins.m_nLineSpacing = tenths(label.m_dLineSpacing);
    return margins;
}

namespace {

ChangedLabels ApplyToSelected(const LabelGrid& grid, const std::function<void(CLabelRecord&)>& apply)
{
    ChangedLabels changed;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        if (!IsSelectedLabel(grid[i]))
            continue;
        const CLabelRecord before = *grid[i];
        apply(*grid[i]);
        if (!(*grid[i] == before))
            changed.push_back(i);
    }
    return changed;
}

} // namespace

ChangedLabels ApplyFont(const LabelGrid& grid, const CFontChoice& choice)
{
    CLogFont font = choice.m_logFont;
    font.lfHeight = choice.m_nFontHeight;
    return ApplyToSelected(grid, [&](CLabelRecord& label) {
        label.m_logFont = font;
        label.m_crText = choice.m_crText;
        label.m_nFontHeight = choice.m_nFontHeight;
    });
}

ChangedLabels ApplyAlignment(const LabelGrid& grid, HAlign hAlign, VAlign vAlign)
{
    return ApplyToSelected(grid, [&](CLabelRecord& label) { label.SetAlignment(hAlign, vAlign); });
}

ChangedLabels ApplyTextDirection(const LabelGrid& grid, TextDirection direction)
{
    return ApplyToSelected(grid, [&](CLabelRecord& label) { SetFontDirection(label.m_logFont, direction); });
}

MarginFit CheckMarginsFit(const CMarginTenths& margins, double dLabelWidth, double dLabelHeight)
{
    // In hundredths of a millimetre, the unit label sizes are set in, so that
    // 12.3 mm is not a hair over 123 tenths.
    const auto hundredths = [](double dMillimetres) { return std::llround(dMillimetres * 100); };
    if (10LL * (margins.m_nLeft + margins.m_nRight) >= hundredths(dLabelWidth))
        return MarginFit::TooWide;
    if (10LL * (margins.m_nTop + margins.m_nBottom) >= hundredths(dLabelHeight))
        return MarginFit::TooTall;
    return MarginFit::Fits;
}

ChangedLabels ApplyMargins(const LabelGrid& grid, const CMarginTenths& margins)
{
    return ApplyToSelected(grid, [&](CLabelRecord& label) {
        label.m_dMarginLeft = margins.m_nLeft * 0.1;
        label.m_dMarginTop = margins.m_nTop * 0.1;
        label.m_dMarginRight = margins.m_nRight * 0.1;
        label.m_dMarginBottom = margins.m_nBottom * 0.1;
        label.m_dLineSpacing = margins.m_nLineSpacing * 0.1;
    });
}

ChangedLabels ToggleAutoShrink(const LabelGrid& grid)
{
    const auto templateLabel = FindTemplateLabel(grid);
    if (!templateLabel)
        return {};
    const std::int32_t bShrink = grid[*templateLabel]->m_bAutoShrink == 0 ? 1 : 0;
    return ApplyToSelected(grid, [&](CLabelRecord& label) { label.m_bAutoShrink = bShrink; });
}

bool IsAutoShrinkChecked(const LabelGrid& grid)
{
    const auto templateLabel = FindTemplateLabel(grid);
    return templateLabel && grid[*templateLabel]->m_bAutoShrink != 0;
}
