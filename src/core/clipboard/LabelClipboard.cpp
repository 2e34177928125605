#include "clipboard/LabelClipboard.h"

#include "clipboard/HtmlTable.h"

#include "model/Archive.h"
#include "text/EditText.h"
#include "wirelist/WireListReader.h"

#include <algorithm>
#include <sstream>

namespace {

// A spreadsheet's cell: quoted when it holds a line break, a tab or a quote,
// its quotes doubled.
std::string SpreadsheetCell(const std::string& gbk)
{
    const std::string text = GbkToEditText(gbk);
    if (text.find_first_of("\n\t\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

// Every selected position of the sheet is taken in scan order.
template <typename Piece, typename Merge>
CPastePlacement Place(const CSheet& sheet, const std::vector<Piece>& pieces, Merge merge)
{
    CPastePlacement placement;
    const std::vector<CGridPosition> positions = SelectedPositions(sheet);
    const std::size_t nCount = std::min(positions.size(), pieces.size());
    for (std::size_t i = 0; i < nCount; ++i) {
        const CGridPosition& position = positions[i];
        CLabelRecord label = sheet.m_labels[position.m_nRow][position.m_nColumn];
        merge(label, pieces[i]);
        placement.m_targets.push_back(position);
        placement.m_after.push_back(std::move(label));
    }
    placement.m_nLeftOver = pieces.size() - nCount;
    return placement;
}

} // namespace

CCopiedLabels CopySelectedLabels(const CSheet& sheet)
{
    CCopiedLabels copied;
    const std::vector<CGridPosition> positions = SelectedPositions(sheet);
    if (positions.empty())
        return copied;
    int nTop = positions.front().m_nRow;
    int nBottom = positions.back().m_nRow;
    int nLeft = positions.front().m_nColumn;
    int nRight = nLeft;
    for (const CGridPosition& position : positions) {
        nLeft = std::min(nLeft, position.m_nColumn);
        nRight = std::max(nRight, position.m_nColumn);
    }
    // The text format "@" (sdnum) makes Calc take each cell as text.
    copied.m_strHtml = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (int r = nTop; r <= nBottom; ++r) {
        copied.m_strHtml += "<tr>";
        for (int c = nLeft; c <= nRight; ++c) {
            const CLabelRecord& label = sheet.m_labels[r][c];
            if (c > nLeft)
                copied.m_strText += '\t';
            copied.m_strHtml += "<td sdnum=\"2052;0;@\">";
            if (label.IsSelected()) {
                copied.m_strText += SpreadsheetCell(label.m_strText);
                copied.m_strHtml += HtmlCellText(GbkToEditText(label.m_strText));
            }
            copied.m_strHtml += "</td>";
        }
        copied.m_strText += '\n';
        copied.m_strHtml += "</tr>\n";
    }
    copied.m_strHtml += "</table></body></html>\n";

    std::ostringstream out;
    CArchiveWriter ar(out);
    ar.WriteInt32(static_cast<std::int32_t>(positions.size()));
    for (const CGridPosition& position : positions)
        sheet.m_labels[position.m_nRow][position.m_nColumn].Store(ar);
    copied.m_strRecords = out.str();
    copied.m_nCount = positions.size();
    return copied;
}

std::optional<std::vector<CLabelRecord>> ReadCopiedRecords(std::string_view bytes)
{
    std::istringstream in{std::string(bytes)};
    CArchiveReader ar(in);
    const std::int32_t nCount = ar.ReadInt32();
    // No record is shorter than its 125 fixed bytes.
    if (!ar.Ok() || nCount < 0 || static_cast<std::size_t>(nCount) > bytes.size() / 125)
        return std::nullopt;
    std::vector<CLabelRecord> records(static_cast<std::size_t>(nCount));
    for (CLabelRecord& record : records)
        if (!record.Load(ar))
            return std::nullopt;
    return records;
}

namespace {

// Every cell of the table as a label stores it, or the first that cannot be.
CClipboardTexts StoredCells(const CWireTable& table)
{
    CClipboardTexts result;
    // Millions of cells (a span adds them by the thousand) are not moved
    // again as the list grows.
    std::size_t nCells = 0;
    for (std::size_t r = 0; r < table.RowCount(); ++r)
        nCells += table.CellCount(r);
    result.m_texts.reserve(nCells);
    for (std::size_t r = 0; r < table.RowCount(); ++r)
        for (std::size_t c = 0; c < table.CellCount(r); ++c) {
            const std::string_view cell = table.Cell(r, c);
            // An empty cell needs no conversion.
            if (cell.empty()) {
                result.m_texts.emplace_back();
                continue;
            }
            CPasteRefusal refusal;
            refusal.m_nRow = r + 1;
            refusal.m_nColumn = c + 1;
            const std::optional<std::string> stored = EditTextToGbk(cell);
            if (!stored) {
                refusal.m_kind = CPasteRefusal::Kind::Unholdable;
                refusal.m_strCharacter = FirstUnstorableCharacter(cell).value_or(std::string());
            } else if (stored->size() > kLabelTextLimit) {
                refusal.m_kind = CPasteRefusal::Kind::TooLong;
                refusal.m_nLength = stored->size();
            } else {
                result.m_texts.push_back(*stored);
                continue;
            }
            result.m_texts = {};
            result.m_refusal = refusal;
            return result;
        }
    return result;
}

// A limit of a wire list passed, or any other reason the clipboard's text
// is no table.
CClipboardTexts Refused(const CWireListProblem& problem)
{
    using Kind = CWireListProblem::Kind;
    CPasteRefusal refusal;
    refusal.m_nLimit = problem.m_nLimit;
    switch (problem.m_kind) {
    case Kind::TooManyRows:
        refusal.m_kind = CPasteRefusal::Kind::TooManyRows;
        break;
    case Kind::TooManyCells:
        refusal.m_kind = CPasteRefusal::Kind::TooManyCells;
        break;
    case Kind::TooLarge: // more bytes than a list: more text, whatever its cells
    case Kind::TooMuchText:
        refusal.m_kind = CPasteRefusal::Kind::TooMuchText;
        break;
    default:
        refusal = CPasteRefusal{};
    }
    CClipboardTexts result;
    result.m_refusal = refusal;
    return result;
}

} // namespace

CClipboardTexts ReadClipboardText(std::string_view utf8)
{
    CWireListOptions options;
    options.m_strEncoding = "UTF-8";
    CWireList list;
    if (const CWireListProblem problem = ReadWireListBytes(utf8, options, list))
        return Refused(problem);
    return StoredCells(list.m_table);
}

CClipboardTexts ReadClipboardHtml(std::string_view html)
{
    CWireList list;
    if (const CWireListProblem problem = ReadHtmlTable(html, list))
        return Refused(problem);
    return StoredCells(list.m_table);
}

CPastePlacement PlaceTexts(const CSheet& sheet, const std::vector<std::string>& texts)
{
    return Place(sheet, texts, [](CLabelRecord& label, const std::string& text) { label.m_strText = text; });
}

CPastePlacement PlaceRecords(const CSheet& sheet, const std::vector<CLabelRecord>& records)
{
    return Place(sheet, records, [](CLabelRecord& label, const CLabelRecord& record) {
        const std::int32_t nSelected = label.m_bSelected;
        label = record;
        label.m_bSelected = nSelected;
    });
}
