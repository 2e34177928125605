#pragma once

#include "wirelist/WireTable.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turning the rows of a wire list into marker texts, one text per row, ready
// for a label: code page 936, lines separated by CR LF, at most
// kLabelTextLimit bytes.

// At most this many copies of one row: a quantity beyond it is a typing error.
constexpr int kMaxMarkerCopies = 1000;
// At most this many rows above the list name its columns (a title, the names,
// units): more is a typing error.
constexpr int kMaxHeaderRows = 100;

struct CMarkerOptions
{
    std::vector<std::size_t> m_columns{0}; // from 0, in the order they are joined
    // Not empty: each row gives a pair of markers, the near end from
    // m_columns, the far end from these columns, joined the same way.
    std::vector<std::size_t> m_farEndColumns;
    std::string m_strJoin = "\n";                // UTF-8; "\n" gives one line per column
    std::size_t m_nHeaderRows = 0;               // rows above the list: titles, column names
    bool m_bSkipEmptyCells = true;               // an empty cell leaves no join behind
    int m_nCopies = 1;                           // markers per row
    std::optional<std::size_t> m_quantityColumn; // instead of m_nCopies: each row's own count
};

// Columns as people name them: "1,3" (from 1) or "A,C" (spreadsheet letters),
// separated by commas, blanks allowed. Returned from 0; nullopt for anything
// else.
std::optional<std::vector<std::size_t>> ParseColumnList(std::string_view text);
std::optional<std::size_t> ParseColumn(std::string_view text);
// A column's letters as spreadsheets name it: 0 is "A", 26 "AA".
std::string ColumnLetters(std::size_t nColumn);

// The columns of a wire's two ends, "1,2/1,3": the near end's, a slash, the
// far end's, each as ParseColumnList reads them.
struct CEndColumns
{
    std::vector<std::size_t> m_near;
    std::vector<std::size_t> m_far;
};
std::optional<CEndColumns> ParseEndColumns(std::string_view text);
// The same columns written back: "1,2/1,3".
std::string EndColumnsText(const CEndColumns& ends);

// One row's marker and how many times it is printed. A row of a two-ended
// list gives a pair: each copy prints the near end's marker, then the far
// end's, so that a wire's two markers sit side by side. The texts are views
// into the list that holds the run.
struct CMarkerRun
{
    std::string_view m_strText; // code page 936, CR LF
    std::uint32_t m_nCount = 0;
    std::uint32_t m_nRow = 0; // the list's row it comes from (from 1); 0 for a pattern's marker
    std::optional<std::string_view> m_farEnd; // code page 936, CR LF

    // Labels the run takes: its count, twice for a pair.
    std::size_t LabelCount() const { return m_farEnd ? 2 * std::size_t{m_nCount} : m_nCount; }
    // The text of the run's nLabel'th label, from 0.
    std::string_view LabelText(std::size_t nLabel) const
    {
        return m_farEnd && nLabel % 2 == 1 ? *m_farEnd : m_strText;
    }
};

// The runs of a job, in order, in one block of bytes however long the list:
// a run takes a header byte and its text, so that a million markers cost
// little more than their characters. Read them front to back with begin()
// and end(); an iterator stays valid until the list changes.
class CMarkerList
{
public:
    class CIterator
    {
    public:
        using iterator_category = std::input_iterator_tag; // a run lives in its iterator
        using value_type = CMarkerRun;
        using difference_type = std::ptrdiff_t;
        using pointer = const CMarkerRun*;
        using reference = const CMarkerRun&;

        CIterator() = default;
        const CMarkerRun& operator*() const { return m_run; }
        const CMarkerRun* operator->() const { return &m_run; }
        CIterator& operator++();
        bool operator==(const CIterator& other) const { return m_pRun == other.m_pRun; }

    private:
        friend class CMarkerList;
        CIterator(const char* pRun, const char* pEnd);

        const char* m_pRun = nullptr;  // this run's header
        const char* m_pNext = nullptr; // the next run's
        const char* m_pEnd = nullptr;
        CMarkerRun m_run;
    };

    CMarkerList() = default;
    CMarkerList(std::initializer_list<CMarkerRun> runs)
    {
        for (const CMarkerRun& run : runs)
            Add(run);
    }

    // Appends a run; its texts are copied.
    void Add(const CMarkerRun& run);
    // Room for nBytes of runs, taken at once: about their text and a byte
    // a run.
    void Reserve(std::size_t nBytes) { m_bytes.reserve(nBytes); }

    CIterator begin() const { return {m_bytes.data(), m_bytes.data() + m_bytes.size()}; }
    CIterator end() const { return {m_bytes.data() + m_bytes.size(), m_bytes.data() + m_bytes.size()}; }
    bool Empty() const { return m_bytes.empty(); }
    std::size_t RunCount() const { return m_nRuns; }
    // Markers, the sum of every run's label count.
    std::size_t Total() const { return m_nTotal; }

private:
    std::string m_bytes;
    std::size_t m_nRuns = 0;
    std::size_t m_nTotal = 0;
    std::uint32_t m_nLastRow = 0;
};

// Why a row cannot be a marker, for a message in the reader's language.
struct CMarkerFault
{
    enum class Kind {
        TooLong,        // m_nBytes stored bytes, more than kLabelTextLimit
        NotCodePage936, // m_strDetail: the first character code page 936 cannot hold
        BadQuantity,    // m_strDetail: the quantity cell
        // A column named past the list's last (m_nColumn from 0; the list has
        // m_nColumns): no row's marker would come from it. Of no row.
        ColumnBeyondList,
    };
    std::size_t m_nRow = 0; // from 1, as the list numbers it
    bool m_bFarEnd = false; // the far end's marker (end B) of a two-ended row
    Kind m_kind = Kind::TooLong;
    std::string m_strDetail; // UTF-8
    std::size_t m_nBytes = 0;
    bool m_bQuantityColumn = false; // ColumnBeyondList: the quantity column's
    std::size_t m_nColumn = 0;
    std::size_t m_nColumns = 0;
};

// Every row's marker, all or nothing. A column past the list's last is
// refused before any row is read. Rows whose chosen cells are all empty
// give no marker. On the first row that cannot be a marker returns why,
// naming it by its number in the list ("row 12: ..."), fills `fault` when
// given, and leaves `markers` empty.
std::string BuildMarkers(const CWireTable& table, const CMarkerOptions& options, CMarkerList& markers,
                         CMarkerFault* fault = nullptr);
