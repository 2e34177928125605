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
