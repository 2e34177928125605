#include "SampleSheets.h"

#include "model/Archive.h"
#include "model/CLabelRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <sstream>

namespace {

using samples::At;
using samples::Stored;

// Offsets in the record of a label with an empty text.
constexpr std::size_t kMarginLeftAt = 5;
constexpr std::size_t kLineSpacingAt = 37;
constexpr std::size_t kFontAt = 65;
constexpr std::size_t kFaceAt = kFontAt + 28;

TEST(LabelRecord, DefaultIs125BytesInFileOrder)
{
    const std::string bytes = Stored(CLabelRecord{});
    ASSERT_EQ(bytes.size(), 125u);
    EXPECT_EQ(At<std::int32_t>(bytes, 0), 1); // selected
    EXPECT_EQ(bytes[4], '\0');                // empty text
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(At<double>(bytes, kMarginLeftAt + 8 * i), 1.0);
    EXPECT_EQ(At<double>(bytes, kLineSpacingAt), 0.0);
    EXPECT_EQ(At<std::int32_t>(bytes, 45), 0);   // black
    EXPECT_EQ(At<std::int32_t>(bytes, 49), -12); // font height
    EXPECT_EQ(At<std::int32_t>(bytes, 53), 1);   // centred
    EXPECT_EQ(At<std::int32_t>(bytes, 57), 4);   // middle
    EXPECT_EQ(At<std::int32_t>(bytes, 61), 0);   // no shrinking

    // The font block: height 12, weight 400, character set 1, face "宋体",
    // every other byte zero.
    std::string font(60, '\0');
    font[0] = 12;
    font[16] = static_cast<char>(400 & 0xFF);
    font[17] = static_cast<char>(400 >> 8);
    font[23] = 1;
    std::memcpy(&font[28], "\xCB\xCE\xCC\xE5", 4);
    EXPECT_EQ(bytes.substr(kFontAt), font);
}

TEST(LabelRecord, RoundTripsEveryMember)
{
    CLabelRecord label;
    label.m_bSelected = 0;
    label.m_strText = "A\r\n\r\nB\r\n";
    label.m_dMarginLeft = 0.1;
    label.m_dMarginTop = 0.2;
    label.m_dMarginRight = 0.3;
    label.m_dMarginBottom = 0.4;
    label.m_dLineSpacing = 1.5;
    label.m_crText = 0x00FF8040;
    label.m_nFontHeight = 27;
    label.m_nHAlign = 2;
    label.m_nVAlign = 8;
    label.m_bAutoShrink = 1;
    label.m_logFont = CLogFont{-9, 4, 900, 900, 700, 1, 1, 1, 134, 3, 2, 1, 0x31, {}};
    label.m_logFont.SetFaceName("DejaVu Sans");

    std::istringstream in(Stored(label), std::ios::binary);
    CArchiveReader ar(in);
    CLabelRecord read;
    ASSERT_TRUE(read.Load(ar));
    EXPECT_EQ(read, label);
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

// No memory after the name's terminator reaches a file, and a name that
// fills the field is cut so that it is always terminated.
TEST(LogFont, FaceNameZeroPaddedAndTerminated)
{
    CLabelRecord label;
    std::memcpy(label.m_logFont.lfFaceName.data(), "Sans\0garbage-after-the-name", 27);
    const std::string bytes = Stored(label);
    EXPECT_EQ(bytes.substr(kFaceAt), std::string("Sans") + std::string(28, '\0'));

    std::string unterminated = bytes;
    unterminated.replace(kFaceAt, 32, std::string(32, 'F'));
    std::istringstream in(unterminated, std::ios::binary);
    CArchiveReader ar(in);
    CLabelRecord read;
    ASSERT_TRUE(read.Load(ar));
    EXPECT_EQ(read.m_logFont.FaceName(), std::string(31, 'F'));
    EXPECT_EQ(read.m_logFont.lfFaceName.back(), '\0');

    std::string stale = bytes;
    stale.replace(kFaceAt, 32, std::string("Sans\0stale\0bytes", 16) + std::string(16, 'x'));
    std::istringstream staleIn(stale, std::ios::binary);
    CArchiveReader staleAr(staleIn);
    ASSERT_TRUE(read.Load(staleAr));
    CLogFont clean = CLogFont::LabelDefault();
    clean.SetFaceName("Sans");
    EXPECT_EQ(read.m_logFont, clean) << "the bytes after the terminator are dropped";
}

TEST(LogFont, SetFaceNameCutsTo31Bytes)
{
    CLogFont font;
    font.SetFaceName(std::string(40, 'n'));
    EXPECT_EQ(font.FaceName(), std::string(31, 'n'));
    font.SetFaceName("Sans");
    EXPECT_EQ(font.FaceName(), "Sans");
    EXPECT_EQ(font.lfFaceName[5], '\0');
}

TEST(LabelRecord, RefusesLengthsThatAreNotFiniteOrAbsurd)
{
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -20000.0};
    for (std::size_t field = 0; field < 5; ++field)
        for (double value : values) {
            SCOPED_TRACE(testing::Message() << "field " << field << " value " << value);
            std::string bytes = Stored(CLabelRecord{});
            std::memcpy(&bytes[kMarginLeftAt + 8 * field], &value, 8);
            std::istringstream in(bytes, std::ios::binary);
            CArchiveReader ar(in);
            CLabelRecord label;
            label.m_strText = "kept";
            EXPECT_FALSE(label.Load(ar));
            EXPECT_EQ(label.m_strText, "kept");
        }
}

// Every cut of a record, even one inside the font block, is refused and
// leaves the record as it was.
TEST(LabelRecord, EveryTruncationIsRefused)
{
    CLabelRecord source;
    source.m_strText = "text";
    const std::string bytes = Stored(source);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        std::istringstream in(bytes.substr(0, size), std::ios::binary);
        CArchiveReader ar(in);
        CLabelRecord label;
        label.m_nHAlign = 2;
        EXPECT_FALSE(label.Load(ar));
        CLabelRecord expected;
        expected.m_nHAlign = 2;
        EXPECT_EQ(label, expected);
    }
}

} // namespace
