#pragma once

#include "wirelist/WireTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Wire lists as people keep them: CSV or TSV text (comma, semicolon or tab,
// found from the text; quoted cells may hold line breaks) in UTF-8, UTF-16
// with a byte order mark, or GB18030; an .xlsx or .ods workbook. The kind is
// found from the content, never from the file name.

// Beyond these a list is refused rather than read: no wire list comes near,
// and a hostile file must not exhaust memory.
constexpr std::size_t kMaxWireListRows = 1'000'000;
constexpr std::size_t kMaxWireListCells = 8'000'000;
constexpr std::size_t kMaxWireListBytes = 64u << 20;      // a file, the text of all cells
constexpr std::size_t kMaxWorkbookPartBytes = 256u << 20; // an unpacked workbook part, streamed
// All parts read of one workbook, unpacked: a sheet at its largest and
// shared strings as large as a list's text, while a few kilobytes of zip
// never take long to read.
constexpr std::size_t kMaxWorkbookBytes = kMaxWorkbookPartBytes + kMaxWireListBytes;

struct CWireListOptions
{
    std::string m_strWorksheet; // a workbook's sheet by name; empty: the first
    std::string m_strEncoding;  // a text file's encoding (iconv name); empty: detected
    // Reading stops after this many rows (a preview); 0: the whole list.
    std::size_t m_nRowLimit = 0;
};

enum class WireListKind {
    Text,
    Xlsx,
    Ods,
};

struct CWireList
{
    CWireTable m_table;
    WireListKind m_kind = WireListKind::Text;
    std::string m_strEncoding; // of a text list: the encoding it was read in
    // Of a text list whose encoding was weighed: another encoding that reads
    // it as plausibly, offered beside the one chosen; empty when none does.
    std::string m_strOtherEncoding;
    bool m_bEncodingWeighed = false; // neither named nor marked by a byte order mark, nor UTF-8
    char m_cDelimiter = ',';         // of a text list
    bool m_bTruncated = false;       // the row limit cut the list short
};

// What keeps a list from being read: its kind and the facts a message
// names. The command line says it in English (EnglishText), the program in
// Chinese.
struct CWireListProblem
{
    enum class Kind {
        None,
        // the file
        Empty,
        Folder,
        TooLarge,  // m_nLimit bytes
        FileError, // m_nErrno
        OldXls,
        Binary,
        NoCells,
        // text lists
        UnknownEncoding, // m_strDetail: the name given
        InvalidText,     // m_strDetail: the encoding
        NeitherUtf8NorGb18030,
        QuoteNotClosed, // m_nRow
        // workbooks; m_strPart names the part where there is one
        ZipDamaged, // m_strDetail: the reason, in English
        NotAWorkbook,
        PartMissing,
        PartTooLarge,   // m_nCount bytes unpacked (0: more than the limit), m_nLimit bytes
        PartsTooLarge,  // m_nLimit bytes: all parts read, together
        PartUnpackable, // m_strDetail
        PartDamaged,    // m_strDetail
        TagTooLong,     // m_nLimit bytes
        NestedTooDeep,  // m_nLimit levels
        NotWellFormed,  // m_nRow: the line, m_strDetail: expat's reason
        NoWorksheet,
        NoSuchWorksheet,      // m_strDetail: the name asked for, m_names: the sheets
        WorksheetNotLocated,  // m_strDetail: the sheet
        FormulaWithoutResult, // m_strDetail: the column's letters, m_nRow: the first row
        // limits of every list
        TooManyRows,          // m_nLimit
        TooManyCells,         // m_nLimit
        TooMuchText,          // m_nLimit bytes
        TooManySharedStrings, // m_nLimit
    };

    Kind m_kind = Kind::None;
    std::string m_strPath; // the file, when read from one
    std::string m_strPart;
    std::string m_strDetail;
    std::vector<std::string> m_names;
    std::size_t m_nRow = 0;
    std::size_t m_nCount = 0;
    std::size_t m_nLimit = 0;
    int m_nErrno = 0;

    explicit operator bool() const { return m_kind != Kind::None; }
};

// "'wires.csv': row 3: a quoted cell is not closed"
std::string EnglishText(const CWireListProblem& problem);

// What the command line says of a text list whose encoding was weighed:
// "'wires.csv': read as GB18030 (BIG5 would read it too: --encoding BIG5)";
// empty for any other list.
std::string EncodingNote(const CWireList& list, const std::string& path);

// Whether a file's name says it is a wire list rather than a document: .csv,
// .tsv, .txt, .xlsx or .ods in any case. What it holds is found from its
// content once it is read.
bool IsWireListFileName(std::string_view path);

// Reads the list in `bytes`.
CWireListProblem ReadWireListBytes(std::string_view bytes, const CWireListOptions& options, CWireList& list);

// Reads the file; the problem names it.
CWireListProblem ReadWireListFile(const std::string& path, const CWireListOptions& options, CWireList& list);
