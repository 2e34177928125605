#include "text/FontFace.h"

#include "model/Gbk.h"

#include <array>
#include <utility>

std::string InstalledFamilyForFace(const std::string& gbkFace)
{
    static const std::array<std::pair<const char*, const char*>, 8> kSubstitutes = {{
        {"宋体", "Noto Serif CJK SC"},
        {"新宋体", "Noto Serif CJK SC"},
        {"SimSun", "Noto Serif CJK SC"},
        {"NSimSun", "Noto Serif CJK SC"},
        {"黑体", "Noto Sans CJK SC"},
        {"微软雅黑", "Noto Sans CJK SC"},
        {"SimHei", "Noto Sans CJK SC"},
        {"Microsoft YaHei", "Noto Sans CJK SC"},
    }};
    const std::string utf8 = GbkToUtf8Lossy(gbkFace);
    for (const auto& [face, family] : kSubstitutes)
        if (utf8 == face)
            return family;
    return utf8;
}
