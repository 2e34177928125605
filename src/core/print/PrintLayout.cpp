#include "print/PrintLayout.h"

#include "model/Arithmetic.h"
#include "model/SharedConstants.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {} // namespace

double ToDevice(int nDotsPerInch, double dMillimetres)
{
    return nDotsPerInch * (dMillimetres * kInchesPerMillimetre);
}

int ToDeviceUnits(int nDotsPerInch, double dMillimetres)
{
    return TruncToInt(ToDevice(nDotsPerInch, dMillimetres));
}

CPixelRect LabelDeviceRect(const CPageFormat& format, int nRow, int nColumn,
                           const CPrinterCalibration& calibration, CDeviceResolution resolution)
{
    const double dx = calibration.m_nMoveX * 0.01;
    const double dy = calibration.m_nMoveY * 0.01;
    const double sx = ScaleFactor(calibration.m_nScaleX);
    const double sy = ScaleFactor(calibration.m_nScaleY);
    const double dColumnLeft = nColumn * format.m_dColumnPitch + dx;
    const double dRowTop = dy + nRow * format.m_dRowPitch;
    CPixelRect rc;
    rc.left = ToDeviceUnits(resolution.m_nDpiX, (dColumnLeft + format.m_dLeftMargin) * sx);
    rc.right =
        ToDeviceUnits(resolution.m_nDpiX, ((dColumnLeft + format.m_dLabelWidth) + format.m_dLeftMargin) * sx);
    rc.top = ToDeviceUnits(resolution.m_nDpiY, (dRowTop + format.m_dTopMargin) * sy);
    rc.bottom =
        ToDeviceUnits(resolution.m_nDpiY, ((dRowTop + format.m_dTopMargin) + format.m_dLabelHeight) * sy);
    return rc;
}

CDeviceInsets LabelDeviceInsets(const CLabelRecord& label, CDeviceResolution resolution)
{
    CDeviceInsets insets;
    insets.m_nLeft = ToDeviceUnits(resolution.m_nDpiX, label.m_dMarginLeft);
    insets.m_nTop = ToDeviceUnits(resolution.m_nDpiY, label.m_dMarginTop);
    insets.m_nRight = ToDeviceUnits(resolution.m_nDpiX, label.m_dMarginRight);
    insets.m_nBottom = ToDeviceUnits(resolution.m_nDpiY, label.m_dMarginBottom);
    insets.m_nLineGap = ToDeviceUnits(resolution.m_nDpiY, label.m_dLineSpacing);
    return insets;
}

std::vector<CPrintedLabel> PlanPrintedPage(const CSheet& sheet, PrintMode printMode,
                                           const CPrinterCalibration& calibration,
                                           CDeviceResolution resolution)
{
    const CPageFormat& format = sheet.m_format;
    std::vector<CPrintedLabel> page;
    const auto add = [&](int r, int c, bool bOutline, bool bText) {
        CPrintedLabel label;
        label.m_nRow = r;
        label.m_nColumn = c;
        label.m_rc = LabelDeviceRect(format, r, c, calibration, resolution);
        if (bText)
            label.m_insets = LabelDeviceInsets(sheet.m_labels[r][c], resolution);
        label.m_bOutline = bOutline;
        label.m_bText = bText;
        page.push_back(label);
    };
    // The grid holds at most 25 × 15 cells whatever the format claims.
    const int nColumns = std::clamp(format.m_nColumns, 0, CPageFormat::kMaxColumns);
    const int nRows = std::clamp(format.m_nRows, 0, CPageFormat::kMaxRows);

    if (printMode == PrintMode::Baseline) {
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < nColumns; ++c)
                add(r, c, true, false);
        return page;
    }
    const bool bPreview = printMode == PrintMode::Preview;
    for (int r = 0; r < nRows; ++r) {
        for (int c = 0; c < nColumns; ++c) {
            const bool bSelected = sheet.m_labels[r][c].IsSelected();
            if (bPreview || bSelected)
                add(r, c, bPreview, bSelected);
        }
    }
    return page;
}
