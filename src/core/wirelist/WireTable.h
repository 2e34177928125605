#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The cells of a wire list, row by row, as UTF-8 text. All text lives in one
// buffer, so a list of a hundred thousand rows costs little more than its
// characters.
class CWireTable
{
public:
    std::size_t RowCount() const { return m_rowEnds.size(); }
    std::size_t CellCount(std::size_t nRow) const;
    // The widest row's cell count.
    std::size_t ColumnCount() const { return m_nColumns; }
    // "" for a cell beyond the end of its row.
    std::string_view Cell(std::size_t nRow, std::size_t nColumn) const;

    void AddCell(std::string_view text);
    // Room for nBytes of cell text, taken at once.
    void ReserveText(std::size_t nBytes) { m_text.reserve(nBytes); }
    void EndRow();
    // Drops the empty rows at the end, as a spreadsheet's used range does.
    void TrimEmptyRows();

private:
    bool RowIsEmpty(std::size_t nRow) const;

    std::string m_text;
    std::vector<std::uint32_t> m_cellEnds; // end offset of every cell in m_text
    std::vector<std::uint32_t> m_rowEnds;  // end index of every row in m_cellEnds
    std::size_t m_nColumns = 0;
};
