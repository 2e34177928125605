#include "text/BatchFill.h"

#include "model/CSheet.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// A row of labels, all selected, with the given texts; the grid points at them.
struct Labels
{
    explicit Labels(const Texts& texts)
    {
        for (const std::string& text : texts) {
            CLabelRecord& label = m_records.emplace_back();
            label.m_strText = text;
            m_grid.push_back(&label);
        }
    }

    Texts TextsNow() const
    {
        Texts texts;
        for (const CLabelRecord& label : m_records)
            texts.push_back(label.m_strText);
        return texts;
    }

    std::deque<CLabelRecord> m_records;
    LabelGrid m_grid;
};

CBatchFillRequest Request(int nMode, bool bSkip, std::string middle, int nCount = 999,
                          std::string prefix = {}, std::string suffix = {})
{
    CBatchFillRequest request;
    request.m_nMode = nMode;
    request.m_bSkipFilled = bSkip;
    request.m_strMiddle = std::move(middle);
    request.m_nCount = nCount;
    request.m_strPrefix = std::move(prefix);
    request.m_strSuffix = std::move(suffix);
    return request;
}

constexpr int kSame = CBatchFillRequest::SameText;
constexpr int kNumber = CBatchFillRequest::Number;
constexpr int kLetter = CBatchFillRequest::Letter;

} // namespace

