#include "model/FontFace.h"
#include "model/Gbk.h"

#include <gtest/gtest.h>

TEST(FontFace, FacesThatAreNotInstalledTakeTheirStandIn)
{
    struct Case
    {
        const char* m_gbkFace;
        const char* m_family;
    };
    const Case cases[] = {
        {"\xCB\xCE\xCC\xE5", "Noto Serif CJK SC"},         // 宋体
        {"\xD0\xC2\xCB\xCE\xCC\xE5", "Noto Serif CJK SC"}, // 新宋体
        {"SimSun", "Noto Serif CJK SC"},
        {"simsun", "Noto Serif CJK SC"},
        {"NSIMSUN", "Noto Serif CJK SC"},
        {"\xBA\xDA\xCC\xE5", "Noto Sans CJK SC"}, // 黑体
        {"microsoft yahei", "Noto Sans CJK SC"},
        {"\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA", "Noto Sans CJK SC"}, // 微软雅黑
        {"\xBF\xAC\xCC\xE5", "AR PL UKai CN"},                    // 楷体
        {"\xBF\xAC\xCC\xE5_GB2312", "AR PL UKai CN"},             // 楷体_GB2312
        {"KaiTi_GB2312", "AR PL UKai CN"},
        {"\xB7\xC2\xCB\xCE", "AR PL UMing CN"},           // 仿宋
        {"\xB7\xC2\xCB\xCE_gb2312", "AR PL UMing CN"},    // 仿宋_GB2312
        {"\xCB\xCE\xCC\xE5_GB2312", "Noto Serif CJK SC"}, // 宋体_GB2312
        {"_GB2312", "_GB2312"},
        {"Arial_GB2312", "Arial_GB2312"},
        {"DejaVu Sans", "DejaVu Sans"},
        {"SimSun ", "SimSun "},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_gbkFace);
        EXPECT_EQ(InstalledFamilyForFace(c.m_gbkFace), c.m_family);
    }
}

TEST(FontFace, TheDialogOffersEveryChineseFaceThatHasAStandIn)
{
    for (const std::string& face : ChineseFaceNames()) {
        SCOPED_TRACE(face);
        const auto gbk = Utf8ToGbk(face);
        ASSERT_TRUE(gbk);
        EXPECT_NE(InstalledFamilyForFace(*gbk), face);
    }
    EXPECT_EQ(ChineseFaceNames().size(), 6u);
}
