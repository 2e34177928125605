#pragma once

#include "view/ViewGeometry.h"

#include <string>
#include <vector>

// The text layout of one label, in the pixels of the target (screen, printer,
// image): which lines, where each goes, what the font becomes when the text
// shrinks to fit, and which part of a text larger than its box shows. Every
// sum and product is done in 64 bits and saturated, as line spacings of
// ±10 m times many lines leave the int range.

// Lines of a label text. A CR LF pair ends a line and is dropped; any other
// byte, a lone CR or LF included, stays in its line. "A\r\n\r\nB" is three
// lines, "A\r\n" one, "" none.
std::vector<std::string> SplitLabelLines(const std::string& strText);

// A label text is kept and saved as it is, whatever its size, but only its
// start is laid out and drawn: a dialog stores at most 50 bytes, and no label
// shows legibly more than these (256 lines on a 297 mm label are 1.2 mm
// apiece). Without the bound a text the size of the file would cost seconds
// and gigabytes at every drawing.
constexpr std::size_t kMaxLaidOutBytes = 4096;
constexpr std::size_t kMaxLaidOutLines = 256;

// The first kMaxLaidOutBytes bytes of a text at most, cut after a whole code
// page 936 character.
std::string LaidOutText(const std::string& strText);

// The font record's height for the screen: trunc((fontHeight div 4) × zoom),
// negative for a character height (−7 for −12 at zoom 2.5).
int ScreenFontHeight(int nFontHeight, double dZoom);
// For a device of nDpiY dots per inch: trunc((−(fontHeight div 4) × dpi) / 25.4),
// positive for a cell height (+70 for −12 at 600 dpi).
int DeviceFontHeight(int nFontHeight, int nDpiY);

// What the renderer measured of the font it made: the cell height of a line
// and the average width of one byte of text.
struct CTextMetrics
{
    int m_nLineHeight = 0;
    int m_nCharWidth = 0;
};

// What the renderer measured of the lines themselves (the lines of
// SplitLabelLines, in order): their drawn widths stand for bytes × average
// width, and shrink to fit also keeps inside the box what the face draws
// above the first line's top and below the last line's bottom.
struct CMeasuredLines
{
    std::vector<int> m_widths;
    int m_nInkAbove = 0;
    int m_nInkBelow = 0;
};

// What the label asks for: its insets and line gap in target pixels, its
// alignment codes and its shrink-to-fit flag.
struct CLabelTextStyle
{
    int m_nInsetLeft = 0;
    int m_nInsetTop = 0;
    int m_nInsetRight = 0;
    int m_nInsetBottom = 0;
    int m_nGap = 0;
    int m_nHAlign = 1; // 0 left, 1 centre, 2 right
    int m_nVAlign = 4; // 0 top, 4 middle, 8 bottom
    bool m_bAutoShrink = false;
};

struct CLabelTextLayout
{
    // False when the text box has no area: then nothing at all is drawn.
    bool m_bDraw = false;
    CPixelRect m_rcText; // the text box; painted white, and nothing leaves it
    std::vector<std::string> m_lines;
    int m_nLineHeight = 0;
    int m_nGap = 0;
    int m_nTextWidth = 0; // the laid-out text, at least the box
    int m_nTextHeight = 0;
    // Shrink to fit: the font record takes this average character width and
    // cell height (both at least 1); the text is drawn scaled by
    // m_dScaleX × m_dScaleY, so that all of it, what the face draws above and
    // below its lines included, lies inside the box.
    bool m_bShrunk = false;
    int m_nShrunkCharWidth = 0;
    int m_nShrunkLineHeight = 0;
    double m_dScaleX = 1.0;
    double m_dScaleY = 1.0;
    int m_nFirstLineY = 0; // top of the first line within the laid-out text
    // The point of the laid-out text that shows at the text box's top-left
    // corner: (−1, −1) for shrunk text, which keeps a pixel clear of the box
    // on every side, else by the alignment, so a text larger than its box is
    // cropped on the side opposite to its alignment.
    CPixelPoint m_ptCrop;

    // Line i's rectangle in target pixels; its text is drawn inside it with
    // the horizontal alignment, clipped to it and to the text box.
    CPixelRect LineRect(int i) const;
};

CLabelTextLayout LayoutLabelText(const std::string& strText, const CPixelRect& rcLabel,
                                 const CLabelTextStyle& style, const CTextMetrics& metrics,
                                 const CMeasuredLines& measured = {});