TEST(TextBatchFill, Cases)
{
    const Texts fiveEmpty(5);
    const Texts tenFirstFiveFilled = {"a", "b", "c", "d", "e", "", "", "", "", ""};
    struct Case
    {
        const char* name;
        Texts before;
        CBatchFillRequest request;
        Texts after;
        ChangedLabels changed;
    } const cases[] = {
        {"number, no skip: overflow empties the rest",
         fiveEmpty,
         Request(kNumber, false, "8"),
         {"8", "9", "", "", ""},
         {0, 1, 2, 3, 4}},
        {"number, no skip: overflow empties filled labels too",
         {"", "", "x", "y", "z"},
         Request(kNumber, false, "8"),
         {"8", "9", "", "", ""},
         {0, 1, 2, 3, 4}},
        {"number, skip: filled labels pass, overflow ends the fill",
         {"", "two", "", "four", ""},
         Request(kNumber, true, "8"),
         {"8", "two", "9", "four", ""},
         {0, 2}},
        {"number with prefix and suffix keeps the width",
         {"", "", ""},
         Request(kNumber, false, "01", 999, "W-", "/A"),
         {"W-01/A", "W-02/A", "W-03/A"},
         {0, 1, 2}},
        {"number, empty middle, no skip: every label emptied",
         {"x", "", "y"},
         Request(kNumber, false, "", 999, "P"),
         {"", "", ""},
         {0, 1, 2}},
        {"number, empty middle, skip: nothing changes",
         {"x", "", "y"},
         Request(kNumber, true, "", 999, "P"),
         {"x", "", "y"},
         {}},
        {"letter, no skip: after Z the rest is emptied",
         {"", "", "", "q", ""},
         Request(kLetter, false, "X"),
         {"Y", "Z", "", "", ""},
         {0, 1, 2, 3, 4}},
        {"letter, no skip: lower case",
         fiveEmpty,
         Request(kLetter, false, "y"),
         {"z", "", "", "", ""},
         {0, 1, 2, 3, 4}},
        {"letter, no skip: count stops the emptying",
         fiveEmpty,
         Request(kLetter, false, "y", 3),
         {"z", "", "", "", ""},
         {0, 1, 2}},
        {"letter, skip: ends after writing Z",
         fiveEmpty,
         Request(kLetter, true, "X", 999, "L"),
         {"LY", "LZ", "", "", ""},
         {0, 1}},
        {"letter, skip: a skipped Z position wraps",
         {"", "has", "", ""},
         Request(kLetter, true, "X"),
         {"Y", "has", "A", "B"},
         {0, 2, 3}},
        {"same text, count 2",
         fiveEmpty,
         Request(kSame, false, "M", 2, "P", "S"),
         {"PMS", "PMS", "", "", ""},
         {0, 1}},
        {"same text, skip: filled labels keep text but count",
         {"old", "", ""},
         Request(kSame, true, "M", 2),
         {"old", "M", ""},
         {1}},
        {"same text, no skip: an equal text is stored again",
         {"M", ""},
         Request(kSame, false, "M"),
         {"M", "M"},
         {0, 1}},
        {"count 3, number, skip: three empty labels filled",
         tenFirstFiveFilled,
         Request(kNumber, true, "1", 3),
         {"a", "b", "c", "d", "e", "1", "2", "3", "", ""},
         {5, 6, 7}},
        {"count 3, number, no skip: first three overwritten",
         tenFirstFiveFilled,
         Request(kNumber, false, "1", 3),
         {"1", "2", "3", "d", "e", "", "", "", "", ""},
         {0, 1, 2}},
        {"count 3, letter, skip: only filled labels considered",
         tenFirstFiveFilled,
         Request(kLetter, true, "A", 3),
         tenFirstFiveFilled,
         {}},
        {"count 3, letter, no skip",
         tenFirstFiveFilled,
         Request(kLetter, false, "A", 3),
         {"B", "C", "D", "d", "e", "", "", "", "", ""},
         {0, 1, 2}},
        {"count 3, same text, skip: only filled labels considered",
         tenFirstFiveFilled,
         Request(kSame, true, "T", 3),
         tenFirstFiveFilled,
         {}},
        {"count 3, same text, no skip",
         tenFirstFiveFilled,
         Request(kSame, false, "T", 3),
         {"T", "T", "T", "d", "e", "", "", "", "", ""},
         {0, 1, 2}},
        {"all three texts empty writes nothing", {"x", ""}, Request(kSame, false, ""), {"x", ""}, {}},
        {"all three texts empty, number mode", {"x", ""}, Request(kNumber, false, ""), {"x", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Labels labels(c.before);
        const ChangedLabels changed = FillLabels(labels.m_grid, c.request);
        EXPECT_EQ(labels.TextsNow(), c.after);
        EXPECT_EQ(changed, c.changed);
    }
}

TEST(TextBatchFill, UnselectedAndAbsentLabelsArePassedOver)
{
    Labels labels({"", "", "", ""});
    labels.m_records[1].m_bSelected = 0;
    labels.m_records[2].m_bSelected = 7; // only 1 counts as selected
    labels.m_grid.insert(labels.m_grid.begin() + 1, nullptr);
    const ChangedLabels changed = FillLabels(labels.m_grid, Request(kNumber, false, "1"));
    EXPECT_EQ(labels.TextsNow(), (Texts{"1", "", "", "2"}));
    EXPECT_EQ(changed, (ChangedLabels{0, 4}));
}

TEST(TextBatchFill, WalksTheSheetRowByRow)
{
    CSheet sheet;
    sheet.m_format.m_nColumns = 3;
    sheet.m_format.m_nRows = 2;
    sheet.m_labels[0][3].m_strText = "outside"; // hidden column keeps its text
    const LabelGrid grid = GridOf(sheet);
    ASSERT_EQ(grid.size(), 6u);
    FillLabels(grid, Request(kNumber, false, "1"));
    EXPECT_EQ(sheet.m_labels[0][2].m_strText, "3");
    EXPECT_EQ(sheet.m_labels[1][0].m_strText, "4");
    EXPECT_EQ(sheet.m_labels[1][2].m_strText, "6");
    EXPECT_EQ(sheet.m_labels[0][3].m_strText, "outside");
    EXPECT_EQ(sheet.m_labels[2][0].m_strText, "");
}

TEST(TextBatchFill, ClearEmptiesSelectedLabelsAndKeepsThemSelected)
{
    Labels labels({"a", "b", ""});
    labels.m_records[1].m_bSelected = 0;
    const ChangedLabels changed = ClearLabels(labels.m_grid);
    EXPECT_EQ(labels.TextsNow(), (Texts{"", "b", ""}));
    EXPECT_EQ(changed, (ChangedLabels{0, 2}));
    EXPECT_EQ(labels.m_records[0].m_bSelected, 1);
}
