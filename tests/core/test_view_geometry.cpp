#include "view/ViewGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(ViewZoom, ClientHeightTable)
{
    struct Case
    {
        const char* name;
        int nClientHeight;
        double dMinZoom;
        double dZoom;
        int nExtentWidth;
        int nExtentHeight;
    };
    const Case cases[] = {
        {"fills 980 pixels at the lower bound", 980, 4.5, 4.5, 710, 980},
        {"600 pixels: held at 4.5 and scrolls", 600, 4.5, 4.5, 710, 980},
        {"600 pixels in full-page display", 600, 0.0, 2.6, 444, 600},
        {"1200 pixels: capped", 1200, 4.5, 5.0, 780, 1080},
        {"1200 pixels in full-page display: capped", 1200, 0.0, 5.0, 780, 1080},
        {"exactly 5.0 stays", 1080, 4.5, 5.0, 780, 1080},
        {"between the bounds", 1030, 4.5, 4.75, 745, 1030},
        {"minimised frame in full-page display", 80, 0.0, kLeastZoom, 94, 100},
        {"no client area in full-page display", 0, 0.0, kLeastZoom, 94, 100},
        {"negative client height", -50, 0.0, kLeastZoom, 94, 100},
    };
    const CPageFormat format;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CViewZoom zoom = ComputeZoom(format, c.nClientHeight, c.dMinZoom);
        EXPECT_DOUBLE_EQ(zoom.m_dZoom, c.dZoom);
        EXPECT_EQ(zoom.m_nExtentWidth, c.nExtentWidth);
        EXPECT_EQ(zoom.m_nExtentHeight, c.nExtentHeight);
        EXPECT_GT(zoom.m_dZoom, 0.0);
    }
}

TEST(ViewLayout, FirstLabelSitsInsideThePageTopLeft)
{
    const CPageFormat format;
    const CViewZoom zoom = ComputeZoom(format, 980, kNormalMinZoom);
    const CLabelLayout layout(format, zoom, 710, 0, 0);
    EXPECT_EQ(layout.Origin(), (CPixelPoint{40, 40}));
    const CPixelRect rc = layout.LabelRect(0, 0);
    EXPECT_EQ(rc.left - layout.Origin().x, 54);
    EXPECT_EQ(rc.top - layout.Origin().y, 13);
    EXPECT_EQ(rc.Width(), 85);  // trunc(19 × 4.5)
    EXPECT_EQ(rc.Height(), 38); // trunc(4.5 × 8.65)
}

