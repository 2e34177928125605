#include "model/FontFace.h"

#include "model/Gbk.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct CFaceSubstitute
{
    const char* m_face; // UTF-8
    const char* m_family;
    bool m_bOffered; // listed by the font dialog under its Chinese name
};

constexpr const char* kSong = "Noto Serif CJK SC";
constexpr const char* kHei = "Noto Sans CJK SC";
constexpr const char* kKai = "AR PL UKai CN";
constexpr const char* kFangSong = "AR PL UMing CN";

constexpr std::array<CFaceSubstitute, 16> kSubstitutes = {{
    {"宋体", kSong, true},
    {"新宋体", kSong, true},
    {"黑体", kHei, true},
    {"微软雅黑", kHei, true},
    {"楷体", kKai, true},
    {"仿宋", kFangSong, true},
    {"SimSun", kSong, false},
    {"NSimSun", kSong, false},
    {"SimHei", kHei, false},
    {"Microsoft YaHei", kHei, false},
    {"KaiTi", kKai, false},
    {"FangSong", kFangSong, false},
    {"STSong", kSong, false},
    {"STHeiti", kHei, false},
    {"STKaiti", kKai, false},
    {"STFangsong", kFangSong, false},
}};

// Byte-wise, folding ASCII letters only: code page 936 names stay exact.
bool SameFaceName(std::string_view a, std::string_view b)
{
    const auto fold = [](unsigned char ch) { return ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

std::string InstalledFamilyForFace(const std::string& gbkFace)
{
    const std::string utf8 = GbkToUtf8Lossy(gbkFace);
    std::string_view name = utf8;
    constexpr std::string_view kGb2312 = "_GB2312";
    if (name.size() > kGb2312.size() && SameFaceName(name.substr(name.size() - kGb2312.size()), kGb2312))
        name.remove_suffix(kGb2312.size());
    for (const CFaceSubstitute& substitute : kSubstitutes)
        if (SameFaceName(name, substitute.m_face))
            return substitute.m_family;
    return utf8;
}

const std::vector<std::string>& ChineseFaceNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> offered;
        for (const CFaceSubstitute& substitute : kSubstitutes)
            if (substitute.m_bOffered)
                offered.emplace_back(substitute.m_face);
        return offered;
    }();
    return names;
}
