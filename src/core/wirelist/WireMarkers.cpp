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
    case CMarkerFault::Kind::ColumnBeyondList: {
        const std::string which = fault.m_bQuantityColumn ? "quantity column "
                                  : fault.m_bFarEnd       ? "end B: column "
                                                          : "column ";
        const std::string message =
            which + std::to_string(fault.m_nColumn + 1) + " (" + ColumnLetters(fault.m_nColumn) +
            ") is past the list's last: the list has " + std::to_string(fault.m_nColumns) +
            (fault.m_nColumns == 1 ? " column" : " columns");
        if (out)
            *out = std::move(fault);
        return message;
    }
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

// About the bytes the markers of the rows take: their cells, their joins
// (a line break is stored as two bytes) and a run's header, so that the
// list is made in one block instead of being copied as it grows. Code page
// 936 takes no more bytes than UTF-8 for Chinese and Latin text.
std::size_t MarkerBytes(const CWireTable& table, const CMarkerOptions& options)
{
    constexpr std::size_t kRunHeader = 4; // header, count, row and far end length, mostly a byte each
    std::size_t nBytes = 0;
    for (std::size_t r = options.m_nHeaderRows; r < table.RowCount(); ++r) {
        nBytes += kRunHeader;
        for (const auto* columns : {&options.m_columns, &options.m_farEndColumns})
            for (const std::size_t c : *columns)
                nBytes += table.Cell(r, c).size() + 2 * options.m_strJoin.size();
    }
    return nBytes;
}

bool AllEmpty(const CWireTable& table, std::size_t nRow, const std::vector<std::size_t>& columns)
{
    return std::all_of(columns.begin(), columns.end(),
                       [&](std::size_t c) { return table.Cell(nRow, c).empty(); });
}

// A run in the list's bytes: a header byte, then what it announces, then
// the text and the far end. Numbers take 7 bits a byte, low bits first.
constexpr unsigned kLengthBits = 0x1F; // the text's length; kLengthBits: the length follows
constexpr unsigned kHasFarEnd = 0x20;  // the far end's length and text follow the text
constexpr unsigned kHasCount = 0x40;   // a count other than 1 follows
constexpr unsigned kHasRow = 0x80;     // a row other than ExpectedRow follows

// The row a run most likely has after one of row nPrevious: the next row of
// a list, or again none (0) after a pattern's marker; 0 before the first run.
std::uint32_t ExpectedRow(std::uint32_t nPrevious)
{
    return nPrevious == 0 ? 0 : nPrevious + 1;
}

void AppendNumber(std::string& out, std::size_t nValue)
{
    for (; nValue >= 0x80; nValue >>= 7)
        out += static_cast<char>(0x80 | (nValue & 0x7F));
    out += static_cast<char>(nValue);
}

std::size_t ReadNumber(const char*& p)
{
    std::size_t nValue = 0;
    for (int nShift = 0;; nShift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        nValue |= std::size_t{byte & 0x7Fu} << nShift;
        if (byte < 0x80)
            return nValue;
    }
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
    const std::size_t nColumns = table.ColumnCount();
    CMarkerFault beyond{0, false, Kind::ColumnBeyondList, {}, 0};
    beyond.m_nColumns = nColumns;
    for (const std::size_t c : options.m_columns)
        if (c >= nColumns) {
            beyond.m_nColumn = c;
            return Refuse(beyond, fault);
        }
    for (const std::size_t c : options.m_farEndColumns)
        if (c >= nColumns) {
            beyond.m_nColumn = c;
            beyond.m_bFarEnd = true;
            return Refuse(beyond, fault);
        }
    if (options.m_quantityColumn && *options.m_quantityColumn >= nColumns) {
        beyond.m_nColumn = *options.m_quantityColumn;
        beyond.m_bQuantityColumn = true;
        return Refuse(beyond, fault);
    }
    CMarkerList built;
    built.Reserve(MarkerBytes(table, options));
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
        const std::optional<std::string> nearEnd = RowMarker(table, r, options.m_columns, options, rowFault);
        if (!nearEnd)
            return Refuse(std::move(rowFault), fault);
        std::optional<std::string> farEnd;
        if (bTwoEnds) {
            rowFault.m_bFarEnd = true;
            farEnd = RowMarker(table, r, options.m_farEndColumns, options, rowFault);
            if (!farEnd)
                return Refuse(std::move(rowFault), fault);
        }
        if (nCount == 0)
            continue;
        built.Add({*nearEnd, nCount, static_cast<std::uint32_t>(r + 1),
                   farEnd ? std::optional<std::string_view>(*farEnd) : std::nullopt});
    }
    markers = std::move(built);
    return {};
}

void CMarkerList::Add(const CMarkerRun& run)
{
    const std::size_t nLength = run.m_strText.size();
    unsigned header = nLength < kLengthBits ? static_cast<unsigned>(nLength) : kLengthBits;
    if (run.m_farEnd)
        header |= kHasFarEnd;
    if (run.m_nCount != 1)
        header |= kHasCount;
    if (run.m_nRow != ExpectedRow(m_nLastRow))
        header |= kHasRow;
    m_bytes += static_cast<char>(header);
    if (nLength >= kLengthBits)
        AppendNumber(m_bytes, nLength);
    if (header & kHasCount)
        AppendNumber(m_bytes, run.m_nCount);
    if (header & kHasRow)
        AppendNumber(m_bytes, run.m_nRow);
    m_bytes += run.m_strText;
    if (run.m_farEnd) {
        AppendNumber(m_bytes, run.m_farEnd->size());
        m_bytes += *run.m_farEnd;
    }
    m_nLastRow = run.m_nRow;
    ++m_nRuns;
    m_nTotal += run.LabelCount();
}

CMarkerList::CIterator::CIterator(const char* pRun, const char* pEnd)
    : m_pRun(pRun), m_pNext(pRun), m_pEnd(pEnd)
{
    ++*this;
}

CMarkerList::CIterator& CMarkerList::CIterator::operator++()
{
    m_pRun = m_pNext;
    if (m_pRun == m_pEnd)
        return *this;
    const char* p = m_pRun;
    const auto header = static_cast<unsigned char>(*p++);
    const std::size_t nLength = (header & kLengthBits) < kLengthBits ? header & kLengthBits : ReadNumber(p);
    m_run.m_nCount = header & kHasCount ? static_cast<std::uint32_t>(ReadNumber(p)) : 1;
    m_run.m_nRow = header & kHasRow ? static_cast<std::uint32_t>(ReadNumber(p)) : ExpectedRow(m_run.m_nRow);
    m_run.m_strText = {p, nLength};
    p += nLength;
    m_run.m_farEnd.reset();
    if (header & kHasFarEnd) {
        const std::size_t nFarLength = ReadNumber(p);
        m_run.m_farEnd.emplace(p, nFarLength);
        p += nFarLength;
    }
    m_pNext = p;
    return *this;
}
