#include "wirelist/WireListReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string kLists = std::string(TAVRO_TEST_DATA) + "/wirelists/";

// The rows of source.csv, from which LibreOffice wrote every fixture.
const std::vector<std::vector<std::string>> kSourceRows = {
    {"线号", "起点", "终点", "数量"},
    {"W001", "X1:1", "K1:A1", "2"},
    {"W002", "X1:2", "K1:A2", "1"},
    {"W003", "X1:3", "K2:13\nK2:14", "3"},
    {},
    {"W005", "电源+", "PE", "1"},
    {"1001", "X2:1", "X3:1", "0"},
};

void ExpectSourceRows(const CWireTable& table)
{
    ASSERT_EQ(table.RowCount(), kSourceRows.size());
    EXPECT_EQ(table.ColumnCount(), 4u);
    for (std::size_t r = 0; r < kSourceRows.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        for (std::size_t c = 0; c < 4; ++c) {
            const std::string expected = c < kSourceRows[r].size() ? kSourceRows[r][c] : "";
            EXPECT_EQ(table.Cell(r, c), expected) << "column " << c + 1;
        }
    }
}

std::string ReadError(const std::string& bytes, const CWireListOptions& options = {})
{
    CWireList list;
    return ReadWireListBytes(bytes, options, list);
}

} // namespace

TEST(WireListReader, ReadsWhatSpreadsheetProgramsWrite)
{
    struct Case
    {
        const char* file;
        WireListKind kind;
        const char* encoding; // of a text list
        char delimiter;
    };
    const Case cases[] = {
        {"libreoffice-utf8.csv", WireListKind::Text, "UTF-8", ','},
        {"libreoffice-gb18030.csv", WireListKind::Text, "GB18030", ';'},
        {"libreoffice.tsv", WireListKind::Text, "UTF-8", '\t'},
        {"utf8-bom.csv", WireListKind::Text, "UTF-8", ','},
        {"utf16-bom.csv", WireListKind::Text, "UTF-16LE", ','},
        {"libreoffice.xlsx", WireListKind::Xlsx, "", ','},
        {"libreoffice.ods", WireListKind::Ods, "", ','},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CWireList list;
        ASSERT_EQ(ReadWireListFile(kLists + c.file, {}, list), "");
        EXPECT_EQ(list.m_kind, c.kind);
        if (c.kind == WireListKind::Text) {
            EXPECT_EQ(list.m_strEncoding, c.encoding);
            EXPECT_EQ(list.m_cDelimiter, c.delimiter);
        }
        ExpectSourceRows(list.m_table);
    }
}

TEST(WireListReader, NamedEncodingAndWorksheet)
{
    CWireList list;
    CWireListOptions options;
    options.m_strEncoding = "GB18030";
    ASSERT_EQ(ReadWireListFile(kLists + "libreoffice-gb18030.csv", options, list), "");
    ExpectSourceRows(list.m_table);

    // A named encoding still drops the byte order mark.
    options.m_strEncoding = "UTF-8";
    ASSERT_EQ(ReadWireListFile(kLists + "utf8-bom.csv", options, list), "");
    ExpectSourceRows(list.m_table);

    // GB18030 bytes named as UTF-8 are refused, not garbled.
    options.m_strEncoding = "UTF-8";
    EXPECT_NE(ReadWireListFile(kLists + "libreoffice-gb18030.csv", options, list).find("not valid UTF-8"),
              std::string::npos);

    for (const char* file : {"libreoffice.xlsx", "libreoffice.ods"}) {
        SCOPED_TRACE(file);
        CWireListOptions named;
        named.m_strWorksheet = "wires";
        ASSERT_EQ(ReadWireListFile(kLists + file, named, list), "");
        ExpectSourceRows(list.m_table);
        named.m_strWorksheet = "Sheet9";
        EXPECT_EQ(ReadWireListFile(kLists + file, named, list),
                  "'" + kLists + file + "': the workbook has no worksheet named 'Sheet9' (it has 'wires')");
    }
}

