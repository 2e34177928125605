#include "model/FontFace.h"

#include "model/Gbk.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Byte-wise, folding ASCII letters only: code page 936 names stay exact.
bool SameFaceName(const std::string& a, const std::string& b)
{
    const auto fold = [](unsigned char ch) { return ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

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
        if (SameFaceName(utf8, face))
            return family;
    return utf8;
}
