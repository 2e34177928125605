#include "clipboard/HtmlTable.h"

#include "clipboard/LabelClipboard.h"
#include "model/Gbk.h"

#include "RepeatedText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Cells(const CWireTable& table)
{
    Rows rows(table.RowCount());
    for (std::size_t r = 0; r < table.RowCount(); ++r)
        for (std::size_t c = 0; c < table.CellCount(r); ++c)
            rows[r].emplace_back(table.Cell(r, c));
    return rows;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// The HTML spreadsheet programs put on the clipboard, read as a browser
// shows each cell: line breaks kept, entities decoded, white space as one.
TEST(HtmlTable, CellsAsSpreadsheetsWriteThem)
{
    const struct
    {
        const char* name;
        std::string html;
        Rows cells;
    } cases[] = {
        {"LibreOffice Calc",
         FileText(std::string(TAVRO_TEST_DATA) + "/clipboard/calc-cells.html"),
         {{"电机\nM1", "W2", "=+S1-K1:13"}, {"a&b <c>", "", "007"}}},
        {"Excel's breaks and a cell across columns",
         "<table><tr><td x:str>W1<br style='mso-data-placement:same-cell'>K1</td><TD COLSPAN=2>X</TD>"
         "<td>Y</td></tr></table>",
         {{"W1\nK1", "X", "", "Y"}}},
        {"entities and white space",
         "<table><tr><td>\n  a&nbsp;&#x41;&#66;&amp;&bogus;\n  b  </td><td>&lt;br&gt;</td></tr></table>",
         {{"a AB&&bogus; b", "<br>"}}},
        {"entities at the edge of their length",
         "<table><tr><td>&#00000065;&#000000065;&amp</td></tr></table>",
         {{"A&#000000065;&amp"}}},
        {"paragraphs are lines", "<table><tr><td><p>L1</p>\n<p>L2 </p></td></tr></table>", {{"L1\nL2"}}},
        {"only the first table, its own cells",
         "<style>td{}</style><p>before</p><!-- <table><tr><td>no</td></tr></table> -->"
         "<table><tbody><tr><th>H</th><td>in <table><tr><td>nested</td></tr></table></td></tr>"
         "<tr><td>2</td></tr><tr></tr></tbody></table><table><tr><td>second</td></tr></table>",
         {{"H", "in nested"}, {"2"}}},
        {"rows and cells left open", "<table><tr><td>A<td>B<tr><td>C", {{"A", "B"}, {"C"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CWireList list;
        ASSERT_EQ(ReadHtmlTable(c.html, list).m_kind, CWireListProblem::Kind::None);
        EXPECT_EQ(Cells(list.m_table), c.cells);
    }
    CWireList none;
    EXPECT_EQ(ReadHtmlTable("<p>just text</p>", none).m_kind, CWireListProblem::Kind::NoCells);
    EXPECT_EQ(ReadClipboardHtml("<p>just text</p>").m_refusal->m_kind, CPasteRefusal::Kind::Unreadable);
}

// Copied labels as HTML read back into the same cells as their text does,
// each cell marked as text for the spreadsheet.
TEST(HtmlTable, CopiedLabelsReadBackAsTheirText)
{
    CSheet sheet;
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_bSelected = 0;
    const std::vector<std::pair<CGridPosition, std::string>> labels = {
        {{0, 0}, "=+S1-K1:13"}, {{0, 2}, "电机\r\nM1"}, {{1, 1}, "a<b> & \"c\""}};
    for (const auto& [position, text] : labels) {
        CLabelRecord& label = sheet.m_labels[position.m_nRow][position.m_nColumn];
        label.m_bSelected = 1;
        label.m_strText = *Utf8ToGbk(text);
    }
    const CCopiedLabels copied = CopySelectedLabels(sheet);
    EXPECT_NE(copied.m_strHtml.find("<td sdnum=\"2052;0;@\">=+S1-K1:13</td>"), std::string::npos);
    const CClipboardTexts fromHtml = ReadClipboardHtml(copied.m_strHtml);
    const CClipboardTexts fromText = ReadClipboardText(copied.m_strText);
    ASSERT_FALSE(fromHtml.m_refusal);
    EXPECT_EQ(fromHtml.m_texts, fromText.m_texts);
    EXPECT_EQ(fromHtml.m_texts.size(), 6u);
    EXPECT_EQ(fromHtml.m_texts[2], *Utf8ToGbk("电机\r\nM1"));
}

// A paste is held to the limits of a wire list, HTML and text alike: the
// empty cells a span adds are counted before they are made, and a cell of
// many "&" is read once and refused by its length.
TEST(HtmlTable, PastesBeyondTheLimitsOfAListAreRefused)
{
    using Kind = CPasteRefusal::Kind;
    const struct
    {
        const char* name;
        CClipboardTexts texts;
        Kind kind;
        std::size_t nLimit;
        std::size_t nLength; // TooLong
    } cases[] = {
        {"HTML cells spanning 1000 columns, 8,001 of them",
         ReadClipboardHtml("<table><tr>" + Repeated("<td colspan=1000>x</td>", 8001) + "</tr></table>"),
         Kind::TooManyCells, kMaxWireListCells, 0},
        {"an HTML table of a million rows and one",
         ReadClipboardHtml("<table>" + Repeated("<tr><td>x", kMaxWireListRows + 1) + "</table>"),
         Kind::TooManyRows, kMaxWireListRows, 0},
        {"text of 8,000,001 cells", ReadClipboardText(std::string(kMaxWireListCells, '\t')),
         Kind::TooManyCells, kMaxWireListCells, 0},
        {"an HTML cell of a million &",
         ReadClipboardHtml("<table><tr><td>" + std::string(1000000, '&') + "</td></tr></table>"),
         Kind::TooLong, 0, 1000000},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        ASSERT_TRUE(t.texts.m_refusal);
        EXPECT_TRUE(t.texts.m_texts.empty());
        EXPECT_EQ(t.texts.m_refusal->m_kind, t.kind);
        EXPECT_EQ(t.texts.m_refusal->m_nLimit, t.nLimit);
        EXPECT_EQ(t.texts.m_refusal->m_nLength, t.nLength);
    }
}
