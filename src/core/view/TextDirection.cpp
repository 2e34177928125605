#include "view/TextDirection.h"

#include "model/Gbk.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

constexpr std::int32_t kUp = 900;
constexpr std::int32_t kUpsideDown = 1800;
constexpr std::int32_t kDown = 2700;

bool HasVerticalMark(const std::string& gbkFace)
{
    return !gbkFace.empty() && gbkFace.front() == '@';
}

} // namespace

TextDirection DirectionOfFont(const CLogFont& logFont)
{
    switch (logFont.lfEscapement) {
    case kUp:
        return TextDirection::Up;
    case kUpsideDown:
        return TextDirection::UpsideDown;
    case kDown:
        return HasVerticalMark(logFont.FaceName()) ? TextDirection::Vertical : TextDirection::Down;
    default:
        return TextDirection::Horizontal;
    }
}

std::string FaceWithoutVerticalMark(const std::string& gbkFace)
{
    return HasVerticalMark(gbkFace) ? gbkFace.substr(1) : gbkFace;
}

void SetFontDirection(CLogFont& logFont, TextDirection direction)
{
    std::int32_t nAngle = 0;
    if (direction == TextDirection::Up)
        nAngle = kUp;
    else if (direction == TextDirection::UpsideDown)
        nAngle = kUpsideDown;
    else if (direction == TextDirection::Down || direction == TextDirection::Vertical)
        nAngle = kDown;
    logFont.lfEscapement = nAngle;
    logFont.lfOrientation = nAngle;
    std::string face = FaceWithoutVerticalMark(logFont.FaceName());
    if (direction == TextDirection::Vertical) {
        // The record holds 31 bytes: a face that long gives up its last
        // whole character to the mark.
        std::size_t nEnd = 0;
        while (nEnd < face.size()) {
            const std::size_t nNext =
                IsGbkLeadByte(static_cast<unsigned char>(face[nEnd])) ? nEnd + 2 : nEnd + 1;
            if (nNext > CLogFont::kFaceSize - 2)
                break;
            nEnd = nNext;
        }
        face = "@" + face.substr(0, nEnd);
    }
    // The bytes after the face's NUL stay as the file had them when the face
    // itself is unchanged.
    if (face != logFont.FaceName())
        logFont.SetFaceName(face);
}

bool IsUprightInVerticalText(char32_t ch)
{
    struct CRange
    {
        char32_t m_first;
        char32_t m_last;
    };
    static constexpr CRange kUpright[] = {
        {0x1100, 0x11FF},   // Hangul jamo
        {0x2E80, 0x2FDF},   // radicals
        {0x3000, 0x303F},   // ideographic punctuation
        {0x3040, 0x33FF},   // kana, bopomofo, compatibility
        {0x3400, 0x4DBF},   // ideographs, extension A
        {0x4E00, 0x9FFF},   // ideographs
        {0xAC00, 0xD7A3},   // Hangul syllables
        {0xF900, 0xFAFF},   // compatibility ideographs
        {0xFE30, 0xFE4F},   // compatibility forms
        {0xFF01, 0xFF60},   // full-width forms
        {0xFFE0, 0xFFE6},   // full-width signs
        {0x20000, 0x3FFFF}, // ideographs beyond the first plane
    };
    return std::any_of(std::begin(kUpright), std::end(kUpright),
                       [ch](const CRange& range) { return range.m_first <= ch && ch <= range.m_last; });
}

CPixelPoint CReadingFrame::ToDevice(CPixelPoint pt) const
{
    const std::int64_t x = std::int64_t{m_nOriginX} + std::int64_t{pt.x} * m_nXx + std::int64_t{pt.y} * m_nYx;
    const std::int64_t y = std::int64_t{m_nOriginY} + std::int64_t{pt.x} * m_nXy + std::int64_t{pt.y} * m_nYy;
    return {SaturateToInt(x), SaturateToInt(y)};
}

CPixelRect CReadingFrame::ToDevice(const CPixelRect& rc) const
{
    const CPixelPoint a = ToDevice(CPixelPoint{rc.left, rc.top});
    const CPixelPoint b = ToDevice(CPixelPoint{rc.right, rc.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

CDirectedLayout LayoutDirectedText(const std::string& strText, const CPixelRect& rcLabel,
                                   const CLabelTextStyle& style, const CTextMetrics& metrics,
                                   const CMeasuredLines& measured, TextDirection direction)
{
    CDirectedLayout result;
    result.m_direction = direction;
    if (direction == TextDirection::Horizontal) {
        result.m_layout = LayoutLabelText(strText, rcLabel, style, metrics, measured);
        result.m_rcBox = result.m_layout.m_rcText;
        return result;
    }
    // The margins on the device, then the box they leave turned to the
    // reader: a quarter turn swaps its width and height.
    const CLabelTextLayout box = LayoutLabelText({}, rcLabel, style, metrics);
    const CPixelRect& rc = box.m_rcText;
    result.m_rcBox = rc;
    const bool bQuarter = direction != TextDirection::UpsideDown;
    CLabelTextStyle reading = style;
    reading.m_nInsetLeft = reading.m_nInsetTop = reading.m_nInsetRight = reading.m_nInsetBottom = 0;
    const CPixelRect rcReading{0, 0, bQuarter ? rc.Height() : rc.Width(),
                               bQuarter ? rc.Width() : rc.Height()};
    result.m_layout = LayoutLabelText(strText, rcReading, reading, metrics, measured);

    CReadingFrame& frame = result.m_frame;
    switch (direction) {
    case TextDirection::Up: // x runs up from the bottom, y to the right
        frame = {rc.left, rc.bottom, 0, -1, 1, 0};
        break;
    case TextDirection::UpsideDown: // x runs left from the right, y up
        frame = {rc.right, rc.bottom, -1, 0, 0, -1};
        break;
    default: // Down and Vertical: x runs down from the top, y to the left
        frame = {rc.right, rc.top, 0, 1, -1, 0};
        break;
    }
    return result;
}
