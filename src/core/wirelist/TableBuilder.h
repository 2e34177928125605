#pragma once

#include "wirelist/WireListReader.h"

#include <string_view>

// Fills a wire list's table under the limits of every reader: a preview's
// row limit ends the reading quietly, the hard limits end it with an error.
class CTableBuilder
{
public:
    CTableBuilder(CWireList& list, std::size_t nRowLimit) : m_list(list), m_nRowLimit(nRowLimit) {}

    // Both return false once reading must stop.
    bool AddCell(std::string_view text);
    bool EndRow();
    // `nCount` empty rows, as a workbook's gaps and repeats give them; the
    // rows appear only once a row with a cell follows (see Finish).
    bool AddEmptyRows(std::size_t nCount);
    // Whether nRows more rows of nCells cells and nBytes of text each stay
    // within the limits, checked before a reader makes them (a repeated row);
    // rows past a preview's row limit do not count.
    bool Admits(std::size_t nRows, std::size_t nCells, std::size_t nBytes);
    // Drops the trailing empty rows of the list.
    void Finish();

    bool Stopped() const { return m_bStopped; }
    const CWireListProblem& Problem() const { return m_problem; }

private:
    bool Fail(CWireListProblem problem);
    bool FlushEmptyRows();
    bool AppendRow();

    CWireList& m_list;
    std::size_t m_nRowLimit;
    std::size_t m_nPendingEmptyRows = 0;
    std::size_t m_nCells = 0;
    std::size_t m_nBytes = 0;
    bool m_bRowHasCells = false;
    bool m_bStopped = false;
    CWireListProblem m_problem;
};

// What a reader says when a list passes its limits.
CWireListProblem MoreCellsThanAList();
CWireListProblem MoreTextThanAList();

// The UTF-8 of a text list is longer than its cells' text only by its
// delimiters, line ends and quotes (a doubled quote at most doubles a
// cell): past this it holds more cell text than kMaxWireListBytes whatever
// its encoding, and an encoding that expands (TSCII, Thai) is not decoded
// further.
constexpr std::size_t kMaxListTextBytes =
    2 * kMaxWireListBytes + 3 * kMaxWireListCells + 2 * kMaxWireListRows;

CWireListProblem ReadTextList(std::string_view bytes, const CWireListOptions& options, CWireList& list,
                              std::size_t nTextLimit = kMaxListTextBytes);
CWireListProblem ReadWorkbook(std::string_view bytes, const CWireListOptions& options, CWireList& list);
