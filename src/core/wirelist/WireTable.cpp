#include "wirelist/WireTable.h"

#include <algorithm>

std::size_t CWireTable::CellCount(std::size_t nRow) const
{
    const std::size_t nFirst = nRow == 0 ? 0 : m_rowEnds[nRow - 1];
    return m_rowEnds[nRow] - nFirst;
}

std::string_view CWireTable::Cell(std::size_t nRow, std::size_t nColumn) const
{
    if (nRow >= RowCount() || nColumn >= CellCount(nRow))
        return {};
    const std::size_t nCell = (nRow == 0 ? 0 : m_rowEnds[nRow - 1]) + nColumn;
    const std::size_t nBegin = nCell == 0 ? 0 : m_cellEnds[nCell - 1];
    return std::string_view(m_text).substr(nBegin, m_cellEnds[nCell] - nBegin);
}

void CWireTable::AddCell(std::string_view text)
{
    m_text += text;
    m_cellEnds.push_back(static_cast<std::uint32_t>(m_text.size()));
}

void CWireTable::EndRow()
{
    m_rowEnds.push_back(static_cast<std::uint32_t>(m_cellEnds.size()));
    m_nColumns = std::max(m_nColumns, CellCount(m_rowEnds.size() - 1));
}

bool CWireTable::RowIsEmpty(std::size_t nRow) const
{
    for (std::size_t c = 0; c < CellCount(nRow); ++c)
        if (!Cell(nRow, c).empty())
            return false;
    return true;
}

void CWireTable::TrimEmptyRows()
{
    while (!m_rowEnds.empty() && RowIsEmpty(m_rowEnds.size() - 1)) {
        m_rowEnds.pop_back();
        const std::size_t nCells = m_rowEnds.empty() ? 0 : m_rowEnds.back();
        m_cellEnds.resize(nCells);
        m_text.resize(nCells == 0 ? 0 : m_cellEnds.back());
    }
    m_nColumns = 0;
    for (std::size_t r = 0; r < RowCount(); ++r)
        m_nColumns = std::max(m_nColumns, CellCount(r));
}
