#pragma once

// Sheets and file bytes shared by the core tests: the golden files in
// tests/data and the fuzzer's seed corpus are made from these.

#include "model/Archive.h"
#include "model/CSheet.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace samples {

// "标签" and "电缆" in code page 936.
inline const std::string kLabel = "\xB1\xEA\xC7\xA9";
inline const std::string kCable = "\xB5\xE7\xC0\xC2";

// The built-in preset: A4 page, all margins 12 mm, 7 × 20 labels of 19 × 8.65 mm.
inline CPageFormat Preset7x20()
{
    CPageFormat format;
    format.m_dPageWidth = 210.0;
    format.m_dPageHeight = 297.0;
    format.m_dLeftMargin = format.m_dRightMargin = 12.0;
    format.m_dTopMargin = format.m_dBottomMargin = 12.0;
    format.m_dLabelWidth = 19.0;
    format.m_dLabelHeight = 8.65;
    format.m_nColumns = 7;
    format.m_nRows = 20;
    format.Recalc();
    return format;
}

inline CPageFormat Format(int nColumns, int nRows)
{
    CPageFormat format;
    format.m_nColumns = nColumns;
    format.m_nRows = nRows;
    format.Recalc();
    return format;
}

// A sheet of the default page with nColumns × nRows labels, each selected
// where `selected(row, column)` says.
template <class Selected>
CSheet SheetSelecting(int nColumns, int nRows, Selected selected)
{
    CSheet sheet;
    sheet.m_format = Format(nColumns, nRows);
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            sheet.m_labels[r][c].m_bSelected = selected(r, c) ? 1 : 0;
    return sheet;
}

// Every label of rows × columns gets its own text, and the formatting
// members vary with the position, so that a record read into the wrong cell
// or a field read out of order shows.
inline void FillLabels(CSheet& sheet)
{
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c) {
            CLabelRecord& label = sheet.m_labels[r][c];
            const std::string number = std::to_string(r * 100 + c);
            label.m_strText = (r + c) % 3 == 0 ? kCable + "-" + number + "\r\n" + kLabel : "W" + number;
            label.m_bSelected = (r + c) % 2;
            label.m_dMarginLeft = 0.5 + c * 0.1;
            label.m_dMarginTop = 0.25 + r * 0.1;
            label.m_dMarginRight = 1.5;
            label.m_dMarginBottom = 0.0;
            label.m_dLineSpacing = r % 4 * 0.3;
            label.m_crText = 0x00102030u * static_cast<std::uint32_t>(c % 5);
            label.m_nFontHeight = -12 - 2 * (r % 5);
            label.m_nHAlign = c % 3;
            label.m_nVAlign = 4 * (r % 3);
            label.m_bAutoShrink = (r * c) % 2;
            label.m_logFont.lfHeight = -7 - r % 3;
            label.m_logFont.lfWeight = c % 2 ? 700 : 400;
            label.m_logFont.lfItalic = r % 2;
            label.m_logFont.lfUnderline = (r + 1) % 2;
            label.m_logFont.lfStrikeOut = r == c;
            label.m_logFont.lfCharSet = 134;
            label.m_logFont.SetFaceName(c % 2 ? "Noto Serif CJK SC" : "\xBA\xDA\xCC\xE5"); // "黑体"
        }
}

inline CSheet TextSheet(const CPageFormat& format)
{
    CSheet sheet;
    sheet.m_format = format;
    FillLabels(sheet);
    return sheet;
}

// The label faces side by side: one row per face (in code page 936), each
// at the same stored height. The left label's two lines "top<row> ..." and
// "low<row> ..." show the face's line pitch; the right one shrinks a text too
// long for its box.
inline const std::string kFaces[] = {
    "DejaVu Sans",
    "\xCB\xCE\xCC\xE5", // 宋体
    "Nimbus Roman",
    "\xBF\xAC\xCC\xE5",                 // 楷体
    "\xBA\xDA\xCC\xE5",                 // 黑体
    "\xB7\xC2\xCB\xCE_GB2312",          // 仿宋_GB2312
    "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA", // 微软雅黑
    "DejaVu Serif",
};

inline CSheet FaceSheet()
{
    CSheet sheet;
    sheet.m_format.m_dPageWidth = 210.0;
    sheet.m_format.m_dPageHeight = 297.0;
    sheet.m_format.m_dLeftMargin = sheet.m_format.m_dRightMargin = 10.0;
    sheet.m_format.m_dTopMargin = sheet.m_format.m_dBottomMargin = 10.0;
    sheet.m_format.m_dLabelWidth = 90.0;
    sheet.m_format.m_dLabelHeight = 30.0;
    sheet.m_format.m_nColumns = 2;
    sheet.m_format.m_nRows = static_cast<int>(std::size(kFaces));
    sheet.m_format.Recalc();
    // "直骨" and "电缆接线" have Simplified, Traditional and Japanese forms
    // that differ.
    const std::string glyphs = "\xD6\xB1\xB9\xC7";
    const std::string longText = "CABLE-0123456789-ABCDEFGH";
    for (int r = 0; r < sheet.m_format.m_nRows; ++r) {
        const std::string row = std::to_string(r);
        CLabelRecord& lines = sheet.m_labels[r][0];
        lines.m_strText = "top" + row + " " + glyphs + " Hg\r\nlow" + row + " " + kCable + " gjpqy";
        lines.m_nHAlign = 0;
        lines.m_nVAlign = 0;
        CLabelRecord& shrunk = sheet.m_labels[r][1];
        shrunk.m_strText = r % 2 ? longText + "\r\n" + kCable + "\xBD\xD3\xCF\xDF gjpqy" : longText;
        shrunk.m_bAutoShrink = 1;
        for (CLabelRecord* label : {&lines, &shrunk}) {
            label->m_nFontHeight = -32;
            label->m_logFont.SetFaceName(kFaces[r]);
        }
    }
    return sheet;
}

// A 2 × 2 sheet whose first label's text is stored in the 16-bit form
// (0xFF, 0xFFFE, a length in characters, UTF-16LE) as other programs write
// it: `utf16le`, fewer than 255 characters.
inline std::string WideTextFileBytes(const std::string& utf16le)
{
    CSheet sheet;
    sheet.m_format = Format(2, 2);
    const std::string narrow = SheetBytes(sheet);
    // Signature, format, the first label's selection flag, then its empty
    // text's one-byte length prefix, which is replaced.
    const std::size_t textAt = 49 + CPageFormat::kSerializedSize + 4;
    std::string wide = narrow.substr(0, textAt);
    wide += std::string("\xFF\xFE\xFF", 3);
    wide += static_cast<char>(utf16le.size() / 2);
    wide += utf16le;
    wide += narrow.substr(textAt + 1);
    return wide;
}

// "标签 A€" in the 16-bit form (the euro sign is 0x80 in code page 936).
inline std::string WideStringFileBytes()
{
    return WideTextFileBytes(std::string("\x07\x68\x7E\x7B\x20\x00\x41\x00\xAC\x20", 10));
}

inline const std::string kWideText = "\xB1\xEA\xC7\xA9 A\x80";

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes a record (format, label, font block) stores.
template <typename T>
std::string Stored(const T& record)
{
    std::ostringstream out(std::ios::binary);
    CArchiveWriter ar(out);
    record.Store(ar);
    return std::move(out).str();
}

// The value of type T at `offset` in stored bytes.
template <typename T>
T At(const std::string& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace samples
