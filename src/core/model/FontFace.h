#pragma once

#include <string>
#include <vector>

// Label fonts name Windows faces. Where such a face is not installed, the
// family that stands in for it, in UTF-8, always a Simplified Chinese face:
// the Song faces ("宋体", "新宋体", SimSun, NSimSun) are drawn with Noto Serif
// CJK SC, the Hei faces ("黑体", "微软雅黑", SimHei, Microsoft YaHei) with
// Noto Sans CJK SC, the Kai faces ("楷体", KaiTi) with AR PL UKai CN and the
// FangSong faces ("仿宋", FangSong) with AR PL UMing CN. A name ending in
// "_GB2312" ("楷体_GB2312") is the face without it. Latin names match in any
// case, as the platform that wrote them compares them. Any other face is
// returned as it is (converted from code page 936). The one table of
// substitutes for the screen, the printer and the font dialog.
std::string InstalledFamilyForFace(const std::string& gbkFace);

// The Chinese faces the font dialog offers by their Windows names, in UTF-8,
// in the order it lists them.
const std::vector<std::string>& ChineseFaceNames();

// The family that draws Chinese characters a face lacks, so that they take
// Simplified Chinese glyph forms whatever the locale.
inline constexpr const char* kChineseFallbackFamily = "Noto Sans CJK SC";
