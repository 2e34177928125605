#pragma once

#include <string>

// Label fonts name Windows faces. Where such a face is not installed, the
// family that stands in for it, in UTF-8: the Song faces ("宋体", "新宋体",
// SimSun, NSimSun) are drawn with Noto Serif CJK SC, the Hei faces ("黑体",
// "微软雅黑", SimHei, Microsoft YaHei) with Noto Sans CJK SC. Any other face
// is returned as it is (converted from code page 936).
std::string InstalledFamilyForFace(const std::string& gbkFace);
