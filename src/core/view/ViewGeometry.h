#pragma once

#include "model/Arithmetic.h"
#include "model/CLabelRecord.h"
#include "model/CPageFormat.h"
#include "model/CPixelRect.h"
#include "print/PrintLayout.h"

#include <optional>
#include <vector>

// The arithmetic of the sheet view: zoom, scroll size, label positions and
// the page and ruler figures, in whole screen pixels. A double becomes an
// integer by truncation toward zero; halving an integer divides toward zero.

struct CPixelPoint
{
    int x = 0;
    int y = 0;

    bool operator==(const CPixelPoint&) const = default;
};

// The page is drawn with 40 pixels of grey around it on every side.
constexpr int kPageBorder = 40;
constexpr double kNormalMinZoom = 4.5; // pixels per mm
constexpr double kMaxZoom = 5.0;
// Full-page display has no lower bound of its own; a client area of 80 pixels
// or less (a minimised frame) would give a zoom of zero or below.
constexpr double kLeastZoom = 0.1;

struct CViewZoom
{
    double m_dZoom = 2.5;   // screen pixels per millimetre
    int m_nExtentWidth = 0; // scroll size and m_rcExtent, pixels
    int m_nExtentHeight = 0;

    bool operator==(const CViewZoom&) const = default;
};

// (clientHeight − 80) / page height, held between dMinZoom and 5.0, and never
// below kLeastZoom; the extent is the scaled page plus 80 pixels each way.
CViewZoom ComputeZoom(const CPageFormat& format, int nClientHeight, double dMinZoom);

// A label of the grid by its row and column.
struct CGridCell
{
    int m_nRow = 0;
    int m_nColumn = 0;

    bool operator==(const CGridCell&) const = default;
};

// Where the cells of rows × columns go for a zoom, a client width and a
// scroll position. Origin and cell rectangles are in view client pixels.
class CLabelLayout
{
public:
    CLabelLayout(const CPageFormat& format, const CViewZoom& zoom, int nClientWidth, int nScrollX,
                 int nScrollY);

    // The page's top-left corner in client pixels.
    CPixelPoint Origin() const { return {m_nOriginX, m_nOriginY}; }
    CPixelRect LabelRect(int nRow, int nColumn) const;
    // The cell of rows × columns under a point; where cells overlap, the one
    // drawn last (the later in the grid walk).
    std::optional<CGridCell> CellAt(CPixelPoint pt) const;
    // The cells of rows × columns whose rectangle meets rc, in the grid walk.
    std::vector<CGridCell> CellsMeeting(const CPixelRect& rc) const;

private:
    CPageFormat m_format;
    double m_dZoom;
    int m_nOriginX;
    int m_nOriginY;
};

// A cell's size in pixels: trunc(width × zoom) by trunc(zoom × height).
int LabelPixelWidth(double dWidthMm, double dZoom);
int LabelPixelHeight(double dHeightMm, double dZoom);

// The inset of a selected cell's inner frame: trunc(zoom × 0.7).
int CellFrameInset(double dZoom);

// A label's inner margins and line gap on screen, each trunc(mm × zoom).
CDeviceInsets ScreenInsets(const CLabelRecord& label, double dZoom);
// The text box of a cell: inside the inner margins.
CPixelRect TextBoxOf(const CPixelRect& rcCell, const CDeviceInsets& insets);

// The rectangle a rubber band from a to b selects: the two points' smaller
// coordinates to their larger ones, right and bottom exclusive, so a band
// that starts and ends on one point selects nothing.
CPixelRect BandRect(const CPixelPoint& a, const CPixelPoint& b);
// Whether a band applies to a cell: a corner of the cell's rectangle (right
// and bottom one past its last pixel) lies inside the band.
bool BandTouches(const CPixelRect& rcBand, const CPixelRect& rcCell);

// A ruler number and the box it is centred in.
struct CRulerNumber
{
    int m_nNumber = 0; // from 1
    CPixelRect m_rcBox;
};

struct CPixelLine
{
    CPixelPoint m_ptFrom;
    CPixelPoint m_ptTo;

    bool operator==(const CPixelLine&) const = default;
};

// Everything the view paints under the cells, in scrolled (document) pixels.
struct CPageDrawing
{
    int m_nWidth = 0; // the painted area: at least the client area
    int m_nHeight = 0;
    CPixelRect m_rcPage;
    CPixelRect m_rcShadow;
    CPixelRect m_rcPaper;
    CPixelRect m_rcRulerInner; // 1 mm outside the page
    CPixelRect m_rcRulerOuter; // 5 mm outside the page
    // Each number twice: left and right of the page (rows), above and below
    // it (columns); one tick line on each side between two numbers.
    std::vector<CRulerNumber> m_rowNumbers;
    std::vector<CRulerNumber> m_columnNumbers;
    std::vector<CPixelLine> m_rowTicks;
    std::vector<CPixelLine> m_columnTicks;
};

CPageDrawing ComputePageDrawing(const CPageFormat& format, const CViewZoom& zoom, int nClientWidth,
                                int nClientHeight);

// The character height of the ruler numbers in device pixels (negative, an em
// height): −MulDiv(trunc(2 × zoom), dpi, 72).
int RulerFontHeight(double dZoom, int nDpiY);