TEST(ViewLayout, CellsFollowPitchesWidthAndScroll)
{
    const CPageFormat format;
    const CViewZoom zoom = ComputeZoom(format, 980, kNormalMinZoom);
    struct Case
    {
        const char* name;
        int nClientWidth, nScrollX, nScrollY, nRow, nColumn;
        CPixelRect rc;
    };
    const Case cases[] = {
        {"last label", 710, 0, 0, 13, 4, {530, 887, 615, 925}},
        {"wide client centres the page", 1000, 0, 0, 0, 0, {239, 53, 324, 91}},
        {"narrow client keeps the extent", 300, 0, 0, 0, 0, {94, 53, 179, 91}},
        {"scrolled", 300, 30, 100, 1, 1, {173, 17, 258, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLabelLayout layout(format, zoom, c.nClientWidth, c.nScrollX, c.nScrollY);
        EXPECT_EQ(layout.LabelRect(c.nRow, c.nColumn), c.rc);
    }
}

TEST(ViewLayout, LastColumnEndsAtTheRightMargin)
{
    const CPageFormat format;
    const CViewZoom zoom = ComputeZoom(format, 980, kNormalMinZoom);
    const CLabelLayout layout(format, zoom, 710, 0, 0);
    const CPixelRect rc = layout.LabelRect(0, format.m_nColumns - 1);
    const int pageRight = layout.Origin().x + 630;
    EXPECT_NEAR(pageRight - rc.right, 12 * 4.5, 2);
}

TEST(CellFrame, InnerFrameInsetByZoom)
{
    EXPECT_EQ(CellFrameInset(2.5), 1);
    EXPECT_EQ(CellFrameInset(4.5), 3);
    EXPECT_EQ(CellFrameInset(5.0), 3);
    EXPECT_EQ(CellFrameInset(1.0), 0);
}

TEST(PageDrawing, DefaultSheetAtZoom45)
{
    const CPageFormat format;
    const CViewZoom zoom = ComputeZoom(format, 980, kNormalMinZoom);
    const CPageDrawing d = ComputePageDrawing(format, zoom, 710, 980);
    EXPECT_EQ(d.m_nWidth, 710);
    EXPECT_EQ(d.m_nHeight, 980);
    EXPECT_EQ(d.m_rcPage, (CPixelRect{40, 40, 670, 940}));
    EXPECT_EQ(d.m_rcPaper, (CPixelRect{4, 4, 706, 976}));
    EXPECT_EQ(d.m_rcShadow, (CPixelRect{7, 7, 709, 979}));
    EXPECT_EQ(d.m_rcRulerInner, (CPixelRect{35, 35, 674, 944}));
    EXPECT_EQ(d.m_rcRulerOuter, (CPixelRect{17, 17, 692, 962}));
    ASSERT_FALSE(d.m_rowNumbers.empty());
    EXPECT_EQ(d.m_rowNumbers[0].m_rcBox, (CPixelRect{17, 68, 35, 81}));
    EXPECT_EQ(d.m_rowNumbers[1].m_rcBox, (CPixelRect{674, 68, 692, 81}));
    ASSERT_FALSE(d.m_rowTicks.empty());
    EXPECT_EQ(d.m_rowTicks[0], (CPixelLine{{17, 100}, {35, 100}}));
    ASSERT_FALSE(d.m_columnNumbers.empty());
    // xBase = trunc((9.5 + 12 − 1) × 4.5) + 40 = 132; yT = 40 − 22.
    EXPECT_EQ(d.m_columnNumbers[0].m_rcBox, (CPixelRect{132, 18, 145, 36}));
    EXPECT_EQ(d.m_columnNumbers[1].m_rcBox, (CPixelRect{132, 18 + 927, 145, 36 + 927}));
}

TEST(PageDrawing, RulersNumberRowsAndColumnsWithTicksBetween)
{
    struct Case
    {
        const char* name;
        int nColumns, nRows;
    };
    const Case cases[] = {
        {"default 5 × 14", 5, 14}, {"7 × 20", 7, 20}, {"smallest 2 × 2", 2, 2}, {"largest 15 × 25", 15, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPageFormat format;
        format.m_nColumns = c.nColumns;
        format.m_nRows = c.nRows;
        format.m_dLabelWidth = 5;
        format.m_dLabelHeight = 5;
        format.Recalc();
        const CPageDrawing d = ComputePageDrawing(format, ComputeZoom(format, 980, kNormalMinZoom), 710, 980);
        ASSERT_EQ(d.m_rowNumbers.size(), 2u * c.nRows);
        ASSERT_EQ(d.m_columnNumbers.size(), 2u * c.nColumns);
        EXPECT_EQ(d.m_rowTicks.size(), 2u * (c.nRows - 1));
        EXPECT_EQ(d.m_columnTicks.size(), 2u * (c.nColumns - 1));
        for (int i = 0; i < c.nRows; ++i) {
            EXPECT_EQ(d.m_rowNumbers[2 * i].m_nNumber, i + 1);
            EXPECT_EQ(d.m_rowNumbers[2 * i + 1].m_nNumber, i + 1);
        }
        for (int i = 0; i < c.nColumns; ++i)
            EXPECT_EQ(d.m_columnNumbers[2 * i].m_nNumber, i + 1);
        // Row numbers sit in the band 5 mm to 1 mm outside the page.
        EXPECT_EQ(d.m_rowNumbers[0].m_rcBox.left, d.m_rcRulerOuter.left);
        EXPECT_LE(d.m_rowNumbers[0].m_rcBox.right, d.m_rcRulerInner.left);
    }
}

TEST(PageDrawing, DefaultSheetRulersAre14And5)
{
    const CPageFormat format;
    const CPageDrawing d = ComputePageDrawing(format, ComputeZoom(format, 980, kNormalMinZoom), 710, 980);
    EXPECT_EQ(d.m_rowNumbers.back().m_nNumber, 14);
    EXPECT_EQ(d.m_columnNumbers.back().m_nNumber, 5);
    EXPECT_EQ(d.m_rowTicks.size() / 2, 13u);
    EXPECT_EQ(d.m_columnTicks.size() / 2, 4u);
}

TEST(PageDrawing, RulerFontHeight)
{
    EXPECT_EQ(RulerFontHeight(4.5, 96), -12);
    EXPECT_EQ(RulerFontHeight(2.5, 96), -7); // 5 × 96 / 72 = 6.67 rounds to 7
    EXPECT_EQ(RulerFontHeight(5.0, 72), -10);
}

TEST(Arithmetic, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 96, 72), 7);
    EXPECT_EQ(MulDiv(-5, 96, 72), -7);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(3, 4, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
}

TEST(Arithmetic, TruncToIntTruncatesAndSaturates)
{
    EXPECT_EQ(TruncToInt(1.75), 1);
    EXPECT_EQ(TruncToInt(-7.5), -7);
    EXPECT_EQ(TruncToInt(1e300), INT_MAX);
    EXPECT_EQ(TruncToInt(-1e300), INT_MIN);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}

TEST(RubberBand, CornersInsideTheBandDecide)
{
    const CPixelRect cell{100, 50, 150, 80}; // right and bottom one past the last pixel
    struct Case
    {
        const char* name;
        CPixelPoint from, to;
        bool bTouches;
    };
    const Case cases[] = {
        {"encloses the cell", {90, 40}, {160, 90}, true},
        {"drawn backwards", {160, 90}, {90, 40}, true},
        {"one corner: top-left", {95, 45}, {101, 51}, true},
        {"one corner: bottom-right", {149, 79}, {155, 85}, true},
        {"one corner: bottom-left", {90, 79}, {101, 85}, true},
        {"one corner: top-right", {149, 40}, {155, 51}, true},
        {"through the middle", {90, 60}, {160, 70}, false},
        {"inside the cell", {110, 60}, {120, 70}, false},
        {"right edge exactly on the cell's left", {60, 40}, {100, 90}, false},
        {"left edge exactly on the cell's right", {150, 40}, {200, 90}, true},
        {"bottom edge exactly on the cell's top", {90, 10}, {160, 50}, false},
        {"a point", {100, 50}, {100, 50}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BandTouches(BandRect(c.from, c.to), cell), c.bTouches);
    }
}
