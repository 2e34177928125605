#pragma once

#include "model/CLabelRecord.h"
#include "print/PrintLayout.h"
#include "view/LabelTextLayout.h"

#include <QFont>
#include <QPen>
#include <QRect>

#include <memory>

class QPaintDevice;
class QPainter;

// The label renderer of screen, printer, preview and PDF: one routine, with
// the layout of LabelTextLayout and fonts made from the label's font record.

// A font made from a font record, with what the layout measures of it.
struct CUnshapedCharacters;

struct CLabelFont
{
    QFont m_font;
    CTextMetrics m_metrics;
    // Chinese faces are laid out as the code page 936 faces they stand for: a
    // line is one em high, a byte of text half an em wide, and the baseline
    // sits 0.88 em below the line's top. Other faces keep their own
    // ascent + descent and average character width.
    bool m_bEmBox = false;
    // What each character takes in a line drawn unshaped (on paper), shared
    // by the copies of the font and filled as characters are met.
    std::shared_ptr<CUnshapedCharacters> m_unshaped;
};

// The record's face (as InstalledFamilyForFace substitutes it: "宋体" is
// drawn with an installed Song face), weight, italic, underline and
// strike-out; lfHeight < 0 an em height and > 0 a cell height in
// pixels, a non-zero lfWidth the average character width.
CLabelFont MakeLabelFont(const CLogFont& logFont);

// The screen mode of DrawLabel; any other mode reads the resolution of the
// painter's device.
constexpr int kScreenMode = -1;

// The height and width of the font record a rendering drew with (the
// shrunk sizes when the text was shrunk to fit).
struct CRenderedFont
{
    std::int32_t m_nHeight = 0;
    std::int32_t m_nWidth = 0;
};

// Renders the label's text into rc of the painter's device, inside the
// insets (device pixels); dZoom is used by the screen mode only. Returns the
// font size it drew with.
CRenderedFont DrawLabel(QPainter& painter, const CLabelRecord& label, const QRect& rc,
                        const CDeviceInsets& insets, int nMode, double dZoom);

// The font size DrawLabel draws the label with on screen at dZoom, in a
// cell of rc with the insets: the record's height at the zoom, or the
// shrunk size where the text is shrunk to fit. Nothing is drawn.
CRenderedFont ScreenLabelFont(const CLabelRecord& label, const QRect& rc, const CDeviceInsets& insets,
                              double dZoom);

// Whether texts fit a label on paper: laid out with the label's format as
// DrawLabel lays them out on `device` (a printer, or a PDF page of its
// resolution), a text is cut where any of its ink falls outside the text box,
// so that the page would clip it or leave a line out.
struct CLabelSetup;

class CLabelFit
{
public:
    CLabelFit(QPaintDevice& device, const CLabelRecord& format, const QRect& rc, const CDeviceInsets& insets);
    ~CLabelFit();
    // `text` in code page 936, lines separated by CR LF.
    bool Cuts(const std::string& text) const;

private:
    QPaintDevice& m_device;
    QRect m_rc;
    std::unique_ptr<CLabelSetup> m_setup; // the format's font, made once
};

// 0x00BBGGRR as the files store colours.
QColor ColorFromColorRef(std::uint32_t crColor);

// The platform's pens: one device pixel wide whatever the transform; solid,
// or dotted 3 pixels on, 3 off.
QPen CosmeticPen(const QColor& color);
QPen DottedPen(const QColor& color);
// A rectangle as the platform draws it: the outline on the outermost pixels
// of (left, top) to (right − 1, bottom − 1), the inside filled with the brush.
void DrawFrameRect(QPainter& painter, const QRect& rc);

QRect ToQRect(const CPixelRect& rc);
CPixelRect ToPixelRect(const QRect& rc);
