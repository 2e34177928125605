#pragma once

#include <array>
#include <cstdint>
#include <string>

class CArchiveReader;
class CArchiveWriter;

// The 60-byte logical font record stored with every label, field by field as
// the file holds it. The face name is code page 936 text, NUL-terminated.
struct CLogFont
{
    static constexpr int kSerializedSize = 60;
    static constexpr int kFaceSize = 32;

    std::int32_t lfHeight = 0; // < 0 character (em) height, > 0 cell height
    std::int32_t lfWidth = 0;  // average character width, 0 = from the height
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<char, kFaceSize> lfFaceName{};

    // The label default: height 12, weight 400, character set 1, face "宋体".
    static CLogFont LabelDefault();

    std::string FaceName() const;             // up to the first NUL
    void SetFaceName(const std::string& gbk); // cut to 31 bytes, zero padded

    void Store(CArchiveWriter& ar) const; // the face always zero padded
    bool Load(CArchiveReader& ar);        // the face always terminated

    bool operator==(const CLogFont&) const = default;
};

// One label's persisted state, in file order. The cell on screen adds its
// size, zoom and position, which come from the sheet and are not stored.
enum class HAlign {
    Left,
    Centre,
    Right,
};
enum class VAlign {
    Top,
    Middle,
    Bottom,
};

struct CLabelRecord
{
    std::int32_t m_bSelected = 1; // see IsSelected
    std::string m_strText;        // code page 936; lines separated by CR LF
    double m_dMarginLeft = 1.0;   // inner margins, mm
    double m_dMarginTop = 1.0;
    double m_dMarginRight = 1.0;
    double m_dMarginBottom = 1.0;
    double m_dLineSpacing = 0.0;      // extra gap between lines, mm
    std::uint32_t m_crText = 0;       // 0x00BBGGRR
    std::int32_t m_nFontHeight = -12; // logical height at 96 dpi; a quarter of it is mm
    std::int32_t m_nHAlign = 1;       // 0 left, 1 centre, 2 right (see SetAlignment)
    std::int32_t m_nVAlign = 4;       // 0 top, 4 middle, 8 bottom
    std::int32_t m_bAutoShrink = 0;
    CLogFont m_logFont = CLogFont::LabelDefault();

    // The file stores the flag as an int32: a label is selected exactly when
    // it holds 1. Screen, printing, preview and PDF all ask here, so a flag of
    // 2, -1 or 256 in a file is unselected everywhere.
    bool IsSelected() const { return m_bSelected == 1; }
    void SetSelected(bool bSelected) { m_bSelected = bSelected ? 1 : 0; }
    // The file's alignment codes: 0, 1, 2 across and 0, 4, 8 down.
    void SetAlignment(HAlign hAlign, VAlign vAlign)
    {
        m_nHAlign = static_cast<std::int32_t>(hAlign);
        m_nVAlign = 4 * static_cast<std::int32_t>(vAlign);
    }

    // 125 bytes plus the text and its length prefix beyond one byte.
    void Store(CArchiveWriter& ar) const;
    // Replaces this record only when the whole record was read and its
    // lengths are finite and at most CPageFormat::kMaxLength in size;
    // otherwise returns false and leaves it unchanged.
    bool Load(CArchiveReader& ar);

    bool operator==(const CLabelRecord&) const = default;
};
