#include "model/FontFace.h"

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
        {"DejaVu Sans", "DejaVu Sans"},
        {"SimSun ", "SimSun "},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_gbkFace);
        EXPECT_EQ(InstalledFamilyForFace(c.m_gbkFace), c.m_family);
    }
}
