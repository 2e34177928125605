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
    const std::string message = "row " + std::to_string(fault.m_nRow) + ": " + reason;
    if (out)
        *out = std::move(fault);
    return message;
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

std::string BuildMarkers(const CWireTable& table, const CMarkerOptions& options, CMarkerList& markers,
                         CMarkerFault* fault)
{
    using Kind = CMarkerFault::Kind;
    markers = {};
    CMarkerList built;
    std::string text;
    for (std::size_t r = options.m_nHeaderRows; r < table.RowCount(); ++r) {
        const bool bAllEmpty = std::all_of(options.m_columns.begin(), options.m_columns.end(),
                                           [&](std::size_t c) { return table.Cell(r, c).empty(); });
        if (bAllEmpty)
            continue;
        std::uint32_t nCount = static_cast<std::uint32_t>(options.m_nCopies);
        if (options.m_quantityColumn) {
            const std::string_view quantity = Trimmed(table.Cell(r, *options.m_quantityColumn));
            int nQuantity = 0;
            const auto [ptr, ec] =
                std::from_chars(quantity.data(), quantity.data() + quantity.size(), nQuantity);
            if (quantity.empty() || ec != std::errc() || ptr != quantity.data() + quantity.size() ||
                nQuantity < 0 || nQuantity > kMaxMarkerCopies)
                return Refuse({r + 1, Kind::BadQuantity, std::string(quantity), 0}, fault);
            nCount = static_cast<std::uint32_t>(nQuantity);
        }
        text.clear();
        bool bFirst = true;
        for (const std::size_t c : options.m_columns) {
            const std::string_view cell = table.Cell(r, c);
            if (cell.empty() && options.m_bSkipEmptyCells)
                continue;
            if (!bFirst)
                text += options.m_strJoin;
            bFirst = false;
            AppendCell(text, cell);
        }
        std::optional<std::string> stored = EditTextToGbk(text);
        if (!stored)
            return Refuse({r + 1, Kind::NotCodePage936, FirstUnstorableCharacter(text).value_or("?"), 0},
                          fault);
        if (stored->size() > kLabelTextLimit)
            return Refuse({r + 1, Kind::TooLong, {}, stored->size()}, fault);
        if (nCount == 0)
            continue;
        built.m_nTotal += nCount;
        built.m_runs.push_back({std::move(*stored), nCount});
    }
    markers = std::move(built);
    return {};
}