TEST(WireListReader, QuotingAndLineEnds)
{
    struct Case
    {
        const char* name;
        std::string text;
        std::vector<std::vector<std::string>> rows;
    };
    const std::vector<Case> cases = {
        {"CR LF, quoted break and quote",
         "a,\"b\r\nc\",\"say \"\"hi\"\"\"\r\nd,e,f\r\n",
         {{"a", "b\r\nc", "say \"hi\""}, {"d", "e", "f"}}},
        {"last line without an end", "a;b\nc;d", {{"a", "b"}, {"c", "d"}}},
        {"old Mac line ends", "a\tb\rc\td\r", {{"a", "b"}, {"c", "d"}}},
        {"quote inside an unquoted cell is text", "5\" cable,x\n", {{"5\" cable", "x"}}},
        {"empty cells and rows kept in place", "a,,c\n\n,b,\n", {{"a", "", "c"}, {}, {"", "b"}}},
        {"trailing empty rows dropped", "a\n,,\n\n", {{"a"}}},
        {"single column", "W1\nW2\n", {{"W1"}, {"W2"}}},
        {"semicolons beat commas inside text",
         "W1;a,b\nW2;c\nW3;d\n",
         {{"W1", "a,b"}, {"W2", "c"}, {"W3", "d"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWireList list;
        ASSERT_EQ(ReadWireListBytes(c.text, {}, list), "");
        ASSERT_EQ(list.m_table.RowCount(), c.rows.size());
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            for (std::size_t col = 0; col < 3; ++col)
                EXPECT_EQ(list.m_table.Cell(r, col), col < c.rows[r].size() ? c.rows[r][col] : "")
                    << "row " << r + 1 << " column " << col + 1;
    }
}

TEST(WireListReader, RefusesWhatIsNotAWireList)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* message; // a part of the message
    };
    std::string millionRows;
    for (std::size_t i = 0; i <= kMaxWireListRows; ++i)
        millionRows += "W\n";
    const Case cases[] = {
        {"empty file", "", "the file is empty"},
        {"only line ends", "\n\r\n,,\n", "the list has no cells"},
        {"unclosed quote", "a\nb,\"c\nd\n", "row 2: a quoted cell is not closed"},
        {"NUL bytes", std::string("a,b\0c\n", 6), "binary data"},
        {"UTF-16 without a mark", std::string("a\0,\0b\0\n\0", 8), "binary data"},
        {"an old .xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(64, '\0'), ".xls"},
        {"zip of something else", std::string("PK\x05\x06", 4) + std::string(18, '\0'),
         "neither an .xlsx nor an .ods"},
        {"a million rows and one", millionRows, "more than 1000000 rows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string error = ReadError(c.bytes);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(WireListReader, RefusesDamagedAndHostileFiles)
{
    struct Case
    {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"bomb.xlsx", "would unpack to 300 MB, more than 256 MB"},
        {"truncated.xlsx", "the zip container is damaged"},
        {"junk.bin", "neither UTF-8 nor GB18030"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CWireList list;
        const std::string error = ReadWireListFile(kLists + c.file, {}, list);
        EXPECT_TRUE(error.starts_with("'" + kLists + c.file + "': ")) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    CWireList list;
    EXPECT_EQ(ReadWireListFile(kLists + "missing.csv", {}, list),
              "'" + kLists + "missing.csv': No such file or directory");
    EXPECT_EQ(ReadWireListFile(kLists, {}, list), "'" + kLists + "': is a folder, not a wire list");
}

TEST(WireListReader, RowLimitReadsTheFirstRowsOnly)
{
    for (const char* file : {"libreoffice-utf8.csv", "libreoffice.xlsx", "libreoffice.ods"}) {
        SCOPED_TRACE(file);
        CWireListOptions options;
        options.m_nRowLimit = 3;
        CWireList list;
        ASSERT_EQ(ReadWireListFile(kLists + file, options, list), "");
        EXPECT_TRUE(list.m_bTruncated);
        ASSERT_EQ(list.m_table.RowCount(), 3u);
        EXPECT_EQ(list.m_table.Cell(2, 0), "W002");
    }
}
