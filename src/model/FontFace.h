#pragma once

#include <string>

// Label fonts name Windows faces. Where such a face is not installed, the
// family that stands in for it, in UTF-8: the Song faces ("宋体", "新宋体",
// SimSun, NSimSun) are drawn with Noto Serif CJK SC, the Hei faces ("黑体",
// "微软雅黑", SimHei, Microsoft YaHei) with Noto Sans CJK SC; Latin names
// match in any case, as the platform that wrote them compares them. Any other
// face is returned as it is (converted from code page 936). The one table of
// substitutes for the screen, the printer and the font dialog.
std::string InstalledFamilyForFace(const std::string& gbkFace);
