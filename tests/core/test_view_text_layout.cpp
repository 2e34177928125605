#include "view/LabelTextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using Lines = std::vector<std::string>;

TEST(LabelLines, SplitOnCrLfPairsOnly)
{
    struct Case
    {
        const char* name;
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"empty text has no line", "", {}},
        {"no pair: one line", "ABC", {"ABC"}},
        {"A CR LF B", "A\r\nB", {"A", "B"}},
        {"empty middle line", "A\r\n\r\nB", {"A", "", "B"}},
        {"trailing pair adds no line", "A\r\n", {"A"}},
        {"only a pair", "\r\n", {""}},
        {"lone CR stays", "A\rB", {"A\rB"}},
        {"lone LF stays", "A\nB", {"A\nB"}},
        {"LF CR is no pair", "A\n\rB", {"A\n\rB"}},
        {"text ending in CR", "A\r", {"A\r"}},
        {"single byte", "x", {"x"}},
        {"double-byte characters", "\xD6\xD0\r\n\xCE\xC4", {"\xD6\xD0", "\xCE\xC4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLabelLines(c.text), c.lines);
    }
}

TEST(LabelFontHeight, ScreenAndDevice)
{
    EXPECT_EQ(ScreenFontHeight(-12, 2.5), -7);
    EXPECT_EQ(ScreenFontHeight(-12, 4.5), -13);
    EXPECT_EQ(ScreenFontHeight(-13, 5.0), -15); // −13 div 4 = −3
    EXPECT_EQ(ScreenFontHeight(16, 2.5), 10);
    EXPECT_EQ(DeviceFontHeight(-12, 600), 70);
    EXPECT_EQ(DeviceFontHeight(-12, 300), 35);
    EXPECT_EQ(DeviceFontHeight(-12, 96), 11);
    EXPECT_EQ(DeviceFontHeight(16, 600), -94);
    EXPECT_EQ(DeviceFontHeight(-3, 600), 0);
}

namespace {

// A 100 × 40 pixel box without insets, lines 10 pixels high, 5 per byte.
const CPixelRect kBox{0, 0, 100, 40};
const CTextMetrics kMetrics{10, 5};

CLabelTextStyle Style(int nHAlign, int nVAlign, bool bShrink = false, int nGap = 0)
{
    CLabelTextStyle style;
    style.m_nHAlign = nHAlign;
    style.m_nVAlign = nVAlign;
    style.m_bAutoShrink = bShrink;
    style.m_nGap = nGap;
    return style;
}

} // namespace

TEST(LabelTextLayout, TextBoxFromInsets)
{
    CLabelTextStyle style;
    style.m_nInsetLeft = 2;
    style.m_nInsetTop = 3;
    style.m_nInsetRight = 4;
    style.m_nInsetBottom = 5;
    const CLabelTextLayout layout = LayoutLabelText("A", {10, 20, 110, 60}, style, kMetrics);
    EXPECT_TRUE(layout.m_bDraw);
    EXPECT_EQ(layout.m_rcText, (CPixelRect{12, 23, 106, 55}));
}

TEST(LabelTextLayout, BoxWithoutAreaDrawsNothing)
{
    struct Case
    {
        const char* name;
        int nLeft, nTop, nRight, nBottom;
    };
    const Case cases[] = {
        {"zero width", 50, 0, 50, 0},
        {"negative width", 60, 0, 60, 0},
        {"zero height", 0, 20, 0, 20},
        {"negative height", 0, 30, 0, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelTextStyle style = Style(1, 4, true, 3);
        style.m_nInsetLeft = c.nLeft;
        style.m_nInsetTop = c.nTop;
        style.m_nInsetRight = c.nRight;
        style.m_nInsetBottom = c.nBottom;
        const CLabelTextLayout layout = LayoutLabelText("long text\r\nand more", kBox, style, kMetrics);
        EXPECT_FALSE(layout.m_bDraw);
        EXPECT_TRUE(layout.m_lines.empty());
    }
}

TEST(LabelTextLayout, EmptyTextPaintsOnlyTheBox)
{
    const CLabelTextLayout layout = LayoutLabelText("", kBox, Style(1, 4, true), kMetrics);
    EXPECT_TRUE(layout.m_bDraw);
    EXPECT_TRUE(layout.m_lines.empty());
    EXPECT_FALSE(layout.m_bShrunk);
}

TEST(LabelTextLayout, FirstLineByVerticalAlignment)
{
    // Two lines of 10 with a gap of 2 fill 22 of 40 pixels.
    struct Case
    {
        const char* name;
        int nVAlign;
        int nFirstLineY;
    };
    const Case cases[] = {{"top", 0, 0}, {"middle", 4, 9}, {"bottom", 8, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLabelTextLayout layout =
            LayoutLabelText("AB\r\nCD", kBox, Style(0, c.nVAlign, false, 2), kMetrics);
        EXPECT_EQ(layout.m_nFirstLineY, c.nFirstLineY);
        EXPECT_EQ(layout.m_ptCrop, (CPixelPoint{0, 0}));
        EXPECT_EQ(layout.LineRect(1), (CPixelRect{0, c.nFirstLineY + 12, 100, c.nFirstLineY + 22}));
    }
}

TEST(LabelTextLayout, OversizedTextIsCroppedOppositeItsAlignment)
{
    // 30 bytes × 5 = 150 pixels wide in a 100 pixel box; five lines of 10 in 40.
    const std::string text = "123456789012345678901234567890\r\n2\r\n3\r\n4\r\n5";
    struct Case
    {
        const char* name;
        int nHAlign, nVAlign;
        bool bShrink;
        CPixelPoint ptCrop;
    };
    const Case cases[] = {
        {"left top shows the beginning", 0, 0, false, {0, 0}},
        {"centred shows the middle", 1, 4, false, {25, 5}},
        {"right bottom shows the end", 2, 8, false, {50, 10}},
        {"shrink to fit starts a pixel inside the corner", 2, 8, true, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLabelTextLayout layout =
            LayoutLabelText(text, kBox, Style(c.nHAlign, c.nVAlign, c.bShrink), kMetrics);
        EXPECT_EQ(layout.m_ptCrop, c.ptCrop);
        EXPECT_EQ(layout.m_nTextWidth, c.bShrink ? 98 : 150);
        EXPECT_EQ(layout.m_nTextHeight, c.bShrink ? 38 : 50);
    }
}

TEST(LabelTextLayout, ShrinkFactors)
{
    struct Case
    {
        const char* name;
        std::string text;
        CPixelRect rcBox;
        int nGap;
        int nCharWidth, nLineHeight, nNewGap;
    };
    const Case cases[] = {
        // Shrunk text keeps a pixel clear of the box on every side.
        // 3 × 10 + 2 × 2 = 34 in a box 20 high: 18 × 10 / 34 = 5, 18 × 2 / 34 = 1.
        {"three lines in a box two high keep their width", "A\r\nB\r\nC", {0, 0, 100, 20}, 2, 5, 5, 1},
        // 30 × 5 = 150 in 100: 5 × 98 / 150 = 3.
        {"too wide keeps its line height", std::string(30, 'x'), kBox, 0, 3, 10, 0},
        // 5 × 10 in 40: 38 × 10 / 50 = 7.
        {"both", std::string(30, 'x') + "\r\nB\r\nC\r\nD\r\nE", kBox, 0, 3, 7, 0},
        // 20 × 10 / 200 would be a zero height: one pixel is the least.
        {"one pixel at least",
         "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16\r\n17\r\n18\r\n"
         "19\r\n20\r\n21",
         {0, 0, 100, 1},
         0,
         5,
         1,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLabelTextLayout layout = LayoutLabelText(c.text, c.rcBox, Style(1, 4, true, c.nGap), kMetrics);
        EXPECT_TRUE(layout.m_bShrunk);
        EXPECT_EQ(layout.m_nShrunkCharWidth, c.nCharWidth);
        EXPECT_EQ(layout.m_nShrunkLineHeight, c.nLineHeight);
        EXPECT_EQ(layout.m_nLineHeight, c.nLineHeight);
        EXPECT_EQ(layout.m_nGap, c.nNewGap);
        EXPECT_EQ(layout.m_nTextWidth, c.rcBox.Width() - 2);
        EXPECT_EQ(layout.m_nTextHeight, std::max(1, c.rcBox.Height() - 2));
    }
}

TEST(LabelTextLayout, FittingTextDoesNotShrink)
{
    const CLabelTextLayout layout = LayoutLabelText("AB\r\nCD", kBox, Style(1, 4, true), kMetrics);
    EXPECT_FALSE(layout.m_bShrunk);
    EXPECT_EQ(layout.m_nLineHeight, 10);
}

TEST(LabelTextLayout, ShrinkOffKeepsTheFont)
{
    const CLabelTextLayout layout = LayoutLabelText(std::string(30, 'x'), kBox, Style(1, 4, false), kMetrics);
    EXPECT_FALSE(layout.m_bShrunk);
    EXPECT_EQ(layout.m_nLineHeight, 10);
}

TEST(LabelTextLayout, MeasuredLinesDecideCropAndShrink)
{
    // Ten bytes are 50 pixels by the average width, but measured 150: the
    // text overflows the box of 100 and shrinks to two thirds of its width.
    const std::string text = "ABCDEFGHIJ";
    const CMeasuredLines wide{{150}, 0, 0};
    const CLabelTextLayout cropped = LayoutLabelText(text, kBox, Style(1, 4), kMetrics, wide);
    EXPECT_FALSE(cropped.m_bShrunk);
    EXPECT_EQ(cropped.m_nTextWidth, 150);
    EXPECT_EQ(cropped.m_ptCrop.x, 25) << "centred: both ends cut alike";
    const CLabelTextLayout shrunk = LayoutLabelText(text, kBox, Style(1, 4, true), kMetrics, wide);
    EXPECT_TRUE(shrunk.m_bShrunk);
    EXPECT_EQ(shrunk.m_nShrunkCharWidth, 3);
    EXPECT_DOUBLE_EQ(shrunk.m_dScaleX, 98.0 / 150.0);
    EXPECT_DOUBLE_EQ(shrunk.m_dScaleY, 1.0);

    // Widths that do not match the lines are not used.
    EXPECT_FALSE(
        LayoutLabelText(text, kBox, Style(1, 4, true), kMetrics, CMeasuredLines{{150, 10}, 0, 0}).m_bShrunk);
}

TEST(LabelTextLayout, ShrinkKeepsTheInkAboveAndBelowInTheBox)
{
    // Four lines of 10 fill the box of 40 exactly, but the face draws 4
    // pixels above the first line and 6 below the last: 50 pixels to shrink.
    const CMeasuredLines measured{{20, 20, 20, 20}, 4, 6};
    struct Case
    {
        const char* name;
        int nVAlign;
        int nFirstLineY;
    };
    // In the 38 pixels a pixel clear of the box's edges, lines of
    // 38 × 10 / 50 = 7 leave the ink 4 × 0.7 → 3 above and 6 × 0.7 → 5 below.
    const Case cases[] = {{"top", 0, 3}, {"middle", 4, 3 + (38 - 36) / 2}, {"bottom", 8, 38 - 5 - 28}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLabelTextLayout layout =
            LayoutLabelText("A\r\nB\r\nC\r\nD", kBox, Style(1, c.nVAlign, true), kMetrics, measured);
        EXPECT_TRUE(layout.m_bShrunk);
        EXPECT_EQ(layout.m_nShrunkLineHeight, 7);
        EXPECT_DOUBLE_EQ(layout.m_dScaleY, 0.7);
        EXPECT_DOUBLE_EQ(layout.m_dScaleX, 1.0);
        EXPECT_EQ(layout.m_nFirstLineY, c.nFirstLineY);
    }
    EXPECT_FALSE(LayoutLabelText("A\r\nB\r\nC\r\nD", kBox, Style(1, 4, false), kMetrics, measured).m_bShrunk)
        << "without shrink to fit the lines keep their em box";
}

// Line spacings of ±10 m in printer dots times many lines leave the int
// range: heights and positions saturate instead of wrapping around.
TEST(LabelTextLayout, HugeLineSpacingSaturates)
{
    struct Case
    {
        const char* name;
        int nGap;
        int nLines;
        int nVAlign;
    };
    const Case cases[] = {
        {"wide gap, middle", 1'000'000'000, 4, 4},
        {"wide gap, bottom", 1'000'000'000, 4, 8},
        {"negative gap, middle", -1'000'000'000, 4, 4},
        {"negative gap, bottom", -1'000'000'000, 4, 8},
        {"most lines", INT_MAX, static_cast<int>(kMaxLaidOutLines), 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "A";
        for (int i = 1; i < c.nLines; ++i)
            text += "\r\nA";
        for (const bool bShrink : {false, true}) {
            SCOPED_TRACE(bShrink ? "shrink" : "no shrink");
            const CLabelTextLayout layout =
                LayoutLabelText(text, kBox, Style(1, c.nVAlign, bShrink, c.nGap), kMetrics);
            ASSERT_EQ(layout.m_lines.size(), static_cast<std::size_t>(c.nLines));
            if (c.nGap > 0 && !bShrink) {
                EXPECT_EQ(layout.m_nTextHeight, INT_MAX);
            }
            // Lines follow each other in the gap's direction, never wrapping.
            for (int i = 1; i < c.nLines; ++i) {
                const CPixelRect prev = layout.LineRect(i - 1);
                const CPixelRect line = layout.LineRect(i);
                if (static_cast<long long>(layout.m_nLineHeight) + layout.m_nGap >= 0)
                    EXPECT_GE(line.top, prev.top) << "line " << i;
                else
                    EXPECT_LE(line.top, prev.top) << "line " << i;
                EXPECT_GE(static_cast<long long>(line.bottom) - line.top, 0);
            }
        }
    }
}

// Only the start of a text larger than any dialog stores is laid out, cut
// after whole characters and line ends; the text itself is not touched.
TEST(LabelTextLayout, HugeTextsAreLaidOutOnlyInPart)
{
    const std::string oneLine(16 * 1024 * 1024, 'x');
    CLabelTextLayout layout = LayoutLabelText(oneLine, kBox, Style(1, 4, true), kMetrics);
    ASSERT_EQ(layout.m_lines.size(), 1u);
    EXPECT_EQ(layout.m_lines[0].size(), kMaxLaidOutBytes);

    std::string manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "A\r\n";
    layout = LayoutLabelText(manyLines, kBox, Style(1, 4, true), kMetrics);
    EXPECT_EQ(layout.m_lines.size(), kMaxLaidOutLines);

    struct Case
    {
        const char* name;
        std::string text;
        std::size_t nLaidOut;
    };
    const std::string chinese = "\xD6\xD0";
    const Case cases[] = {
        {"short text whole", "AB\r\nCD", 6},
        {"double-byte character not split", std::string(kMaxLaidOutBytes - 1, 'x') + chinese,
         kMaxLaidOutBytes - 1},
        {"CR LF not split", std::string(kMaxLaidOutBytes - 1, 'x') + "\r\nB", kMaxLaidOutBytes - 1},
        {"exactly the bound", std::string(kMaxLaidOutBytes, 'x'), kMaxLaidOutBytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LaidOutText(c.text), c.text.substr(0, c.nLaidOut));
    }
}
