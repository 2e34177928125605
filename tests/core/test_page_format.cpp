#include "SampleSheets.h"

#include "model/Archive.h"
#include "model/CPageFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace {

using samples::At;
using samples::Stored;

// A record whose every stored member differs from the default, with pitches
// that do not match them.
CPageFormat Unusual()
{
    CPageFormat format;
    format.m_dPageWidth = 297.0;
    format.m_dPageHeight = 420.0;
    format.m_dLeftMargin = 7.5;
    format.m_dRightMargin = 8.25;
    format.m_dTopMargin = 10.0;
    format.m_dBottomMargin = 11.0;
    format.m_dLabelWidth = 30.0;
    format.m_dLabelHeight = 12.5;
    format.m_nColumns = 9;
    format.m_nRows = 25;
    format.m_dColumnPitch = 1.0;
    format.m_dRowPitch = 2.0;
    return format;
}

TEST(PageFormat, Defaults)
{
    const CPageFormat f;
    EXPECT_EQ(f.m_dPageWidth, 140.0);
    EXPECT_EQ(f.m_dPageHeight, 200.0);
    EXPECT_EQ(f.m_dLeftMargin, 12.0);
    EXPECT_EQ(f.m_dRightMargin, 12.0);
    EXPECT_EQ(f.m_dTopMargin, 3.0);
    EXPECT_EQ(f.m_dBottomMargin, 3.0);
    EXPECT_EQ(f.m_dLabelWidth, 19.0);
    EXPECT_EQ(f.m_dLabelHeight, 8.65);
    EXPECT_EQ(f.m_nColumns, 5);
    EXPECT_EQ(f.m_nRows, 14);
    EXPECT_EQ(f.m_dColumnPitch, 24.25);
    EXPECT_EQ(f.m_dRowPitch, 185.35 / 13);
    EXPECT_TRUE(f.IsUsable());
}

TEST(PageFormat, PresetPitches)
{
    const CPageFormat f = samples::Preset7x20();
    EXPECT_EQ(f.m_dColumnPitch, 167.0 / 6);
    EXPECT_EQ(f.m_dRowPitch, 264.35 / 19);
    // The last label ends exactly at the right and bottom margins.
    EXPECT_DOUBLE_EQ(f.m_dLeftMargin + 6 * f.m_dColumnPitch + f.m_dLabelWidth, 210.0 - 12.0);
    EXPECT_DOUBLE_EQ(f.m_dTopMargin + 19 * f.m_dRowPitch + f.m_dLabelHeight, 297.0 - 12.0);
}

TEST(PageFormat, DefaultStoresAs72BytesInFileOrder)
{
    const std::string bytes = Stored(CPageFormat{});
    ASSERT_EQ(bytes.size(), 72u);
    const double d140 = 140.0;
    EXPECT_EQ(bytes.substr(0, 8), std::string(reinterpret_cast<const char*>(&d140), 8));
    EXPECT_EQ(bytes.substr(64), std::string("\x05\0\0\0\x0E\0\0\0", 8));

    // Width before height, left/right before top/bottom, columns before rows.
    const CPageFormat f = Unusual();
    const std::string unusual = Stored(f);
    const double expected[] = {297.0, 420.0, 7.5, 8.25, 10.0, 11.0, 30.0, 12.5};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(At<double>(unusual, 8 * i), expected[i]) << "double #" << i;
    EXPECT_EQ(At<std::int32_t>(unusual, 64), 9);
    EXPECT_EQ(At<std::int32_t>(unusual, 68), 25);
}

TEST(PageFormat, LoadGivesAllTwelveMembers)
{
    CPageFormat source = Unusual();
    source.Recalc();
    std::istringstream in(Stored(source), std::ios::binary);
    CArchiveReader ar(in);
    CPageFormat loaded;
    ASSERT_TRUE(loaded.Load(ar));
    EXPECT_EQ(loaded, source); // pitches included: recomputed on loading
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(PageFormat, LoadOfAShortBlockChangesNothing)
{
    const std::string bytes = Stored(Unusual());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        std::istringstream in(bytes.substr(0, size), std::ios::binary);
        CArchiveReader ar(in);
        CPageFormat format;
        EXPECT_FALSE(format.Load(ar));
        EXPECT_EQ(format, CPageFormat{});
    }
}

TEST(PageFormat, CopiesRecomputeStalePitchesAndLeaveTheSource)
{
    const CPageFormat source = Unusual(); // pitches 1 and 2: stale
    CPageFormat expected = source;
    expected.Recalc();

    CPageFormat to;
    to.m_dColumnPitch = to.m_dRowPitch = -5.0;
    source.CopyTo(to);
    EXPECT_EQ(to, expected);

    CPageFormat from;
    from.m_dColumnPitch = from.m_dRowPitch = -5.0;
    from.CopyFrom(source);
    EXPECT_EQ(from, expected);

    const CPageFormat untouched = Unusual();
    EXPECT_EQ(source, untouched);
}

TEST(PageFormat, UsableFormats)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* name;
        void (*change)(CPageFormat&);
        bool bUsable;
    };
    const Case cases[] = {
        {"default", [](CPageFormat&) {}, true},
        {"2 x 2",
         [](CPageFormat& f) {
             f.m_nColumns = 2;
             f.m_nRows = 2;
         },
         true},
        {"15 x 25",
         [](CPageFormat& f) {
             f.m_nColumns = 15;
             f.m_nRows = 25;
         },
         true},
        {"zero margins",
         [](CPageFormat& f) {
             f.m_dLeftMargin = f.m_dRightMargin = f.m_dTopMargin = f.m_dBottomMargin = 0.0;
         },
         true},
        {"ten metre page", [](CPageFormat& f) { f.m_dPageWidth = 10000.0; }, true},
        {"columns 1", [](CPageFormat& f) { f.m_nColumns = 1; }, false},
        {"columns 16", [](CPageFormat& f) { f.m_nColumns = 16; }, false},
        {"rows 0", [](CPageFormat& f) { f.m_nRows = 0; }, false},
        {"rows 1", [](CPageFormat& f) { f.m_nRows = 1; }, false},
        {"rows 26", [](CPageFormat& f) { f.m_nRows = 26; }, false},
        {"rows 1000", [](CPageFormat& f) { f.m_nRows = 1000; }, false},
        {"rows negative", [](CPageFormat& f) { f.m_nRows = -3; }, false},
        {"page width NaN", [](CPageFormat& f) { f.m_dPageWidth = kNaN; }, false},
        {"page height infinite", [](CPageFormat& f) { f.m_dPageHeight = kInf; }, false},
        {"page width zero", [](CPageFormat& f) { f.m_dPageWidth = 0.0; }, false},
        {"label width zero", [](CPageFormat& f) { f.m_dLabelWidth = 0.0; }, false},
        {"label height negative", [](CPageFormat& f) { f.m_dLabelHeight = -8.65; }, false},
        {"label height NaN", [](CPageFormat& f) { f.m_dLabelHeight = kNaN; }, false},
        {"left margin negative", [](CPageFormat& f) { f.m_dLeftMargin = -0.01; }, false},
        {"bottom margin NaN", [](CPageFormat& f) { f.m_dBottomMargin = kNaN; }, false},
        {"top margin infinite", [](CPageFormat& f) { f.m_dTopMargin = kInf; }, false},
        {"page beyond ten metres", [](CPageFormat& f) { f.m_dPageHeight = 1e300; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPageFormat format;
        c.change(format);
        format.Recalc();
        EXPECT_EQ(format.IsUsable(), c.bUsable);
    }
}

} // namespace
