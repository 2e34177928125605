#include "wirelist/NumberFormat.h"
#include "wirelist/TableBuilder.h"
#include "wirelist/WireListReader.h"

#include "RepeatedText.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <minizip/zip.h>

#include <cstdint>
#include <fstream>
#include <iterator>
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

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A zip container of the given parts, as a workbook is one, each part
// deflated (Z_DEFLATED) or stored (0).
std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& parts, int nMethod = Z_DEFLATED)
{
    const CTempDir dir;
    const std::string path = dir / "book.zip";
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return {};
    for (const auto& [name, content] : parts) {
        zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, nMethod,
                              nMethod ? Z_DEFAULT_COMPRESSION : 0, 0);
        zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return FileText(path);
}

// An .xlsx of one worksheet, its part `sheet`, and the shared strings given.
std::string XlsxOfSheet(const std::string& sheet, const std::string& sharedStrings = {},
                        int nMethod = Z_DEFLATED)
{
    std::vector<std::pair<std::string, std::string>> parts = {
        {"xl/workbook.xml",
         "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet},
    };
    if (!sharedStrings.empty())
        parts.push_back({"xl/sharedStrings.xml", "<sst>" + sharedStrings + "</sst>"});
    return ZipBytes(parts, nMethod);
}

// An .xlsx of one worksheet with `sheetData` and the shared strings given.
std::string Xlsx(const std::string& sheetData, const std::string& sharedStrings = {},
                 int nMethod = Z_DEFLATED)
{
    return XlsxOfSheet("<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>", sharedStrings,
                       nMethod);
}

// An .ods whose first table holds `rows`.
std::string Ods(const std::string& rows, int nMethod = Z_DEFLATED)
{
    return ZipBytes({{"content.xml", "<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" "
                                     "xmlns:text=\"x\"><office:body><office:spreadsheet><table:table "
                                     "table:name=\"S\">" +
                                         rows +
                                         "</table:table></office:spreadsheet></office:body>"
                                         "</office:document-content>"}},
                    nMethod);
}

// `bytes` with a 32-bit field of `part`'s entry set to nValue in its local
// header and in the central directory (offsets from each header's start).
std::string WithEntryField(std::string bytes, const std::string& part, std::size_t nLocalOffset,
                           std::size_t nCentralOffset, std::uint32_t nValue)
{
    // The local header comes first, the central directory's entry last; the
    // name follows 30 and 46 bytes of fixed fields.
    for (const std::size_t nAt :
         {bytes.find(part) - 30 + nLocalOffset, bytes.rfind(part) - 46 + nCentralOffset})
        for (std::size_t i = 0; i < 4; ++i)
            bytes[nAt + i] = static_cast<char>(nValue >> (8 * i));
    return bytes;
}

std::uint32_t EntryField(const std::string& bytes, const std::string& part, std::size_t nLocalOffset)
{
    std::uint32_t nValue = 0;
    for (std::size_t i = 4; i-- > 0;)
        nValue = nValue << 8 | static_cast<unsigned char>(bytes[bytes.find(part) - 30 + nLocalOffset + i]);
    return nValue;
}

std::string ReadError(const std::string& bytes, const CWireListOptions& options = {})
{
    CWireList list;
    return EnglishText(ReadWireListBytes(bytes, options, list));
}

// Reads `bytes` into `list`: true when they read, as an empty `message`
// expects; otherwise the refusal must hold `message`.
bool ReadsAsExpected(const std::string& bytes, const char* message, CWireList& list)
{
    const std::string error = EnglishText(ReadWireListBytes(bytes, {}, list));
    if (*message) {
        EXPECT_NE(error.find(message), std::string::npos) << error;
        return false;
    }
    EXPECT_EQ(error, "");
    return error.empty();
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
        ASSERT_EQ(EnglishText(ReadWireListFile(kLists + c.file, {}, list)), "");
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
    ASSERT_EQ(EnglishText(ReadWireListFile(kLists + "libreoffice-gb18030.csv", options, list)), "");
    ExpectSourceRows(list.m_table);

    // A named encoding still drops the byte order mark.
    options.m_strEncoding = "UTF-8";
    ASSERT_EQ(EnglishText(ReadWireListFile(kLists + "utf8-bom.csv", options, list)), "");
    ExpectSourceRows(list.m_table);

    // GB18030 bytes named as UTF-8 are refused, not garbled.
    options.m_strEncoding = "UTF-8";
    EXPECT_NE(EnglishText(ReadWireListFile(kLists + "libreoffice-gb18030.csv", options, list))
                  .find("not valid UTF-8"),
              std::string::npos);

    for (const char* file : {"libreoffice.xlsx", "libreoffice.ods"}) {
        SCOPED_TRACE(file);
        CWireListOptions named;
        named.m_strWorksheet = "wires";
        ASSERT_EQ(EnglishText(ReadWireListFile(kLists + file, named, list)), "");
        ExpectSourceRows(list.m_table);
        named.m_strWorksheet = "Sheet9";
        EXPECT_EQ(EnglishText(ReadWireListFile(kLists + file, named, list)),
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
        {"text after a closing quote joins the cell", "\"ab\"cd,\"\"\"x\"\"\"\n", {{"abcd", "\"x\""}}},
        {"an empty quoted cell", "\"\",b\n", {{"", "b"}}},
        {"two quotes in an unquoted cell", "a\"b\"c,d\n", {{"a\"b\"c", "d"}}},
        {"semicolons beat commas inside text",
         "W1;a,b\nW2;c\nW3;d\n",
         {{"W1", "a,b"}, {"W2", "c"}, {"W3", "d"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWireList list;
        ASSERT_EQ(EnglishText(ReadWireListBytes(c.text, {}, list)), "");
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
        {"lying-bomb.xlsx", "'xl/worksheets/sheet1.xml' unpacks to more than 256 MB"},
        {"truncated.xlsx", "the zip container is damaged"},
        {"crc-changed.xlsx", "'xl/worksheets/sheet1.xml' is damaged (CRC error)"},
        {"markup-too-long.xlsx", "'xl/worksheets/sheet1.xml' holds an XML tag longer than 1 MB"},
        {"junk.bin", "neither UTF-8 nor GB18030"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CWireList list;
        const std::string error = EnglishText(ReadWireListFile(kLists + c.file, {}, list));
        EXPECT_TRUE(error.starts_with("'" + kLists + c.file + "': ")) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    CWireList list;
    EXPECT_EQ(EnglishText(ReadWireListFile(kLists + "missing.csv", {}, list)),
              "'" + kLists + "missing.csv': No such file or directory");
    EXPECT_EQ(EnglishText(ReadWireListFile(kLists, {}, list)),
              "'" + kLists + "': is a folder, not a wire list");
}

namespace {

std::string GunzippedFile(const std::string& path)
{
    std::string bytes;
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[16 * 1024];
    for (int nRead; (nRead = gzread(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(nRead));
    gzclose(file);
    return bytes;
}

} // namespace

// Valid containers as other zip writers make them (make-containers.py, with
// Python's zipfile, from the parts of libreoffice.xlsx): zip64 extra fields
// in the local headers, written to a file or streamed with data descriptors,
// and an archive comment of 65,535 bytes. A zip64 extra field that gives
// another size than the directory is a damaged container still.
TEST(WireListReader, ReadsContainersOfOtherZipWriters)
{
    const std::string zip64 = FileText(kLists + "zip64.xlsx");
    const std::string sheet = "xl/worksheets/sheet1.xml";
    std::string zip64Lying = zip64;
    // The local header's zip64 extra field: its id and length, then the
    // unpacked size.
    zip64Lying[zip64Lying.find(sheet) + sheet.size() + 4] ^= 1;
    const struct
    {
        const char* name;
        std::string bytes;
        const char* message; // empty: read
    } cases[] = {
        {"zip64 extra fields", zip64, ""},
        {"zip64 extra fields, streamed", FileText(kLists + "zip64-streamed.xlsx"), ""},
        {"a comment of 65,535 bytes", GunzippedFile(kLists + "long-comment.xlsx.gz"), ""},
        {"a zip64 extra field giving another size", zip64Lying,
         "the zip container is damaged (Zip archive inconsistent)"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        ASSERT_GT(t.bytes.size(), 1000u);
        CWireList list;
        if (ReadsAsExpected(t.bytes, t.message, list))
            ExpectSourceRows(list.m_table);
    }
}

TEST(WireListReader, RowLimitReadsTheFirstRowsOnly)
{
    for (const char* file : {"libreoffice-utf8.csv", "libreoffice.xlsx", "libreoffice.ods"}) {
        SCOPED_TRACE(file);
        CWireListOptions options;
        options.m_nRowLimit = 3;
        CWireList list;
        ASSERT_EQ(EnglishText(ReadWireListFile(kLists + file, options, list)), "");
        EXPECT_TRUE(list.m_bTruncated);
        ASSERT_EQ(list.m_table.RowCount(), 3u);
        EXPECT_EQ(list.m_table.Cell(2, 0), "W002");
    }
}

// Small workbooks that would unfold into gigabytes, or cost the XML parser
// minutes, are refused as soon as a limit is passed.
TEST(WireListReader, RefusesWorkbooksThatUnfoldBeyondTheLimits)
{
    const std::string megabyteOfSpaces =
        "<text:p>" + Repeated("<text:s text:c=\"1000\"/>", 1050) + "</text:p>";
    const std::string wideSharedCell =
        "<row r=\"1\">" + Repeated("<c t=\"s\"><v>0</v></c>", 16384) + "</row>";
    const struct
    {
        const char* name;
        std::string bytes;
        const char* message; // a part of the message
    } cases[] = {
        {"an .ods cell of 1 MB repeated across the row",
         Ods("<table:table-row><table:table-cell table:number-columns-repeated=\"16384\">" +
             megabyteOfSpaces + "</table:table-cell></table:table-row>"),
         "more than 64 MB of text"},
        {"an .ods cell of spaces beyond 64 MB",
         Ods("<table:table-row><table:table-cell><text:p>" + Repeated("<text:s text:c=\"1000\"/>", 70000) +
             "</text:p></table:table-cell></table:table-row>"),
         "more than 64 MB of text"},
        {"an .ods row of many cells repeated a million times",
         Ods("<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
             "table:number-columns-repeated=\"16384\"><text:p>x</text:p></table:table-cell></"
             "table:table-row>"),
         "more than 8000000 cells"},
        {"16,384 .xlsx cells of one 1 MB shared string",
         Xlsx(wideSharedCell, "<si><t>" + std::string(1 << 20, 'w') + "</t></si>"),
         "more than 64 MB of text"},
        {"one shared string beyond 64 MB",
         Xlsx("", "<si><t>" + std::string((64u << 20) + 1, 's') + "</t></si>"), "more than 64 MB of text"},
        {"more shared strings than cells", Xlsx("", Repeated("<si/>", kMaxWireListCells + 1)),
         "more than 8000000 shared strings"},
        {"an attribute value of 2 MB",
         Xlsx("<row r=\"1\"><c r=\"A1\" s=\"" + std::string(2 << 20, '1') + "\"><v>1</v></c></row>"),
         "XML tag longer than 1 MB"},
        {"three parts of 200 MB each (make-hostile.py)", GunzippedFile(kLists + "parts-bomb.xlsx.gz"),
         "the workbook's parts unpack to more than 320 MB together"},
        {"elements nested 300 deep",
         Ods("<table:table-row><table:table-cell><text:p>" + Repeated("<text:span>", 300) + "x" +
             Repeated("</text:span>", 300) + "</text:p></table:table-cell></table:table-row>"),
         "nested more than 256 deep"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        ASSERT_FALSE(t.bytes.empty());
        const std::string error = ReadError(t.bytes);
        EXPECT_NE(error.find(t.message), std::string::npos) << error;
    }
}

// A ">" ends a tag only outside quotes, and a comment, an instruction or a
// declaration only at its own end: markup of more than 1 MB is refused
// whatever it holds (expat would read it anew with every block unpacked).
// Markup of every kind with ">" and quotes inside still reads, and the bytes
// after it are text again.
TEST(WireListReader, MarkupIsBoundedWhateverItHolds)
{
    const std::string twoMegabytes(2 << 20, 'm');
    const std::string cell = "<row r=\"1\"><c t=\"inlineStr\"><is><t>W1</t></is></c></row>";
    const std::string tooLong = "XML tag longer than 1 MB";
    const struct
    {
        const char* name;
        std::string bytes;
        std::string message;
    } refused[] = {
        {"a comment starting with >", Xlsx("<!-->" + twoMegabytes + "-->" + cell), tooLong},
        {"an attribute value starting with >", Xlsx("<row r=\"1\" x='>" + twoMegabytes + "'/>" + cell),
         tooLong},
        {"an instruction holding >", Xlsx("<?pi >" + twoMegabytes + "?>" + cell), tooLong},
        {"an entity value starting with >",
         XlsxOfSheet("<!DOCTYPE worksheet [<!ENTITY e \">" + twoMegabytes + "\">]><worksheet><sheetData>" +
                     cell + "</sheetData></worksheet>"),
         tooLong},
        {"a comment in the DOCTYPE holding ] and >",
         XlsxOfSheet("<!DOCTYPE worksheet [<!-- ]> " + twoMegabytes + " -->]><worksheet><sheetData>" + cell +
                     "</sheetData></worksheet>"),
         tooLong},
        {"a reference", Xlsx("<row r=\"1\"><c><v>&" + twoMegabytes + ";</v></c></row>"), tooLong},
        {"an .ods attribute value starting with >",
         Ods("<table:table-row table:style-name=\">" + twoMegabytes +
             "\"><table:table-cell><text:p>W1</text:p>"
             "</table:table-cell></table:table-row>"),
         tooLong},
    };
    for (const auto& t : refused) {
        SCOPED_TRACE(t.name);
        const std::string error = ReadError(t.bytes);
        EXPECT_NE(error.find(t.message), std::string::npos) << error;
    }

    const std::string longText(2 << 20, 't');
    const std::string sheet =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE worksheet [ <!-- a ] and a ' --> <?pi ] \" ?>"
        " <!ENTITY w \"W&#x31;>\"> <!ATTLIST row x CDATA '>'> ]>\n<!-- a comment with > and \" -->"
        "<worksheet><sheetData><?pi a > b?><row r=\"1\" x=\"a>b\" y='c\"d>'><c t=\"inlineStr\"><is><t>&w;"
        "<![CDATA[ <x> \"]] ]]>&amp;&#x41;</t></is></c></row><row r=\"2\"><c t=\"inlineStr\"><is><t>" +
        longText + "</t></is></c></row></sheetData></worksheet>";
    CWireList list;
    ASSERT_EQ(EnglishText(ReadWireListBytes(XlsxOfSheet(sheet), {}, list)), "");
    ASSERT_EQ(list.m_table.RowCount(), 2u);
    EXPECT_EQ(list.m_table.Cell(0, 0), "W1> <x> \"]] &A");
    EXPECT_EQ(list.m_table.Cell(1, 0), longText);
}

// A container whose two accounts of an entry differ, or that names two
// entries alike, is refused whole; a part that cannot be unpacked or turns
// out damaged as it unpacks is refused by name.
TEST(WireListReader, RefusesDamagedContainersAndParts)
{
    const std::string sheet =
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + Repeated("W001 ", 200) + "</t></is></c></row>";
    const std::string book = Xlsx(sheet);
    ASSERT_EQ(ReadError(book), "");
    const std::string sheetName = "xl/worksheets/sheet1.xml";
    // The local header comes first, the central directory's entry last.
    const std::size_t nLocalName = book.find(sheetName);
    const std::size_t nCentralName = book.rfind(sheetName);
    ASSERT_LT(nLocalName, nCentralName);
    const auto changed = [&](std::size_t nOffset, char ch) {
        std::string bytes = book;
        bytes[nOffset] = ch;
        return bytes;
    };
    const auto encrypted = [&] {
        std::string bytes = changed(nLocalName - 30 + 6, 1); // the flags of both headers
        bytes[nCentralName - 46 + 8] = 1;
        return bytes;
    };
    const struct
    {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"the local header names the part otherwise", changed(nLocalName + sheetName.size() - 1, 'k'),
         "the zip container is damaged (Zip archive inconsistent)"},
        {"the local header dates the part otherwise", changed(nLocalName - 30 + 12, '\x7f'),
         "the zip container is damaged (Zip archive inconsistent)"},
        {"two parts of one name",
         ZipBytes({{"xl/workbook.xml", "<workbook/>"}, {"content.xml", "<a/>"}, {"content.xml", "<b/>"}}),
         "the zip container is damaged"},
        {"the part's packed bytes damaged", changed(nLocalName + sheetName.size() + 20, '\xff'),
         "'xl/worksheets/sheet1.xml' is damaged"},
        {"an encrypted part", encrypted(),
         "'xl/worksheets/sheet1.xml' cannot be unpacked (No password provided)"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        const std::string error = ReadError(t.bytes);
        EXPECT_NE(error.find(t.message), std::string::npos) << error;
    }
}

// A part is unpacked to its end and its checksum and sizes compared, though
// the worksheet's reader stops at the end of its cells: a byte changed after
// the checksum was taken, or a size the directory gives wrongly, is found
// wherever it lies.
TEST(WireListReader, WorksheetsAreCheckedToTheirEnd)
{
    const auto xlsxRows = [](const char* second) {
        return "<row r=\"1\"><c t=\"inlineStr\"><is><t>W1</t></is></c></row><row r=\"2\"><c "
               "t=\"inlineStr\"><is><t>" +
               std::string(second) +
               "</t></is></c></row><row r=\"3\"><c t=\"inlineStr\"><is><t>W3</t></is></c></row>";
    };
    const auto odsRows = [](const char* second) {
        std::string rows;
        for (const char* text : {"W1", second, "W3"})
            rows += "<table:table-row><table:table-cell><text:p>" + std::string(text) +
                    "</text:p></table:table-cell></table:table-row>";
        return rows;
    };
    const std::string sheet = "xl/worksheets/sheet1.xml";
    const std::string content = "content.xml";
    // A part whose bytes say W9 where its checksum was taken over W2.
    const auto changedAfterChecksum = [&](int nMethod, bool bOds) {
        const std::string part = bOds ? content : sheet;
        const std::string good = bOds ? Ods(odsRows("W2"), nMethod) : Xlsx(xlsxRows("W2"), {}, nMethod);
        const std::string bad = bOds ? Ods(odsRows("W9"), nMethod) : Xlsx(xlsxRows("W9"), {}, nMethod);
        return WithEntryField(bad, part, 14, 16, EntryField(good, part, 14));
    };
    // A part whose unpacked or packed size the directory gives nDelta off.
    const auto sizeOff = [&](const std::string& book, const std::string& part, bool bPacked, int nDelta) {
        const std::size_t nLocal = bPacked ? 18 : 22;
        return WithEntryField(book, part, nLocal, bPacked ? 20 : 24, EntryField(book, part, nLocal) + nDelta);
    };
    const std::string xlsx = Xlsx(xlsxRows("W2"));
    const std::string storedXlsx = Xlsx(xlsxRows("W2"), {}, 0);
    const std::string ods = Ods(odsRows("W2"));
    const struct
    {
        const char* name;
        std::string bytes;
        const char* message; // empty: read as W1 W2 W3
    } cases[] = {
        {"a stored .xlsx", storedXlsx, ""},
        {"a stored .ods", Ods(odsRows("W2"), 0), ""},
        {"a changed byte, stored .xlsx", changedAfterChecksum(0, false),
         "'xl/worksheets/sheet1.xml' is damaged (CRC error)"},
        {"a changed byte, deflated .xlsx", changedAfterChecksum(Z_DEFLATED, false),
         "'xl/worksheets/sheet1.xml' is damaged (CRC error)"},
        {"a changed byte, stored .ods", changedAfterChecksum(0, true),
         "'content.xml' is damaged (CRC error)"},
        {"a changed byte, deflated .ods", changedAfterChecksum(Z_DEFLATED, true),
         "'content.xml' is damaged (CRC error)"},
        {"unpacked size a byte short, .xlsx", sizeOff(xlsx, sheet, false, -1),
         "is damaged (Unpacked size differs from the directory)"},
        {"unpacked size a byte long, .xlsx", sizeOff(xlsx, sheet, false, 1),
         "is damaged (Unpacked size differs from the directory)"},
        {"unpacked size a byte short, .ods", sizeOff(ods, content, false, -1),
         "is damaged (Unpacked size differs from the directory)"},
        {"stored size a byte long, stored .xlsx", sizeOff(storedXlsx, sheet, true, 1),
         "is damaged (Unpacked size differs from the directory)"},
        {"packed size a byte long, .xlsx", sizeOff(xlsx, sheet, true, 1),
         "is damaged (Packed size differs from the directory)"},
        {"packed size a byte short, .ods", sizeOff(ods, content, true, -1),
         "is damaged (Premature end of data)"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        CWireList list;
        if (!ReadsAsExpected(t.bytes, t.message, list))
            continue;
        ASSERT_EQ(list.m_table.RowCount(), 3u);
        EXPECT_EQ(list.m_table.Cell(1, 0), "W2");
    }
}

// Rows of an .xlsx stand at their numbers (r), whatever the order in the file;
// a preview of the first rows still ends at its limit.
TEST(WireListReader, XlsxRowsStandAtTheirNumbers)
{
    const std::string bytes = Xlsx("<row r=\"5\"><c r=\"A5\" t=\"inlineStr\"><is><t>five</t></is></c></row>"
                                   "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>two</t></is></c></row>"
                                   "<row r=\"3\"><c r=\"A3\"><v>3</v></c></row>");
    CWireList list;
    ASSERT_EQ(EnglishText(ReadWireListBytes(bytes, {}, list)), "");
    ASSERT_EQ(list.m_table.RowCount(), 5u);
    EXPECT_EQ(list.m_table.CellCount(0), 0u);
    EXPECT_EQ(list.m_table.Cell(1, 1), "two");
    EXPECT_EQ(list.m_table.Cell(2, 0), "3");
    EXPECT_EQ(list.m_table.CellCount(3), 0u);
    EXPECT_EQ(list.m_table.Cell(4, 0), "five");
}

namespace {

// The cells of a CSV fixture, read as any list.
CWireTable CsvCells(const std::string& name)
{
    CWireList list;
    EXPECT_EQ(EnglishText(ReadWireListFile(kLists + name, {}, list)), "");
    return list.m_table;
}

} // namespace

// Numbers show as Calc shows them in their formats: each row of the fixture
// holds a format code, a number and the number in that format; Calc's CSV
// export of the same workbook gives the text it shows for each.
TEST(WireListReader, NumbersAsTheSpreadsheetShowsThem)
{
    const CWireTable shown = CsvCells("formats-shown.csv");
    ASSERT_GT(shown.RowCount(), 40u);
    for (const char* book : {"formats-openpyxl.xlsx", "formats-libreoffice.xlsx"}) {
        SCOPED_TRACE(book);
        CWireList list;
        ASSERT_EQ(EnglishText(ReadWireListFile(kLists + book, {}, list)), "");
        ASSERT_EQ(list.m_table.RowCount(), shown.RowCount());
        for (std::size_t r = 1; r < shown.RowCount(); ++r) {
            SCOPED_TRACE(std::string(shown.Cell(r, 0)) + " of " + std::string(shown.Cell(r, 1)));
            EXPECT_EQ(list.m_table.Cell(r, 2), shown.Cell(r, 2));
        }
    }
}

// A list as a shop receives it: a title row above the column names, the two
// ends of each wire, dates and decimals, read the same from both workbooks.
TEST(WireListReader, HandedOverWorkbooks)
{
    const std::vector<std::vector<std::string>> expected = {
        {"接线表 柜 A1", "", "", "", "", ""},
        {"线号", "A 端", "B 端", "数量", "日期", "截面"},
        {"W001", "-X2:2", "-K2:8", "2", "2024-03-16", "1.5"},
        {"W002", "-X2:3", "", "1", "2024-03-17", "2.5"},
        {"W003", "-X2:4", "-K3:1", "1", "2024-12-01", "0.75"},
    };
    for (const char* book : {"handover.xlsx", "handover.ods"}) {
        SCOPED_TRACE(book);
        CWireList list;
        ASSERT_EQ(EnglishText(ReadWireListFile(kLists + book, {}, list)), "");
        ASSERT_EQ(list.m_table.RowCount(), expected.size());
        for (std::size_t r = 0; r < expected.size(); ++r)
            for (std::size_t c = 0; c < expected[r].size(); ++c)
                EXPECT_EQ(list.m_table.Cell(r, c), expected[r][c]) << "row " << r + 1 << " column " << c + 1;
    }
}

// openpyxl writes formulas without their results: the column is named
// rather than read as empty.
TEST(WireListReader, FormulaWithoutResultIsNamed)
{
    CWireList list;
    const CWireListProblem problem = ReadWireListFile(kLists + "formula-openpyxl.xlsx", {}, list);
    EXPECT_EQ(problem.m_kind, CWireListProblem::Kind::FormulaWithoutResult);
    EXPECT_EQ(problem.m_strDetail, "E");
    EXPECT_EQ(problem.m_nRow, 2u);
    EXPECT_NE(EnglishText(problem).find("column E holds formulas without a saved result"), std::string::npos);
}

namespace {

// UTF-8 text in another encoding, as a program in that locale writes it.
std::string Encoded(const std::string& utf8, const char* encoding)
{
    iconv_t converter = iconv_open(encoding, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t nIn = utf8.size();
    char* next = out.data();
    std::size_t nOut = out.size();
    const std::size_t nResult = iconv(converter, &in, &nIn, &next, &nOut);
    iconv_close(converter);
    EXPECT_NE(nResult, static_cast<std::size_t>(-1)) << encoding;
    out.resize(out.size() - nOut);
    return out;
}

} // namespace

// Text that is not UTF-8 is read in the likelier of the readings weighed,
// not in the detector's guess alone nor the first one that decodes it; a
// second plausible reading is offered. Lists of one and two rows, what
// someone types to reprint a few markers, and lists whose only Chinese is a
// colour column were misread before.
TEST(WireListReader, DetectsTheEncodingOfTheWholeText)
{
    const struct
    {
        const char* name;
        std::string text; // UTF-8
        const char* written;
        const char* read;
        const char* other; // offered beside it
    } cases[] = {
        {"short Chinese list", "线号,起点\nW1,电源\n", "GB18030", "GB18030", "BIG5"},
        {"Chinese list",
         "线号,起点,终点,数量\nW001,X1:1,K1:A1,2\nW002,电机 M1,接触器,1\nW003,端子排,断路器,3\n", "GB18030",
         "GB18030", "BIG5"},
        {"GBK, two markers", "W1,电机\r\n", "CP936", "GB18030", "BIG5"},
        {"GBK, Chinese in the colour column only",
         "线号,起点,终点,颜色\r\nW001,X1:1,K1:A1,红\r\nW002,X1:2,K1:A2,黄绿\r\nW003,X1:3,K1:A3,蓝\r\n",
         "CP936", "GB18030", "BIG5"},
        {"GBK, one row, colour only", "W001,X1:1,K1:A1,红\r\n", "CP936", "GB18030", "BIG5"},
        {"GB18030 beyond code page 936", "线号,截面\r\nW1,1.5mm²\r\nW2,2.5mm²\r\n", "GB18030", "GB18030", ""},
        {"Big5, two markers", "T001,馬達\r\n", "BIG5", "BIG5", "GB18030"},
        {"Shift_JIS, two markers", "J1,モーター\r\n", "SHIFT_JIS", "SHIFT_JIS", ""},
        {"Traditional Chinese", "線號,起點,終點\nW001,電源,接觸器\nW002,馬達,斷路器\n", "BIG5", "BIG5",
         "GB18030"},
        {"Japanese", "線番号,始点,終点\nW001,電源,接触器\nW002,モーター,ブレーカー\n", "SHIFT_JIS",
         "SHIFT_JIS", ""},
        {"Korean", "전선 번호,시작,끝\nW001,전원,접촉기\nW002,모터,차단기\n", "EUC-KR", "UHC", "GB18030"},
        {"Russian", "Провод;Начало;Конец\nW001;Питание;Контактор\nW002;Двигатель;Выключатель\n", "CP1251",
         "WINDOWS-1251", ""},
        {"Czech", "Vodič;Začátek;Konec\nW001;Napájení;Stykač\nW002;Motor;Jistič řízení\n", "CP1250",
         "WINDOWS-1250", ""},
        {"German colours", "Ader;Farbe\r\nW1;grün-gelb\r\nW2;weiß\r\n", "CP1252", "WINDOWS-1252", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CWireList list;
        ASSERT_EQ(EnglishText(ReadWireListBytes(Encoded(c.text, c.written), {}, list)), "");
        EXPECT_EQ(list.m_strEncoding, c.read);
        EXPECT_EQ(list.m_strOtherEncoding, c.other);
        EXPECT_TRUE(list.m_bEncodingWeighed);
        CWireList original;
        ASSERT_EQ(EnglishText(ReadWireListBytes(c.text, {}, original)), "");
        EXPECT_FALSE(original.m_bEncodingWeighed);
        ASSERT_EQ(list.m_table.RowCount(), original.m_table.RowCount());
        for (std::size_t r = 0; r < original.m_table.RowCount(); ++r)
            for (std::size_t col = 0; col < original.m_table.ColumnCount(); ++col)
                EXPECT_EQ(list.m_table.Cell(r, col), original.m_table.Cell(r, col));
    }

    // A semicolon list from European Excel, written by Calc in Windows-1252.
    CWireList european;
    ASSERT_EQ(EnglishText(ReadWireListFile(kLists + "windows-1252.csv", {}, european)), "");
    EXPECT_EQ(european.m_strEncoding, "WINDOWS-1252");
    EXPECT_EQ(european.m_table.Cell(1, 1), "Motorschütz");
    EXPECT_EQ(european.m_table.Cell(2, 1), "Leitungsschutzschalter Größe 1");
}

// A large list is weighed by slices from all over it, and the command line
// says what it read.
TEST(WireListReader, WeighsALargeListBySlicesAndSaysWhatItRead)
{
    std::string gbkList = Encoded("线号,起点,终点,颜色\r\n", "CP936");
    const std::string row = Encoded("W001,X1:1,K1:A1,黄绿\r\n", "CP936");
    while (gbkList.size() < (3u << 20))
        gbkList += row;
    CWireList list;
    ASSERT_EQ(EnglishText(ReadWireListBytes(gbkList, {}, list)), "");
    EXPECT_EQ(list.m_strEncoding, "GB18030");
    EXPECT_EQ(list.m_table.Cell(list.m_table.RowCount() - 1, 3), "黄绿");
    EXPECT_EQ(EncodingNote(list, "wires.csv"),
              "'wires.csv': read as GB18030 (BIG5 would read it too: --encoding BIG5)");

    // Named, marked or UTF-8, nothing was weighed and nothing is said.
    CWireListOptions named;
    named.m_strEncoding = "GB18030";
    ASSERT_EQ(EnglishText(ReadWireListBytes(row, named, list)), "");
    EXPECT_EQ(EncodingNote(list, "wires.csv"), "");
    ASSERT_EQ(EnglishText(ReadWireListBytes("W1,电机\n", {}, list)), "");
    EXPECT_EQ(EncodingNote(list, "wires.csv"), "");
}

// A list in an encoding that expands (TSCII, remembered for the list or
// named) is decoded no further than a list's text can go: refused as too
// much text before the whole of it is made.
TEST(WireListReader, ExpandingEncodingStopsAtTheTextLimit)
{
    std::string tscii;
    for (int r = 0; r < 100; ++r)
        tscii += "W" + std::to_string(r) + "," + std::string(40, '\x87') + "\n";
    CWireListOptions named;
    named.m_strEncoding = "TSCII";
    CWireList list;
    const CWireListProblem problem = ReadTextList(tscii, named, list, 16 * 1024);
    EXPECT_EQ(problem.m_kind, CWireListProblem::Kind::TooMuchText);
    ASSERT_EQ(EnglishText(ReadTextList(tscii, named, list, 64 * 1024)), "");
    EXPECT_EQ(list.m_table.RowCount(), 100u);
    EXPECT_EQ(list.m_table.Cell(99, 1).size(), 360u);
}

// What the fixtures leave out: rounding that carries, digits among literals,
// closest fractions, text sections, the 1904 date system and codes too long
// to be real.
TEST(NumberFormat, FormatsBeyondTheFixtures)
{
    const struct
    {
        const char* code;
        double dValue;
        const char* shown;
    } cases[] = {
        {"0.0", 0.96, "1.0"},
        {"0.00E+00", 99999, "1.00E+05"},
        {"000-0000", 1234567, "123-4567"},
        {"# ??/??", 3.14159, "3 14/99"},
        {"?/?", 0.3333, "1/3"},
        {"# ?/8", 2.26, "2 2/8"},
        {"0;;", -5, ""},
        {"yyyy-mm-dd hh:mm", 45367.99999999, "2024-03-16 23:59"},
        {"General", -45367.25, "-45367.25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(FormatNumber(c.dValue, c.code), c.shown);
    }
    EXPECT_EQ(FormatNumber(0, "yyyy-mm-dd", true), "1904-01-01");
    EXPECT_EQ(FormatNumber(1.5, std::string(CNumberFormat::kMaxCodeBytes + 1, '0')), "1.5");
    EXPECT_EQ(CNumberFormat("\"W\"@").Text("12"), "W12");
    EXPECT_EQ(CNumberFormat("0.00;-0.00;0;\"[\"@\"]\"").Text("K1"), "[K1]");
    EXPECT_EQ(CNumberFormat("0.00").Text("K1"), "K1");
}
