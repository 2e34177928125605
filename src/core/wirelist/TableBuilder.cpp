#include "wirelist/TableBuilder.h"

#include <algorithm>
#include <limits>

CWireListProblem MoreCellsThanAList()
{
    CWireListProblem problem{CWireListProblem::Kind::TooManyCells};
    problem.m_nLimit = kMaxWireListCells;
    return problem;
}

CWireListProblem MoreTextThanAList()
{
    CWireListProblem problem{CWireListProblem::Kind::TooMuchText};
    problem.m_nLimit = kMaxWireListBytes;
    return problem;
}

bool CTableBuilder::Fail(CWireListProblem problem)
{
    m_problem = std::move(problem);
    m_bStopped = true;
    return false;
}

bool CTableBuilder::AppendRow()
{
    if (m_list.m_table.RowCount() == kMaxWireListRows) {
        CWireListProblem problem{CWireListProblem::Kind::TooManyRows};
        problem.m_nLimit = kMaxWireListRows;
        return Fail(problem);
    }
    m_list.m_table.EndRow();
    if (m_list.m_table.RowCount() == m_nRowLimit) {
        m_list.m_bTruncated = true;
        m_bStopped = true;
        return false;
    }
    return true;
}

bool CTableBuilder::FlushEmptyRows()
{
    for (; m_nPendingEmptyRows > 0; --m_nPendingEmptyRows)
        if (!AppendRow())
            return false;
    return true;
}

bool CTableBuilder::Admits(std::size_t nRows, std::size_t nCells, std::size_t nBytes)
{
    if (m_bStopped)
        return false;
    const std::size_t nRowsBefore = m_list.m_table.RowCount() + m_nPendingEmptyRows;
    if (m_nRowLimit)
        nRows = std::min(nRows, m_nRowLimit - std::min(m_nRowLimit, nRowsBefore));
    // Rows beyond a million are refused as they come; here only the cells
    // and bytes of at most that many rows are counted, so nothing overflows.
    nRows = std::min(nRows, kMaxWireListRows + 1);
    if (nCells > 0 && m_nCells + nRows * nCells > kMaxWireListCells)
        return Fail(MoreCellsThanAList());
    if (m_nBytes + nRows * nBytes > kMaxWireListBytes)
        return Fail(MoreTextThanAList());
    return true;
}

bool CTableBuilder::AddCell(std::string_view text)
{
    if (m_bStopped || !FlushEmptyRows())
        return false;
    if (++m_nCells > kMaxWireListCells)
        return Fail(MoreCellsThanAList());
    m_nBytes += text.size();
    if (m_nBytes > kMaxWireListBytes)
        return Fail(MoreTextThanAList());
    m_list.m_table.AddCell(text);
    m_bRowHasCells = true;
    return true;
}

bool CTableBuilder::AddEmptyRows(std::size_t nCount)
{
    if (m_bStopped)
        return false;
    // Workbooks repeat empty rows to their last row; only those before a
    // row with cells are ever made.
    const std::size_t nMax = std::numeric_limits<std::size_t>::max();
    m_nPendingEmptyRows = nCount > nMax - m_nPendingEmptyRows ? nMax : m_nPendingEmptyRows + nCount;
    return true;
}

bool CTableBuilder::EndRow()
{
    if (m_bStopped)
        return false;
    if (!m_bRowHasCells)
        return AddEmptyRows(1);
    m_bRowHasCells = false;
    return AppendRow();
}

void CTableBuilder::Finish()
{
    m_list.m_table.TrimEmptyRows();
}
