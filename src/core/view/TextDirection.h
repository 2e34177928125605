#pragma once

#include "model/CLabelRecord.h"
#include "view/LabelTextLayout.h"

#include <string>

// Which way a label's text runs, from its font record: the escapement in
// tenths of a degree, and for vertical Chinese writing a face whose name
// starts with "@" turned by 2700, as the platform that wrote the files sets
// it. Any other escapement is kept in the record and drawn horizontally.
enum class TextDirection {
    Horizontal, // 横排: escapement 0
    Up,         // 向上: 900, a quarter turn left, read bottom to top
    Down,       // 向下: 2700, a quarter turn right, read top to bottom
    UpsideDown, // 倒置: 1800
    Vertical,   // 竖排: "@" face and 2700, Chinese characters upright
};

inline constexpr TextDirection kTextDirections[] = {TextDirection::Horizontal, TextDirection::Up,
                                                    TextDirection::Down, TextDirection::UpsideDown,
                                                    TextDirection::Vertical};

TextDirection DirectionOfFont(const CLogFont& logFont);

// Sets escapement, orientation and the face's "@" for the direction; the
// rest of the record stays. A face too long to take the "@" loses its last
// whole character (the record holds 31 bytes).
void SetFontDirection(CLogFont& logFont, TextDirection direction);

// The face without the vertical writing mark: the face that draws the glyphs.
std::string FaceWithoutVerticalMark(const std::string& gbkFace);

// Whether vertical writing sets a character upright: Chinese and Japanese
// characters, their punctuation and the full-width forms. Any other
// character lies along the column, turned with it.
bool IsUprightInVerticalText(char32_t ch);

// The text's own frame, in which it is laid out as a reader sees it: x along
// the lines, y from the first line to the last. A point (x, y) of the frame
// is the device point (m_nOriginX + x·m_nXx + y·m_nYx,
// m_nOriginY + x·m_nXy + y·m_nYy); the axes are whole quarter turns.
struct CReadingFrame
{
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    int m_nXx = 1;
    int m_nXy = 0;
    int m_nYx = 0;
    int m_nYy = 1;

    bool IsIdentity() const
    {
        return m_nOriginX == 0 && m_nOriginY == 0 && m_nXx == 1 && m_nXy == 0 && m_nYx == 0 && m_nYy == 1;
    }
    CPixelPoint ToDevice(CPixelPoint pt) const;
    // A rectangle of the frame on the device.
    CPixelRect ToDevice(const CPixelRect& rc) const;
};

// A label's layout in its direction. The margins are the label's own (its
// left margin is always the label's left); the text box they leave is laid
// out by LayoutLabelText in the reader's frame, so the alignments, the line
// gap and shrink to fit apply along and across the text. For 横排 the frame
// is the device itself and the layout is exactly LayoutLabelText's.
struct CDirectedLayout
{
    TextDirection m_direction = TextDirection::Horizontal;
    CReadingFrame m_frame;
    CLabelTextLayout m_layout; // in the frame's coordinates
    CPixelRect m_rcBox;        // the text box on the device
};

CDirectedLayout LayoutDirectedText(const std::string& strText, const CPixelRect& rcLabel,
                                   const CLabelTextStyle& style, const CTextMetrics& metrics,
                                   const CMeasuredLines& measured, TextDirection direction);
