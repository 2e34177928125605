#include "SampleSheets.h"

#include "print/PrintLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr CDeviceResolution k600{600, 600};

} // namespace

TEST(PrintLayout, LabelRectanglesInDeviceUnits)
{
    const CPageFormat a4 = samples::Preset7x20();
    const struct
    {
        const char* name;
        CPageFormat format;
        int nRow, nColumn, nMoveX, nMoveY;
        CDeviceResolution resolution;
        CPixelRect expected;
    } cases[] = {
        {"default [0][0]", {}, 0, 0, 0, 0, k600, {283, 70, 732, 275}},
        {"default [1][1]", {}, 1, 1, 0, 0, k600, {856, 407, 1305, 611}},
        {"offset 50, -30, [1][1] one unit narrower", {}, 1, 1, 50, -30, k600, {868, 400, 1316, 604}},
        {"left edge 12.0 mm truncates, not rounds", {}, 0, 0, 0, 0, k600, {283, 70, 732, 275}},
        {"last label of the default sheet", {}, 13, 4, 0, 0, k600, {2574, 4449, 3023, 4653}},
        {"offset beyond the margin goes negative, truncated toward zero",
         {},
         0,
         0,
         -1250,
         -400,
         k600,
         {-11, -23, 437, 180}},
        {"different resolutions per axis", {}, 1, 1, 0, 0, {300, 1200}, {428, 815, 652, 1223}},
        {"A4 preset [19][6]", a4, 19, 6, 0, 0, k600, {4228, 6527, 4677, 6732}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LabelDeviceRect(c.format, c.nRow, c.nColumn, {c.nMoveX, c.nMoveY}, c.resolution),
                  c.expected);
    }
}

// The printer's scale multiplies each edge's sum, offset included, before
// it is truncated: rectangles grow and shrink to the unit about the corner.
TEST(PrintLayout, ScaleMultipliesEachEdge)
{
    const struct
    {
        const char* name;
        int nRow, nColumn;
        CPrinterCalibration calibration;
        CPixelRect expected;
    } cases[] = {
        {"[1][1] +1 % across, -0.5 % down", 1, 1, {0, 0, 10000, -5000}, {864, 405, 1318, 608}},
        {"[13][4] moved, -2 % across, +2 % down", 13, 4, {50, -25, -20000, 20000}, {2534, 4532, 2974, 4740}},
        {"no scale is the unscaled rectangle", 1, 1, {50, -30, 0, 0}, {868, 400, 1316, 604}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LabelDeviceRect(CPageFormat(), c.nRow, c.nColumn, c.calibration, k600), c.expected);
        CSheet sheet;
        sheet.m_labels[c.nRow][c.nColumn].m_bSelected = 1;
        const std::vector<CPrintedLabel> page =
            PlanPrintedPage(sheet, PrintMode::Preview, c.calibration, k600);
        EXPECT_EQ(page[c.nRow * sheet.m_format.m_nColumns + c.nColumn].m_rc, c.expected);
    }
}

TEST(PrintLayout, DeviceUnitsSaturate)
{
    EXPECT_EQ(ToDeviceUnits(600, 12.0), 283);
    EXPECT_EQ(ToDeviceUnits(600, -12.0), -283);
    EXPECT_EQ(ToDeviceUnits(600, 1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(ToDeviceUnits(600, -1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(ToDeviceUnits(600, 0.0 / 0.0), 0);
}

TEST(PrintLayout, BaselineIsTwoRowsOfOutlines)
{
    CSheet sheet;
    sheet.m_labels[0][0].m_strText = "not printed";
    for (int nRows : {2, 14, 25}) {
        SCOPED_TRACE(nRows);
        sheet.m_format.m_nRows = nRows;
        sheet.m_format.Recalc();
        const std::vector<CPrintedLabel> page = PlanPrintedPage(sheet, PrintMode::Baseline, {50, -30}, k600);
        ASSERT_EQ(page.size(), 10u);
        for (std::size_t i = 0; i < page.size(); ++i) {
            EXPECT_EQ(page[i].m_nRow, int(i) / 5);
            EXPECT_EQ(page[i].m_nColumn, int(i) % 5);
            EXPECT_TRUE(page[i].m_bOutline);
            EXPECT_FALSE(page[i].m_bText);
        }
        EXPECT_EQ(page[6].m_rc, LabelDeviceRect(sheet.m_format, 1, 1, {50, -30}, k600));
    }
}

TEST(PrintLayout, LabelsAndPreview)
{
    CSheet sheet;
    for (auto& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_bSelected = 0;
    sheet.m_labels[0][1].m_bSelected = 1; // empty, still rendered
    sheet.m_labels[2][3].m_bSelected = 1;
    sheet.m_labels[2][3].m_dMarginLeft = 2.0;
    sheet.m_labels[2][3].m_dLineSpacing = 0.5;
    sheet.m_labels[20][0].m_bSelected = 1; // outside 14 × 5: never printed

    const struct
    {
        const char* name;
        PrintMode mode;
        std::size_t nCount;
        bool bOutlines;
    } cases[] = {
        {"labels", PrintMode::Labels, 2, false},
        {"none prints labels", PrintMode::None, 2, false},
        {"preview outlines every label", PrintMode::Preview, 70, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CPrintedLabel> page = PlanPrintedPage(sheet, c.mode, {}, k600);
        ASSERT_EQ(page.size(), c.nCount);
        std::vector<std::pair<int, int>> texts;
        for (const CPrintedLabel& label : page) {
            EXPECT_EQ(label.m_bOutline, c.bOutlines);
            if (label.m_bText)
                texts.emplace_back(label.m_nRow, label.m_nColumn);
        }
        EXPECT_EQ(texts, (std::vector<std::pair<int, int>>{{0, 1}, {2, 3}}));
    }
    const std::vector<CPrintedLabel> page = PlanPrintedPage(sheet, PrintMode::Labels, {}, k600);
    EXPECT_EQ(page[1].m_insets, (CDeviceInsets{47, 23, 23, 23, 11}));
}
