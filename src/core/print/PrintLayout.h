#pragma once

#include "model/CPixelRect.h"
#include "model/CSheet.h"
#include "print/PrintMode.h"
#include "print/PrinterCalibration.h"

#include <vector>

// What one printed page holds, in printer device units. The origin is the
// top-left corner of the printer's printable area; nothing corrects for the
// unprintable margin, the page offset does that.

struct CDeviceResolution
{
    int m_nDpiX = 0; // dots per inch, horizontal
    int m_nDpiY = 0;
};

// Millimetres to device units: dpi × (mm × 1/25.4), multiplied in that
// order, then truncated toward zero (saturated at the int range).
double ToDevice(int nDotsPerInch, double dMillimetres);
int ToDeviceUnits(int nDotsPerInch, double dMillimetres);

// The rectangle of label (nRow, nColumn) under the printer's calibration
// (offset dx, dy in 0.01 mm, scale factors sx, sy). Each edge is converted
// and truncated by itself from a sum formed left to right, then scaled:
//   left   = ((c × column pitch + dx) + left margin) × sx
//   right  = (((c × column pitch + dx) + label width) + left margin) × sx
//   top    = ((dy + r × row pitch) + top margin) × sy
//   bottom = (((dy + r × row pitch) + top margin) + label height) × sy
// so neighbouring labels may differ by one unit in width or height. Without
// a scale the factors are exactly 1.
CPixelRect LabelDeviceRect(const CPageFormat& format, int nRow, int nColumn,
                           const CPrinterCalibration& calibration, CDeviceResolution resolution);

// A label's inner margins and line gap in device units, each truncated;
// unscaled, as the text is drawn through the printer's scale.
struct CDeviceInsets
{
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
    int m_nLineGap = 0;

    bool operator==(const CDeviceInsets&) const = default;
};
CDeviceInsets LabelDeviceInsets(const CLabelRecord& label, CDeviceResolution resolution);

// One label position on the page: its outline is drawn in the ruler pen
// (white inside) when m_bOutline, then its text by the label renderer when
// m_bText.
struct CPrintedLabel
{
    int m_nRow = 0;
    int m_nColumn = 0;
    CPixelRect m_rc;
    CDeviceInsets m_insets;
    bool m_bOutline = false;
    bool m_bText = false;

    bool operator==(const CPrintedLabel&) const = default;
};

// Every position the page draws, row by row from the top, left to right in a
// row. Baseline: rows 0 and 1 whatever the sheet's row count, outlines only.
// Otherwise every label of rows × columns, outlined in the preview, with
// text where selected (a selected label is rendered even when empty); an
// unselected label outside the preview draws nothing and is left out.
std::vector<CPrintedLabel> PlanPrintedPage(const CSheet& sheet, PrintMode printMode,
                                           const CPrinterCalibration& calibration,
                                           CDeviceResolution resolution);
