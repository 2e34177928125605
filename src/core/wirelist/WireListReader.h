#pragma once

#include "wirelist/WireTable.h"

#include <cstddef>
#include <string>
#include <string_view>

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
    char m_cDelimiter = ',';   // of a text list
    bool m_bTruncated = false; // the row limit cut the list short
};

// Reads the list in `bytes`. Returns an empty string, or what is wrong with
// it ("the zip container is damaged", "row 1000001: ..."), without the file's
// name.
std::string ReadWireListBytes(std::string_view bytes, const CWireListOptions& options, CWireList& list);

// Reads the file; a message names the file ("'wires.csv': ...").
std::string ReadWireListFile(const std::string& path, const CWireListOptions& options, CWireList& list);
