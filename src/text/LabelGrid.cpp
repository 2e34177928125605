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
    return pLabel != nullptr && pLabel->m_bSelected == 1;
}

std::optional<std::size_t> FindTemplateLabel(const LabelGrid& grid)
{
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (IsSelectedLabel(grid[i]))
            return i;
    return std::nullopt;
}
