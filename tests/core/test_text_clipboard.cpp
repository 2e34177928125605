#include "clipboard/LabelClipboard.h"
#include "model/CSheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A 4 × 3 sheet with texts "r,c"; `selected` lists the selected positions.
CSheet Sheet(const std::vector<CGridPosition>& selected)
{
    CSheet sheet;
    sheet.m_format.m_nColumns = 4;
    sheet.m_format.m_nRows = 3;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            sheet.m_labels[r][c].m_strText = std::to_string(r) + std::to_string(c);
            sheet.m_labels[r][c].SetSelected(false);
        }
    for (const CGridPosition& p : selected)
        sheet.m_labels[p.m_nRow][p.m_nColumn].SetSelected(true);
    return sheet;
}

} // namespace

TEST(LabelClipboard, CopyWritesTheSelectionsBoundingBoxAsASpreadsheetDoes)
{
    CSheet sheet = Sheet({{0, 1}, {1, 2}, {2, 1}});
    sheet.m_labels[1][2].m_strText = "\xB5\xE7\r\n\"A\""; // "电", a line break, "A" in quotes
    const CCopiedLabels copied = CopySelectedLabels(sheet);
    EXPECT_EQ(copied.m_strText, "01\t\n\t\"电\n\"\"A\"\"\"\n21\t\n");
    EXPECT_EQ(copied.m_nCount, 3u);

    // Flag 2 is no selection.
    sheet = Sheet({});
    sheet.m_labels[0][0].m_bSelected = 2;
    EXPECT_TRUE(CopySelectedLabels(sheet).m_strText.empty());
}

TEST(LabelClipboard, CopiedTextReadsBackIntoTheSameCells)
{
    CSheet sheet = Sheet({{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    sheet.m_labels[0][1].m_strText = "a\r\nb";
    const CClipboardTexts texts = ReadClipboardText(CopySelectedLabels(sheet).m_strText);
    ASSERT_FALSE(texts.m_refusal);
    EXPECT_EQ(texts.m_texts, (std::vector<std::string>{"00", "a\r\nb", "10", "11"}));
}

TEST(LabelClipboard, RecordsRoundTripWholeAndRefuseDamage)
{
    CSheet sheet = Sheet({{2, 3}, {0, 2}});
    // Vertical writing and a quarter turn travel in the font block.
    sheet.m_labels[0][2].m_logFont.SetFaceName("@Arial");
    sheet.m_labels[0][2].m_logFont.lfEscapement = sheet.m_labels[0][2].m_logFont.lfOrientation = 2700;
    sheet.m_labels[0][2].m_dMarginLeft = 2.5;
    sheet.m_labels[2][3].m_nVAlign = 8;
    sheet.m_labels[2][3].m_logFont.lfEscapement = 900;
    const CCopiedLabels copied = CopySelectedLabels(sheet);
    const auto records = ReadCopiedRecords(copied.m_strRecords);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[0], sheet.m_labels[0][2]); // scan order
    EXPECT_EQ((*records)[1], sheet.m_labels[2][3]);

    EXPECT_FALSE(ReadCopiedRecords(copied.m_strRecords.substr(0, copied.m_strRecords.size() - 1)));
    EXPECT_FALSE(ReadCopiedRecords(std::string("\xFF\xFF\xFF\x7F", 4)));
    EXPECT_FALSE(ReadCopiedRecords(""));
}

TEST(LabelClipboard, ClipboardTextBecomesCellsInReadingOrder)
{
    const struct
    {
        const char* name;
        const char* text;
        std::vector<std::string> cells;
    } cases[] = {
        {"a spreadsheet column", "W1\nW2\nW3\n", {"W1", "W2", "W3"}},
        {"a block with CR LF", "a\tb\r\nc\td\r\n", {"a", "b", "c", "d"}},
        {"comma separated", "a,b\nc,d\n", {"a", "b", "c", "d"}},
        {"quoted line breaks", "\"x\ny\"\tz\n", {"x\r\ny", "z"}},
        {"quoted CR LF", "\"x\r\ny\"\n", {"x\r\ny"}},
        {"empty cells kept", "a\t\tc\n", {"a", "", "c"}},
        {"no final line break", "one", {"one"}},
        {"Chinese", "线号\n", {"\xCF\xDF\xBA\xC5"}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        const CClipboardTexts texts = ReadClipboardText(t.text);
        EXPECT_FALSE(texts.m_refusal);
        EXPECT_EQ(texts.m_texts, t.cells);
    }
}

TEST(LabelClipboard, ACellNoLabelCanHoldRefusesTheWholePaste)
{
    const std::string fifty(50, 'x');
    std::string chinese26 = "a\t";
    for (int i = 0; i < 26; ++i)
        chinese26 += "线";
    const struct
    {
        const char* name;
        std::string text;
        CPasteRefusal::Kind kind;
        std::size_t nRow, nColumn;
        std::string character;
        std::size_t nLength;
    } cases[] = {
        {"outside code page 936", "ok\tok\nok\t한\n", CPasteRefusal::Kind::Unholdable, 2, 2, "한", 0},
        {"an emoji", "a\n😀b\n", CPasteRefusal::Kind::Unholdable, 2, 1, "😀", 0},
        {"51 bytes", "ok\n" + fifty + "y\n", CPasteRefusal::Kind::TooLong, 2, 1, "", 51},
        {"26 Chinese characters", chinese26, CPasteRefusal::Kind::TooLong, 1, 2, "", 52},
        {"an unclosed quote", "\"abc\n", CPasteRefusal::Kind::Unreadable, 0, 0, "", 0},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        const CClipboardTexts texts = ReadClipboardText(t.text);
        ASSERT_TRUE(texts.m_refusal);
        EXPECT_TRUE(texts.m_texts.empty());
        EXPECT_EQ(texts.m_refusal->m_kind, t.kind);
        EXPECT_EQ(texts.m_refusal->m_nRow, t.nRow);
        EXPECT_EQ(texts.m_refusal->m_nColumn, t.nColumn);
        EXPECT_EQ(texts.m_refusal->m_strCharacter, t.character);
        EXPECT_EQ(texts.m_refusal->m_nLength, t.nLength);
    }
    // Exactly 50 bytes fit.
    EXPECT_FALSE(ReadClipboardText(fifty).m_refusal);
}

TEST(LabelClipboard, PasteFillsTheSelectedLabelsInScanOrder)
{
    const CSheet sheet = Sheet({{2, 0}, {0, 3}, {1, 1}});
    const CPastePlacement more = PlaceTexts(sheet, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(more.m_targets, (std::vector<CGridPosition>{{0, 3}, {1, 1}, {2, 0}}));
    ASSERT_EQ(more.m_after.size(), 3u);
    EXPECT_EQ(more.m_after[2].m_strText, "c");
    EXPECT_EQ(more.m_nLeftOver, 2u);

    const CPastePlacement fewer = PlaceTexts(sheet, {"a"});
    EXPECT_EQ(fewer.m_targets, (std::vector<CGridPosition>{{0, 3}}));
    EXPECT_EQ(fewer.m_nLeftOver, 0u);

    // Texts keep the label's format; records keep its selection flag.
    CLabelRecord record;
    record.m_strText = "R";
    record.m_dMarginTop = 3.0;
    record.SetSelected(false);
    const CPastePlacement whole = PlaceRecords(sheet, {record});
    ASSERT_EQ(whole.m_after.size(), 1u);
    CLabelRecord expected = record;
    expected.SetSelected(true);
    EXPECT_EQ(whole.m_after[0], expected);
}
