#include "text/LabelFormat.h"

#include <gtest/gtest.h>

#include <array>

TEST(TextFormat, MulDivRoundsHalfAwayFromZero)
{
    struct Case
    {
        std::int32_t a, b, c, expected;
    } const cases[] = {
        {9, 96, 72, 12},        {10, 96, 72, 13},
        {11, 96, 72, 15},       {3, 1, 2, 2},
        {-3, 1, 2, -2},         {3, -1, 2, -2},
        {3, 1, -2, -2},         {5, 1, 0, -1},
        {2147483647, 2, 1, -1}, {2147483647, 2, 2, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "*" << c.b << "/" << c.c);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
    }
}

TEST(TextFormat, FontHeightAndPointSize)
{
    EXPECT_EQ(FontHeightFromPointTenths(90), -12);
    EXPECT_EQ(FontHeightFromPointTenths(100), -13);
    EXPECT_EQ(FontHeightFromPointTenths(105), -14);
    EXPECT_EQ(FontHeightFromPointTenths(720), -96);
    EXPECT_EQ(PointTenthsFromFontHeight(-12), 90);
    EXPECT_EQ(PointTenthsFromFontHeight(12), 90);
    EXPECT_EQ(PointTenthsFromFontHeight(-14), 105);
    // Every height shows as a size that gives the same height back.
    for (std::int32_t h = 1; h <= 400; ++h) {
        SCOPED_TRACE(h);
        EXPECT_EQ(FontHeightFromPointTenths(PointTenthsFromFontHeight(-h)), -h);
    }
}

namespace {

struct Grid
{
    Grid()
    {
        for (CLabelRecord& label : m_labels)
            m_grid.push_back(&label);
    }
    std::array<CLabelRecord, 4> m_labels;
    LabelGrid m_grid;
};

} // namespace

TEST(TextFormat, TemplateIsTheFirstSelectedLabel)
{
    Grid g;
    g.m_labels[0].m_bSelected = 0;
    g.m_grid[1] = nullptr;
    EXPECT_EQ(FindTemplateLabel(g.m_grid), 2u);
    for (CLabelRecord& label : g.m_labels)
        label.m_bSelected = 0;
    EXPECT_EQ(FindTemplateLabel(g.m_grid), std::nullopt);
}

TEST(TextFormat, FontGoesToEverySelectedLabel)
{
    Grid g;
    g.m_labels[1].m_logFont.SetFaceName("Other");
    g.m_labels[1].m_logFont.lfItalic = 1;
    g.m_labels[1].m_nFontHeight = -20;
    g.m_labels[2].m_bSelected = 0;

    CFontChoice choice = FontChoiceOf(g.m_labels[0]);
    EXPECT_EQ(choice.m_logFont.lfHeight, -12);
    choice.m_logFont.lfWeight = 700;
    choice.m_logFont.lfUnderline = 1;
    choice.m_crText = 0x000000FF;
    choice.m_nFontHeight = FontHeightFromPointTenths(140);

    const ChangedLabels changed = ApplyFont(g.m_grid, choice);
    EXPECT_EQ(changed, (ChangedLabels{0, 1, 3}));
    for (std::size_t i : {0, 1, 3}) {
        SCOPED_TRACE(i);
        const CLabelRecord& label = g.m_labels[i];
        EXPECT_EQ(label.m_logFont.FaceName(), "\xCB\xCE\xCC\xE5");
        EXPECT_EQ(label.m_logFont.lfWeight, 700);
        EXPECT_EQ(label.m_logFont.lfItalic, 0);
        EXPECT_EQ(label.m_logFont.lfHeight, -19);
        EXPECT_EQ(label.m_nFontHeight, -19);
        EXPECT_EQ(label.m_crText, 0x000000FFu);
    }
    CLabelRecord untouched;
    untouched.m_bSelected = 0;
    EXPECT_EQ(g.m_labels[2], untouched);
}

TEST(TextFormat, AlignmentReportsOnlyLabelsThatChanged)
{
    Grid g;
    g.m_labels[1].m_nHAlign = 2;
    g.m_labels[1].m_nVAlign = 8;
    g.m_labels[3].m_bSelected = 0;
    EXPECT_EQ(ApplyAlignment(g.m_grid, HAlign::Right, VAlign::Bottom), (ChangedLabels{0, 2}));
    EXPECT_EQ(g.m_labels[0].m_nHAlign, 2);
    EXPECT_EQ(g.m_labels[0].m_nVAlign, 8);
    EXPECT_EQ(g.m_labels[3].m_nHAlign, 1);
}

