#include "wirelist/ListChoices.h"
#include "wirelist/MarkerSheets.h"
#include "wirelist/WireListReader.h"
#include "wirelist/WireMarkers.h"

#include "model/Gbk.h"
#include "text/EditText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

CWireTable Table(const std::string& csv)
{
    CWireList list;
    EXPECT_EQ(EnglishText(ReadWireListBytes(csv, {}, list)), "");
    return list.m_table;
}

// Every marker in order, runs spelled out, as UTF-8.
std::vector<std::string> Spelled(const CMarkerList& markers)
{
    std::vector<std::string> texts;
    for (const CMarkerRun& run : markers)
        for (std::size_t i = 0; i < run.LabelCount(); ++i)
            texts.push_back(GbkToUtf8(run.LabelText(i)).value_or("?"));
    return texts;
}

} // namespace

TEST(WireMarkers, ColumnLists)
{
    EXPECT_EQ(ParseColumnList("1,3"), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(ParseColumnList("A, c"), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(ParseColumnList("AA,2"), (std::vector<std::size_t>{26, 1}));
    for (const char* bad : {"", "0", "1,", ",1", "A1", "-1", "1.5", "XFE", "99999"})
        EXPECT_EQ(ParseColumnList(bad), std::nullopt) << bad;
}

TEST(WireMarkers, RowsBecomeMarkers)
{
    const CWireTable table = Table("线号,起点,数量\nW1,X1:1,2\n,,5\nW3,\"K1\r\nK2\",0\nW4,,1\n");
    struct Case
    {
        const char* name;
        CMarkerOptions options;
        std::vector<std::string> expected;
    };
    CMarkerOptions twoLines;
    twoLines.m_columns = {0, 1};
    twoLines.m_nHeaderRows = 1;
    CMarkerOptions joined = twoLines;
    joined.m_strJoin = " / ";
    CMarkerOptions copies = twoLines;
    copies.m_nCopies = 2;
    CMarkerOptions quantity;
    quantity.m_nHeaderRows = 1;
    quantity.m_quantityColumn = 2;
    CMarkerOptions withHeader;
    withHeader.m_columns = {1};
    CMarkerOptions keepEmpty = joined;
    keepEmpty.m_bSkipEmptyCells = false;
    const Case cases[] = {
        {"two lines, header skipped, empty row skipped", twoLines, {"W1\r\nX1:1", "W3\r\nK1\r\nK2", "W4"}},
        {"joined by a separator", joined, {"W1 / X1:1", "W3 / K1\r\nK2", "W4"}},
        {"empty cells joined when asked", keepEmpty, {"W1 / X1:1", "W3 / K1\r\nK2", "W4 / "}},
        {"copies for both wire ends",
         copies,
         {"W1\r\nX1:1", "W1\r\nX1:1", "W3\r\nK1\r\nK2", "W3\r\nK1\r\nK2", "W4", "W4"}},
        {"quantity column, 0 prints none", quantity, {"W1", "W1", "W4"}},
        {"header kept as a marker", withHeader, {"起点", "X1:1", "K1\r\nK2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMarkerList markers;
        ASSERT_EQ(BuildMarkers(table, c.options, markers), "");
        EXPECT_EQ(Spelled(markers), c.expected);
        EXPECT_EQ(markers.Total(), c.expected.size());
    }
}

// A list as a spreadsheet hands it over: a title row above the column names,
// a quantity column, and a cell left empty in the middle of the joined ones.
TEST(WireMarkers, TitleRowsAndEmptyCellsInAJoin)
{
    const CWireTable table = Table("接线表 柜 A1,,,\n线号,起点,终点,数量\nW1,X1:1,K1:A1,2\nW2,,K1:A2,1\n");
    CMarkerOptions options;
    options.m_columns = {0, 1, 2};
    options.m_strJoin = " - ";
    options.m_nHeaderRows = 2;
    options.m_quantityColumn = 3;
    CMarkerList markers;
    ASSERT_EQ(BuildMarkers(table, options, markers), "");
    EXPECT_EQ(Spelled(markers),
              (std::vector<std::string>{"W1 - X1:1 - K1:A1", "W1 - X1:1 - K1:A1", "W2 - K1:A2"}));

    options.m_strJoin = "\n";
    ASSERT_EQ(BuildMarkers(table, options, markers), "");
    EXPECT_EQ(Spelled(markers).back(), "W2\r\nK1:A2"); // no empty middle line

    // One header row leaves the column names as a row whose quantity is no number.
    options.m_nHeaderRows = 1;
    CMarkerFault fault;
    EXPECT_NE(BuildMarkers(table, options, markers, &fault), "");
    EXPECT_EQ(fault.m_nRow, 2u);
    EXPECT_EQ(fault.m_kind, CMarkerFault::Kind::BadQuantity);
}

TEST(WireMarkers, EndColumns)
{
    const struct
    {
        const char* text;
        std::optional<std::vector<std::size_t>> nearEnd, farEnd;
    } cases[] = {
        {"1,2/1,3", std::vector<std::size_t>{0, 1}, std::vector<std::size_t>{0, 2}},
        {"A, b / a,C", std::vector<std::size_t>{0, 1}, std::vector<std::size_t>{0, 2}},
        {"3/4", std::vector<std::size_t>{2}, std::vector<std::size_t>{3}},
        {"1,2", std::nullopt, std::nullopt},
        {"1,2/", std::nullopt, std::nullopt},
        {"/1", std::nullopt, std::nullopt},
        {"1/2/3", std::nullopt, std::nullopt},
        {"0/1", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<CEndColumns> ends = ParseEndColumns(c.text);
        ASSERT_EQ(ends.has_value(), c.nearEnd.has_value());
        if (!ends)
            continue;
        EXPECT_EQ(ends->m_near, *c.nearEnd);
        EXPECT_EQ(ends->m_far, *c.farEnd);
        EXPECT_EQ(ParseEndColumns(EndColumnsText(*ends))->m_far, ends->m_far);
    }
    EXPECT_EQ(EndColumnsText({{0, 1}, {0, 27}}), "1,2/1,28");
}

// Each end of a wire gets its own marker: the near end says where the wire
// goes, the far end where it comes from, and the two sit side by side.
TEST(WireMarkers, BothEndsSideBySide)
{
    const CWireTable table =
        Table("线号,起点,终点,数量\nW1,-X2:2,-K2:8,2\nW2,,-K3:1,1\n,,,1\nW4,-X9:1,-K9:1,0\n");
    CMarkerOptions ends;
    ends.m_nHeaderRows = 1;
    ends.m_columns = {0, 2};
    ends.m_farEndColumns = {0, 1};
    ends.m_strJoin = " → ";
    CMarkerOptions copies = ends;
    copies.m_nCopies = 2;
    CMarkerOptions quantity = ends;
    quantity.m_quantityColumn = 3;
    CMarkerOptions keepEmpty = ends;
    keepEmpty.m_bSkipEmptyCells = false;
    CMarkerOptions oneEndEmpty = ends;
    oneEndEmpty.m_columns = {1};
    oneEndEmpty.m_farEndColumns = {2};
    struct Case
    {
        const char* name;
        CMarkerOptions options;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a pair per row",
         ends,
         {"W1 → -K2:8", "W1 → -X2:2", "W2 → -K3:1", "W2", "W4 → -K9:1", "W4 → -X9:1"}},
        {"copies repeat the pair",
         copies,
         {"W1 → -K2:8", "W1 → -X2:2", "W1 → -K2:8", "W1 → -X2:2", "W2 → -K3:1", "W2", "W2 → -K3:1", "W2",
          "W4 → -K9:1", "W4 → -X9:1", "W4 → -K9:1", "W4 → -X9:1"}},
        {"the quantity counts pairs",
         quantity,
         {"W1 → -K2:8", "W1 → -X2:2", "W1 → -K2:8", "W1 → -X2:2", "W2 → -K3:1", "W2"}},
        {"empty cells joined when asked",
         keepEmpty,
         {"W1 → -K2:8", "W1 → -X2:2", "W2 → -K3:1", "W2 → ", "W4 → -K9:1", "W4 → -X9:1"}},
        {"an empty end keeps its place", oneEndEmpty, {"-X2:2", "-K2:8", "", "-K3:1", "-X9:1", "-K9:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMarkerList markers;
        ASSERT_EQ(BuildMarkers(table, c.options, markers), "");
        EXPECT_EQ(Spelled(markers), c.expected);
        EXPECT_EQ(markers.Total(), c.expected.size());
    }

    // A far end that does not fit names its end.
    CMarkerOptions tooLong = ends;
    tooLong.m_farEndColumns = {0, 1, 1, 1, 1, 1, 1};
    CMarkerList markers;
    CMarkerFault fault;
    EXPECT_EQ(BuildMarkers(table, tooLong, markers, &fault),
              "row 2, end B: the marker takes 56 bytes; a label "
              "holds at most 50");
    EXPECT_TRUE(fault.m_bFarEnd);
    EXPECT_EQ(fault.m_nRow, 2u);
}

// The list keeps its runs packed in one block: every kind of run comes back
// as it went in, whatever came before it.
TEST(WireMarkers, RunsComeBackAsAdded)
{
    const std::string longest(kLabelTextLimit, 'x');
    const std::string beyondALabel(300, 'y'); // longer than any label takes
    const struct
    {
        const char* name;
        CMarkerRun run;
    } cases[] = {
        {"the next row, one copy", {"W1", 1, 1}},
        {"the row after", {"W2", 1, 2}},
        {"rows skipped", {"W9", 1, 9}},
        {"a row before the last", {"W3", 1, 3}},
        {"a pattern's marker", {"P", 1, 0}},
        {"another one", {"P2", 1, 0}},
        {"no text", {"", 1, 10}},
        {"copies", {"C", 1000, 11}},
        {"no copies", {"Z", 0, 12}},
        {"a line break and Chinese", {"W1\r\n\xB5\xE7", 2, 13}},
        {"30 bytes", {std::string_view(longest).substr(0, 30), 1, 14}},
        {"31 bytes", {std::string_view(longest).substr(0, 31), 1, 15}},
        {"the longest marker", {longest, 1, 16}},
        {"longer still", {beyondALabel, 1, 17}},
        {"both ends", {"A", 3, 18, "B"}},
        {"an empty far end", {"A", 1, 19, ""}},
        {"a long far end", {"", 1, 20, longest}},
        {"the last row a list has", {"L", 7, 1'000'000, "R"}},
        {"the largest numbers", {"M", 0xFFFFFFFF, 0xFFFFFFFF}},
        {"and one after them", {"N", 1, 0}},
    };
    CMarkerList markers;
    std::size_t nTotal = 0;
    for (const auto& c : cases) {
        markers.Add(c.run);
        nTotal += c.run.LabelCount();
    }
    EXPECT_EQ(markers.RunCount(), std::size(cases));
    EXPECT_EQ(markers.Total(), nTotal);
    auto it = markers.begin();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(it, markers.end());
        EXPECT_EQ(it->m_strText, c.run.m_strText);
        EXPECT_EQ(it->m_nCount, c.run.m_nCount);
        EXPECT_EQ(it->m_nRow, c.run.m_nRow);
        EXPECT_EQ(it->m_farEnd, c.run.m_farEnd);
        ++it;
    }
    EXPECT_EQ(it, markers.end());

    const CMarkerList none;
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.begin(), none.end());
}

TEST(WireMarkers, FirstRowThatDoesNotFitStopsTheJob)
{
    struct Case
    {
        const char* name;
        std::string csv;
        CMarkerOptions options;
        const char* error;
    };
    CMarkerOptions header;
    header.m_nHeaderRows = 1;
    CMarkerOptions quantity;
    quantity.m_quantityColumn = 1;
    const std::string fifty(50, 'x');
    const Case cases[] = {
        {"51 bytes",
         "ok\n" + fifty + "y\n" + fifty + "zz\n",
         {},
         "row 2: the marker takes 51 bytes; a label holds at most 50"},
        {"Chinese counts two bytes", "ok\n" + std::string(49, 'x') + "线\n", header,
         "row 2: the marker takes 51 bytes"},
        {"outside code page 936", "ok\nWő1\n", {}, "row 2: 'ő' cannot be printed on a label"},
        {"quantity not a number", "W1,2\nW2,two\n", quantity,
         "row 2: the quantity 'two' is not a whole number"},
        {"quantity empty", "W1,\n", quantity, "row 1: the quantity '' is not a whole number"},
        {"quantity too large", "W1,1001\n", quantity, "row 1: the quantity '1001'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMarkerList markers{{"before", 99}};
        const std::string error = BuildMarkers(Table(c.csv), c.options, markers);
        EXPECT_TRUE(error.starts_with(c.error)) << error;
        EXPECT_TRUE(markers.Empty());
        EXPECT_EQ(markers.Total(), 0u);
    }
    CMarkerFault fault;
    CMarkerList refused;
    EXPECT_NE(BuildMarkers(Table("ok\nWő1\n"), {}, refused, &fault), "");
    EXPECT_EQ(fault.m_nRow, 2u);
    EXPECT_EQ(fault.m_kind, CMarkerFault::Kind::NotCodePage936);
    EXPECT_EQ(fault.m_strDetail, "ő");

    CMarkerList fits;
    ASSERT_EQ(BuildMarkers(Table(std::string(48, 'x') + "线\n"), {}, fits), "");
    ASSERT_FALSE(fits.Empty());
    EXPECT_EQ(fits.begin()->m_strText.size(), kLabelTextLimit);
}

// A column past the list's last would give blank markers (both ends) or
// drop silently (one of several columns): refused before any row is read,
// naming the list's column count. A short row is no reason: the widest row
// counts.
TEST(WireMarkers, ColumnPastTheLastIsRefused)
{
    const CWireTable table = Table("线号,起点,终点,颜色,数量\nW1,X1:1,K1:A1,红,1\nW2,X1:2\n");
    const auto options = [](std::vector<std::size_t> columns, std::vector<std::size_t> farEnd = {},
                            std::optional<std::size_t> quantity = std::nullopt) {
        CMarkerOptions made;
        made.m_columns = std::move(columns);
        made.m_farEndColumns = std::move(farEnd);
        made.m_quantityColumn = quantity;
        return made;
    };
    const struct
    {
        const char* name;
        CMarkerOptions options;
        const char* error; // empty: the markers are made
        bool bFarEnd;
        bool bQuantity;
    } cases[] = {
        {"--columns 3,9", options({2, 8}), "column 9 (I) is past the list's last: the list has 5 columns",
         false, false},
        {"--ends 3,2/9", options({2, 1}, {8}),
         "end B: column 9 (I) is past the list's last: the list has 5 columns", true, false},
        {"--ends 6/1", options({5}, {0}), "column 6 (F) is past the list's last: the list has 5 columns",
         false, false},
        {"--quantity-column F", options({0}, {}, 5),
         "quantity column 6 (F) is past the list's last: the list has 5 columns", false, true},
        {"the last column, empty in a short row", options({4}, {3}), "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMarkerList markers;
        CMarkerFault fault;
        EXPECT_EQ(BuildMarkers(table, c.options, markers, &fault), c.error);
        if (*c.error == 0) {
            EXPECT_EQ(markers.Total(), 4u);
            continue;
        }
        EXPECT_TRUE(markers.Empty());
        EXPECT_EQ(fault.m_kind, CMarkerFault::Kind::ColumnBeyondList);
        EXPECT_EQ(fault.m_nColumns, 5u);
        EXPECT_EQ(fault.m_bFarEnd, c.bFarEnd);
        EXPECT_EQ(fault.m_bQuantityColumn, c.bQuantity);
    }
}

namespace {

CSheet Template(int nRows, int nColumns)
{
    CSheet sheet;
    sheet.m_format.m_nRows = nRows;
    sheet.m_format.m_nColumns = nColumns;
    sheet.m_format.Recalc();
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row) {
            label.m_bSelected = 0;
            label.m_strText = "old";
        }
    return sheet;
}

CMarkerList Numbered(std::size_t nCount)
{
    CMarkerList markers;
    for (std::size_t i = 1; i <= nCount; ++i)
        markers.Add({"M" + std::to_string(i), 1});
    return markers;
}

// A sheet as its printed labels "r,c=TEXT", scan order.
std::vector<std::string> Printed(const CSheet& sheet)
{
    std::vector<std::string> labels;
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            if (sheet.m_labels[r][c].m_bSelected)
                labels.push_back(std::to_string(r) + "," + std::to_string(c) + "=" +
                                 sheet.m_labels[r][c].m_strText);
    return labels;
}

// Each sheet of the job as Printed.
std::vector<std::vector<std::string>> Layout(CMarkerSheets& sheets)
{
    std::vector<std::vector<std::string>> pages;
    CSheet sheet;
    while (sheets.NextSheet(sheet))
        pages.push_back(Printed(sheet));
    return pages;
}

} // namespace

TEST(MarkerSheets, FirstSheetSelectedThenEveryLabel)
{
    CSheet sheet = Template(2, 3);
    sheet.m_labels[1][2].m_bSelected = 1; // selected out of scan order on purpose
    sheet.m_labels[0][1].m_bSelected = 1;
    sheet.m_labels[1][2].m_nHAlign = 2;
    sheet.m_labels[1][2].m_crText = 0x0000FF;

    const CMarkerList markers = Numbered(10);
    CMarkerSheets all(sheet, markers, false);
    EXPECT_EQ(all.Check(), "");
    EXPECT_EQ(all.SheetCount(), 3u); // 2 + 6 + 2
    EXPECT_EQ(Layout(all), (std::vector<std::vector<std::string>>{
                               {"0,1=M1", "1,2=M2"},
                               {"0,0=M3", "0,1=M4", "0,2=M5", "1,0=M6", "1,1=M7", "1,2=M8"},
                               {"0,0=M9", "0,1=M10"},
                           }));

    CMarkerSheets selectedOnly(sheet, markers, true);
    EXPECT_EQ(selectedOnly.SheetCount(), 5u);
    const auto pages = Layout(selectedOnly);
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_EQ(pages[4], (std::vector<std::string>{"0,1=M9", "1,2=M10"}));

    // A marker takes the format of the label at its position.
    CMarkerSheets again(sheet, markers, false);
    CSheet first;
    ASSERT_TRUE(again.NextSheet(first));
    EXPECT_EQ(first.m_labels[1][2].m_nHAlign, 2);
    EXPECT_EQ(first.m_labels[1][2].m_crText, 0x0000FFu);
    EXPECT_EQ(first.m_format, sheet.m_format);
}

TEST(MarkerSheets, CountsAndRefusals)
{
    EXPECT_EQ(SheetsNeeded(0, 5, 10), 0u);
    EXPECT_EQ(SheetsNeeded(5, 5, 10), 1u);
    EXPECT_EQ(SheetsNeeded(6, 5, 10), 2u);
    EXPECT_EQ(SheetsNeeded(15, 5, 10), 2u);
    EXPECT_EQ(SheetsNeeded(16, 5, 10), 3u);
    EXPECT_EQ(SheetsNeeded(15000, 375, 375), 40u);

    const CSheet none = Template(3, 3);
    const CMarkerList markers = Numbered(4);
    CMarkerSheets sheets(none, markers, false);
    EXPECT_NE(sheets.Check(), "");
    EXPECT_EQ(sheets.SheetCount(), 0u);
    CSheet ignored;
    EXPECT_FALSE(sheets.NextSheet(ignored));

    // Runs of copies cross sheet boundaries.
    CSheet two = Template(2, 2);
    two.m_labels[0][0].m_bSelected = 1;
    const CMarkerList copies{{"A", 3}, {"B", 2}};
    CMarkerSheets runs(two, copies, false);
    EXPECT_EQ(Layout(runs),
              (std::vector<std::vector<std::string>>{{"0,0=A"}, {"0,0=A", "0,1=A", "1,0=B", "1,1=B"}}));

    // So do the two ends of a pair.
    const CMarkerList pairs{{"A1", 2, 0, "A2"}, {"B1", 1, 0, "B2"}};
    CMarkerSheets ends(two, pairs, false);
    EXPECT_EQ(ends.SheetCount(), 3u);
    EXPECT_EQ(Layout(ends), (std::vector<std::vector<std::string>>{
                                {"0,0=A1"}, {"0,0=A2", "0,1=A1", "1,0=A2", "1,1=B1"}, {"0,0=B2"}}));
}

// The choices of the last lists used, one entry per file, the newest first.
TEST(ListChoices, NewestFirstOnePerFileBounded)
{
    std::vector<CListChoices> lists;
    for (std::size_t i = 0; i < kRememberedLists + 2; ++i) {
        CListChoices choices;
        choices.m_strPath = "/lists/" + std::to_string(i) + ".csv";
        choices.m_nHeaderRows = i;
        RememberListChoices(lists, choices);
    }
    ASSERT_EQ(lists.size(), kRememberedLists);
    EXPECT_EQ(lists.front().m_strPath, "/lists/11.csv");
    EXPECT_EQ(ChoicesForList(lists, "/lists/1.csv"), nullptr); // the oldest went

    CListChoices again;
    again.m_strPath = "/lists/5.csv";
    again.m_strFarEndColumns = "1,3";
    RememberListChoices(lists, again);
    EXPECT_EQ(lists.size(), kRememberedLists);
    EXPECT_EQ(lists.front(), again);
    EXPECT_EQ(std::count_if(lists.begin(), lists.end(),
                            [](const CListChoices& c) { return c.m_strPath == "/lists/5.csv"; }),
              1);
    ASSERT_NE(ChoicesForList(lists, "/lists/7.csv"), nullptr);
    EXPECT_EQ(ChoicesForList(lists, "/lists/7.csv")->m_nHeaderRows, 7u);
}

// A preview shows any sheet at once, in any order: each is the sheet the job
// prints at that number.
TEST(MarkerSheets, AnySheetAsTheJobPrintsIt)
{
    CSheet sheet = Template(2, 3);
    sheet.m_labels[1][1].m_bSelected = 1;
    const CMarkerList runs{{"A", 4}, {"B", 1}, {"C", 9}, {"D", 2}};
    const CMarkerList pairs{{"A", 3, 0, "a"}, {"B", 1, 0, "b"}, {"C", 4, 0, "c"}};
    const struct
    {
        const char* name;
        CMarkerList markers;
        bool bSelectedOnly;
    } cases[] = {
        {"single markers", Numbered(20), false},
        {"runs across sheet ends", runs, false},
        {"selected labels only", runs, true},
        {"both ends of each wire", pairs, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMarkerSheets job(sheet, c.markers, c.bSelectedOnly);
        const auto pages = Layout(job);
        CMarkerSheets preview(sheet, c.markers, c.bSelectedOnly);
        CSheet shown;
        for (std::size_t n = pages.size(); n >= 1; --n) {
            ASSERT_TRUE(preview.SheetAt(n, shown)) << n;
            EXPECT_EQ(Printed(shown), pages[n - 1]) << "sheet " << n;
            EXPECT_EQ(preview.SheetNumber(), n);
        }
        ASSERT_TRUE(preview.SheetAt(1, shown));
        EXPECT_EQ(Layout(preview), std::vector<std::vector<std::string>>(pages.begin() + 1, pages.end()))
            << "the job goes on after the sheet shown";
        EXPECT_FALSE(preview.SheetAt(0, shown));

        // The walk over every label places each as the job does.
        std::vector<std::vector<std::string>> walked(pages.size());
        preview.ForEachLabel(
            [&](std::size_t nSheet, CGridPosition position, const CMarkerRun& run, std::size_t k) {
                walked[nSheet - 1].push_back(std::to_string(position.m_nRow) + "," +
                                             std::to_string(position.m_nColumn) + "=" +
                                             std::string(run.LabelText(k)));
            });
        for (std::vector<std::string>& labels : walked)
            std::sort(labels.begin(), labels.end());
        std::vector<std::vector<std::string>> sorted = pages;
        for (std::vector<std::string>& labels : sorted)
            std::sort(labels.begin(), labels.end());
        EXPECT_EQ(walked, sorted);
        EXPECT_FALSE(preview.SheetAt(pages.size() + 1, shown));
    }
}
