#include "text/LabelGrid.h"

#include "model/CSheet.h"

#include <algorithm>

LabelGrid GridOf(CSheet& sheet)
{
    LabelGrid grid;
    const int nRows = std::min<int>(sheet.m_format.m_nRows, CPageFormat::kMaxRows);
    const int nColumns = std::min<int>(sheet.m_format.m_nColumns, CPageFormat::kMaxColumns);
    for (int r = 0; r < nRows; ++r)
        for (int c = 0; c < nColumns; ++c)
            grid.push_back(&sheet.m_labels[r][c]);
    return grid;
}

bool IsSelectedLabel(const CLabelRecord* pLabel)
{
    return pLabel != nullptr && pLabel->IsSelected();
}

std::optional<std::size_t> FindTemplateLabel(const LabelGrid& grid)
{
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (IsSelectedLabel(grid[i]))
            return i;
    return std::nullopt;
}

void SelectLabels(const LabelGrid& grid, SelectionRule rule)
{
    for (CLabelRecord* pLabel : grid) {
        if (!pLabel)
            continue;
        switch (rule) {
        case SelectionRule::All:
            pLabel->SetSelected(true);
            break;
        case SelectionRule::None:
            pLabel->SetSelected(false);
            break;
        case SelectionRule::Invert:
            pLabel->SetSelected(!pLabel->IsSelected());
            break;
        case SelectionRule::WithText:
            pLabel->SetSelected(!pLabel->m_strText.empty());
            break;
        case SelectionRule::Empty:
            pLabel->SetSelected(pLabel->m_strText.empty());
            break;
        }
    }
}
