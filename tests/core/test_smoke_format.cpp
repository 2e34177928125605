#include "model/Archive.h"
#include "model/CPageFormat.h"
#include "model/CSheet.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(PageFormat, DefaultPitches)
{
    CPageFormat f;
    EXPECT_DOUBLE_EQ(f.m_dColumnPitch, 24.25);
    EXPECT_DOUBLE_EQ(f.m_dRowPitch, 185.35 / 13);
}

TEST(SheetFile, DefaultSheetIs8871Bytes)
{
    const std::string bytes = SheetBytes(CSheet{});
    EXPECT_EQ(bytes.size(), 8871u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x30);
}
