#include "wirelist/WireMarkers.h"

#include "text/EditText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string_view::npos)
        return {};
    return text.substr(nFirst, text.find_last_not_of(" \t") - nFirst + 1);
}

// Cell text as a label line: CR LF and CR inside a cell become LF.
void AppendCell(std::string& out, std::string_view cell)
{
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\r') {
            out += '\n';
            if (i + 1 < cell.size() && cell[i + 1] == '\n')
                ++i;
        } else {
            out += cell[i];
        }
    }
}

// The English message of a fault; fills `out` when given.
std::string Refuse(CMarkerFault fault, CMarkerFault* out)
{
    std::string reason;
    switch (fault.m_kind) {
    case CMarkerFault::Kind::TooLong:
        reason = "the marker takes " + std::to_string(fault.m_nBytes) + " bytes; a label holds at most " +
                 std::to_string(kLabelTextLimit);
        break;
    case CMarkerFault::Kind::NotCodePage936:
        reason = "'" + fault.m_strDetail +
                 "' cannot be printed on a label (labels hold code page 936 characters only)";
        break;
    case CMarkerFault::Kind::BadQuantity:
        reason = "the quantity '" + fault.m_strDetail + "' is not a whole number from 0 to " +
                 std::to_string(kMaxMarkerCopies);
        break;
    }
    const std::string message =
        "row " + std::to_string(fault.m_nRow) + (fault.m_bFarEnd ? ", end B: " : ": ") + reason;
    if (out)
        *out = std::move(fault);
    return message;
}

// The marker of one row from `columns`, stored; on a fault fills `fault`
// but for its row.
std::optional<std::string> RowMarker(const CWireTable& table, std::size_t nRow,
                                     const std::vector<std::size_t>& columns, const CMarkerOptions& options,
                                     CMarkerFault& fault)
{
    std::string text;
    bool bFirst = true;
    for (const std::size_t c : columns) {
        const std::string_view cell = table.Cell(nRow, c);
        if (cell.empty() && options.m_bSkipEmptyCells)
            continue;
        if (!bFirst)
            text += options.m_strJoin;
        bFirst = false;
        AppendCell(text, cell);
    }
    std::optional<std::string> stored = EditTextToGbk(text);
    if (!stored) {
        fault.m_kind = CMarkerFault::Kind::NotCodePage936;
        fault.m_strDetail = FirstUnstorableCharacter(text).value_or("?");
        return std::nullopt;
    }
    if (stored->size() > kLabelTextLimit) {
        fault.m_kind = CMarkerFault::Kind::TooLong;
        fault.m_nBytes = stored->size();
        return std::nullopt;
    }
    return stored;
}

bool AllEmpty(const CWireTable& table, std::size_t nRow, const std::vector<std::size_t>& columns)
{
    return std::all_of(columns.begin(), columns.end(),
                       [&](std::size_t c) { return table.Cell(nRow, c).empty(); });
}

} // namespace

std::optional<std::size_t> ParseColumn(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return std::nullopt;
    constexpr std::size_t kMaxColumn = 16384;
    std::size_t nColumn = 0;
    if (std::isdigit(static_cast<unsigned char>(text[0]))) {
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), nColumn);
        if (ec != std::errc() || ptr != text.data() + text.size() || nColumn == 0 || nColumn > kMaxColumn)
            return std::nullopt;
        return nColumn - 1;
    }
    for (const char ch : text) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (upper < 'A' || upper > 'Z')
            return std::nullopt;
        nColumn = nColumn * 26 + static_cast<std::size_t>(upper - 'A' + 1);
        if (nColumn > kMaxColumn)
            return std::nullopt;
    }
    return nColumn - 1;
}

std::string ColumnLetters(std::size_t nColumn)
{
    std::string letters;
    for (std::size_t n = nColumn + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::optional<std::vector<std::size_t>> ParseColumnList(std::string_view text)
{
    std::vector<std::size_t> columns;
    for (;;) {
        const std::size_t nComma = text.find(',');
        const std::optional<std::size_t> nColumn = ParseColumn(text.substr(0, nComma));
        if (!nColumn)
            return std::nullopt;
        columns.push_back(*nColumn);
        if (nComma == std::string_view::npos)
            return columns;
        text.remove_prefix(nComma + 1);
    }
}

std::optional<CEndColumns> ParseEndColumns(std::string_view text)
{
    const std::size_t nSlash = text.find('/');
    if (nSlash == std::string_view::npos)
        return std::nullopt;
    std::optional<std::vector<std::size_t>> nearEnd = ParseColumnList(text.substr(0, nSlash));
    std::optional<std::vector<std::size_t>> farEnd = ParseColumnList(text.substr(nSlash + 1));
    if (!nearEnd || !farEnd)
        return std::nullopt;
    return CEndColumns{std::move(*nearEnd), std::move(*farEnd)};
}

std::string EndColumnsText(const CEndColumns& ends)
{
    std::string text;
    for (const auto* columns : {&ends.m_near, &ends.m_far}) {
        if (columns == &ends.m_far)
            text += '/';
        for (std::size_t i = 0; i < columns->size(); ++i)
            text += (i ? "," : "") + std::to_string((*columns)[i] + 1);
    }
    return text;
}

std::string BuildMarkers(const CWireTable& table, const CMarkerOptions& options, CMarkerList& markers,
                         CMarkerFault* fault)
{
    using Kind = CMarkerFault::Kind;
    markers = {};
    CMarkerList built;
    const bool bTwoEnds = !options.m_farEndColumns.empty();
    for (std::size_t r = options.m_nHeaderRows; r < table.RowCount(); ++r) {
        if (AllEmpty(table, r, options.m_columns) &&
            (!bTwoEnds || AllEmpty(table, r, options.m_farEndColumns)))
            continue;
        std::uint32_t nCount = static_cast<std::uint32_t>(options.m_nCopies);
        if (options.m_quantityColumn) {
            const std::string_view quantity = Trimmed(table.Cell(r, *options.m_quantityColumn));
            int nQuantity = 0;
            const auto [ptr, ec] =
                std::from_chars(quantity.data(), quantity.data() + quantity.size(), nQuantity);
            if (quantity.empty() || ec != std::errc() || ptr != quantity.data() + quantity.size() ||
                nQuantity < 0 || nQuantity > kMaxMarkerCopies)
                return Refuse({r + 1, false, Kind::BadQuantity, std::string(quantity), 0}, fault);
            nCount = static_cast<std::uint32_t>(nQuantity);
        }
        CMarkerFault rowFault;
        rowFault.m_nRow = r + 1;
        CMarkerRun run;
        run.m_nCount = nCount;
        run.m_nRow = static_cast<std::uint32_t>(r + 1);
        std::optional<std::string> nearEnd = RowMarker(table, r, options.m_columns, options, rowFault);
        if (!nearEnd)
            return Refuse(std::move(rowFault), fault);
        run.m_strText = std::move(*nearEnd);
        if (bTwoEnds) {
            rowFault.m_bFarEnd = true;
            run.m_farEnd = RowMarker(table, r, options.m_farEndColumns, options, rowFault);
            if (!run.m_farEnd)
                return Refuse(std::move(rowFault), fault);
        }
        if (nCount == 0)
            continue;
        built.m_nTotal += run.LabelCount();
        built.m_runs.push_back(std::move(run));
    }
    markers = std::move(built);
    return {};
}