TEST(TextFormat, MarginsInTenthsTruncateOnTheWayIn)
{
    CLabelRecord label;
    label.m_dMarginLeft = 1.05;
    label.m_dMarginTop = 0.95;
    label.m_dMarginRight = 10.0;
    label.m_dMarginBottom = 0.5;
    label.m_dLineSpacing = 0.0;
    const CMarginTenths margins = MarginTenthsOf(label);
    EXPECT_EQ(margins, (CMarginTenths{10, 9, 100, 5, 0}));

    label.m_dMarginLeft = 1e300;
    label.m_dMarginTop = -1e300;
    EXPECT_EQ(MarginTenthsOf(label).m_nLeft, std::numeric_limits<int>::max());
    EXPECT_EQ(MarginTenthsOf(label).m_nTop, std::numeric_limits<int>::min());
}

// Margins that meet or cross leave a label no room for text.
TEST(TextFormat, MarginsMustLeaveRoomForText)
{
    const struct
    {
        const char* name;
        CMarginTenths margins;
        double dWidth;
        double dHeight;
        MarginFit fit;
    } cases[] = {
        {"default", {10, 10, 10, 10, 0}, 17.0, 8.0, MarginFit::Fits},
        {"a tenth left across", {95, 10, 94, 10, 0}, 19.0, 8.0, MarginFit::Fits},
        {"left and right meet", {95, 10, 95, 10, 0}, 19.0, 8.0, MarginFit::TooWide},
        {"left and right cross", {100, 10, 100, 10, 0}, 19.0, 8.0, MarginFit::TooWide},
        {"top and bottom meet", {10, 40, 10, 40, 0}, 19.0, 8.0, MarginFit::TooTall},
        {"a tenth left down", {10, 40, 10, 39, 0}, 19.0, 8.0, MarginFit::Fits},
        {"width checked first", {100, 100, 100, 100, 0}, 5.0, 5.0, MarginFit::TooWide},
        {"a size of tenths meets exactly", {61, 10, 62, 10, 0}, 12.3, 8.0, MarginFit::TooWide},
        {"line spacing plays no part", {10, 10, 10, 10, 100}, 17.0, 5.0, MarginFit::Fits},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckMarginsFit(c.margins, c.dWidth, c.dHeight), c.fit);
    }
}

TEST(TextFormat, MarginsGoToEverySelectedLabel)
{
    Grid g;
    g.m_labels[0].m_dMarginLeft = 1.05;
    g.m_labels[2].m_bSelected = 0;
    const CMarginTenths margins = MarginTenthsOf(g.m_labels[0]);
    EXPECT_EQ(margins.m_nLeft, 10);
    // Unchanged in the dialog, the template itself is written back as 1.0 mm.
    EXPECT_EQ(ApplyMargins(g.m_grid, margins), (ChangedLabels{0}));
    EXPECT_EQ(g.m_labels[0].m_dMarginLeft, 1.0);

    const ChangedLabels changed = ApplyMargins(g.m_grid, CMarginTenths{25, 9, 100, 10, 3});
    EXPECT_EQ(changed, (ChangedLabels{0, 1, 3}));
    for (std::size_t i : {0, 1, 3}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.m_labels[i].m_dMarginLeft, 25 * 0.1);
        EXPECT_EQ(g.m_labels[i].m_dMarginTop, 9 * 0.1);
        EXPECT_EQ(g.m_labels[i].m_dMarginRight, 100 * 0.1);
        EXPECT_EQ(g.m_labels[i].m_dMarginBottom, 10 * 0.1);
        EXPECT_EQ(g.m_labels[i].m_dLineSpacing, 3 * 0.1);
    }
    EXPECT_EQ(g.m_labels[2].m_dMarginLeft, 1.0);
}

TEST(TextFormat, AutoShrinkTakesTheOppositeOfTheFirstSelected)
{
    Grid g;
    g.m_labels[0].m_bSelected = 0;
    g.m_labels[0].m_bAutoShrink = 1;
    g.m_labels[1].m_bAutoShrink = 0;
    g.m_labels[2].m_bAutoShrink = 1;
    EXPECT_FALSE(IsAutoShrinkChecked(g.m_grid));
    EXPECT_EQ(ToggleAutoShrink(g.m_grid), (ChangedLabels{1, 3}));
    EXPECT_EQ(g.m_labels[1].m_bAutoShrink, 1);
    EXPECT_EQ(g.m_labels[2].m_bAutoShrink, 1);
    EXPECT_EQ(g.m_labels[3].m_bAutoShrink, 1);
    EXPECT_EQ(g.m_labels[0].m_bAutoShrink, 1);
    EXPECT_TRUE(IsAutoShrinkChecked(g.m_grid));
    EXPECT_EQ(ToggleAutoShrink(g.m_grid), (ChangedLabels{1, 2, 3}));
    EXPECT_FALSE(IsAutoShrinkChecked(g.m_grid));

    for (CLabelRecord& label : g.m_labels)
        label.m_bSelected = 0;
    EXPECT_TRUE(ToggleAutoShrink(g.m_grid).empty());
    EXPECT_FALSE(IsAutoShrinkChecked(g.m_grid));
}
