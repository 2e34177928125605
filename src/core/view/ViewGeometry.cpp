#include "view/ViewGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

CViewZoom ComputeZoom(const CPageFormat& format, int nClientHeight, double dMinZoom)
{
    CViewZoom zoom;
    zoom.m_dZoom = (nClientHeight - 2 * kPageBorder) / format.m_dPageHeight;
    if (!(zoom.m_dZoom >= dMinZoom))
        zoom.m_dZoom = dMinZoom;
    if (zoom.m_dZoom > kMaxZoom)
        zoom.m_dZoom = kMaxZoom;
    if (zoom.m_dZoom < kLeastZoom)
        zoom.m_dZoom = kLeastZoom;
    zoom.m_nExtentWidth = TruncToInt(format.m_dPageWidth * zoom.m_dZoom) + 2 * kPageBorder;
    zoom.m_nExtentHeight = TruncToInt(zoom.m_dZoom * format.m_dPageHeight) + 2 * kPageBorder;
    return zoom;
}

CLabelLayout::CLabelLayout(const CPageFormat& format, const CViewZoom& zoom, int nClientWidth, int nScrollX,
                           int nScrollY)
    : m_format(format), m_dZoom(zoom.m_dZoom)
{
    const int nWidth = std::max(nClientWidth, zoom.m_nExtentWidth);
    m_nOriginX = nWidth / 2 - TruncToInt(format.m_dPageWidth * m_dZoom) / 2 - nScrollX;
    m_nOriginY = kPageBorder - nScrollY;
}

CPixelRect CLabelLayout::LabelRect(int nRow, int nColumn) const
{
    const int x =
        m_nOriginX + TruncToInt((nColumn * m_format.m_dColumnPitch + m_format.m_dLeftMargin) * m_dZoom);
    const int y = TruncToInt((nRow * m_format.m_dRowPitch + m_format.m_dTopMargin) * m_dZoom) + m_nOriginY;
    return {x, y, x + LabelPixelWidth(m_format.m_dLabelWidth, m_dZoom),
            y + LabelPixelHeight(m_format.m_dLabelHeight, m_dZoom)};
}

std::optional<CGridCell> CLabelLayout::CellAt(CPixelPoint pt) const
{
    const int nRows = std::clamp(m_format.m_nRows, 0, CPageFormat::kMaxRows);
    const int nColumns = std::clamp(m_format.m_nColumns, 0, CPageFormat::kMaxColumns);
    for (int r = nRows - 1; r >= 0; --r)
        for (int c = nColumns - 1; c >= 0; --c)
            if (LabelRect(r, c).Contains(pt.x, pt.y))
                return CGridCell{r, c};
    return std::nullopt;
}

std::vector<CGridCell> CLabelLayout::CellsMeeting(const CPixelRect& rc) const
{
    std::vector<CGridCell> cells;
    const int nRows = std::clamp(m_format.m_nRows, 0, CPageFormat::kMaxRows);
    const int nColumns = std::clamp(m_format.m_nColumns, 0, CPageFormat::kMaxColumns);
    for (int r = 0; r < nRows; ++r)
        for (int c = 0; c < nColumns; ++c) {
            const CPixelRect rcCell = LabelRect(r, c);
            if (!rcCell.IsEmpty() && rcCell.left < rc.right && rc.left < rcCell.right &&
                rcCell.top < rc.bottom && rc.top < rcCell.bottom)
                cells.push_back({r, c});
        }
    return cells;
}

int LabelPixelWidth(double dWidthMm, double dZoom)
{
    return TruncToInt(dWidthMm * dZoom);
}

int LabelPixelHeight(double dHeightMm, double dZoom)
{
    return TruncToInt(dZoom * dHeightMm);
}

int CellFrameInset(double dZoom)
{
    return TruncToInt(dZoom * 0.7);
}

CDeviceInsets ScreenInsets(const CLabelRecord& label, double dZoom)
{
    CDeviceInsets insets;
    insets.m_nLeft = TruncToInt(label.m_dMarginLeft * dZoom);
    insets.m_nTop = TruncToInt(label.m_dMarginTop * dZoom);
    insets.m_nRight = TruncToInt(label.m_dMarginRight * dZoom);
    insets.m_nBottom = TruncToInt(label.m_dMarginBottom * dZoom);
    insets.m_nLineGap = TruncToInt(label.m_dLineSpacing * dZoom);
    return insets;
}

CPixelRect TextBoxOf(const CPixelRect& rcCell, const CDeviceInsets& insets)
{
    return {rcCell.left + insets.m_nLeft, rcCell.top + insets.m_nTop, rcCell.right - insets.m_nRight,
            rcCell.bottom - insets.m_nBottom};
}

CPixelRect BandRect(const CPixelPoint& a, const CPixelPoint& b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool BandTouches(const CPixelRect& rcBand, const CPixelRect& rcCell)
{
    return rcBand.Contains(rcCell.left, rcCell.top) || rcBand.Contains(rcCell.right, rcCell.bottom) ||
           rcBand.Contains(rcCell.left, rcCell.bottom) || rcBand.Contains(rcCell.right, rcCell.top);
}

CPageDrawing ComputePageDrawing(const CPageFormat& format, const CViewZoom& zoom, int nClientWidth,
                                int nClientHeight)
{
    const double z = zoom.m_dZoom;
    CPageDrawing d;
    d.m_nWidth = std::max(nClientWidth, zoom.m_nExtentWidth);
    d.m_nHeight = std::max(zoom.m_nExtentHeight, nClientHeight);

    const int pw = TruncToInt(format.m_dPageWidth * z);
    const int ph = zoom.m_nExtentHeight - 2 * kPageBorder;
    const int x0 = d.m_nWidth / 2 - pw / 2;
    const int top = kPageBorder;
    d.m_rcPage = {x0, top, x0 + pw, ph + top};

    // The paper shows 8 mm around the page, over a shadow 3 pixels right and down.
    const int paper = TruncToInt(8 * z);
    d.m_rcShadow = {x0 - paper + 3, 43 - paper, x0 + pw + paper + 3, ph + paper + 43};
    d.m_rcPaper = {x0 - paper, top - paper, x0 + pw + paper, ph + top + paper};

    const double L = x0, T = top, R = x0 + pw, B = ph + top;
    d.m_rcRulerInner = {TruncToInt(L - z), TruncToInt(T - z), TruncToInt(R + z), TruncToInt(B + z)};
    d.m_rcRulerOuter = {TruncToInt(L - 5 * z), TruncToInt(T - 5 * z), TruncToInt(R + 5 * z),
                        TruncToInt(B + 5 * z)};

    const int band = TruncToInt(4 * z); // the ruler band, 5 mm to 1 mm outside the page
    const int across = TruncToInt(3 * z);

    // Row numbers: 5 mm to 1 mm left of the page and 1 mm to 5 mm right of it.
    const int xL = TruncToInt(x0 - 5 * z);
    const int yBase = TruncToInt((format.m_dLabelHeight * 0.5 + format.m_dTopMargin - 1.0) * z) + top;
    const int dx = pw + TruncToInt(6 * z);
    const double A = format.m_dRowPitch * z;
    for (int i = 0; i < format.m_nRows; ++i) {
        const int yi = TruncToInt(A * i) + yBase;
        d.m_rowNumbers.push_back({i + 1, {xL, yi, xL + band, yi + across}});
        d.m_rowNumbers.push_back({i + 1, {xL + dx, yi, xL + dx + band, yi + across}});
        if (i + 1 < format.m_nRows) {
            const int ys = TruncToInt(A * i) + TruncToInt(A / 2) + yBase;
            d.m_rowTicks.push_back({{xL, ys}, {xL + band, ys}});
            d.m_rowTicks.push_back({{xL + dx, ys}, {xL + dx + band, ys}});
        }
    }

    // Column numbers: above and below the page.
    const int xBase =
        TruncToInt((format.m_dLabelWidth * 0.5 + format.m_dLeftMargin - 1.0) * z) + d.m_nWidth / 2 - pw / 2;
    const int yT = top - TruncToInt(5 * z);
    const int dy = ph + TruncToInt(6 * z);
    const double Bp = format.m_dColumnPitch * z;
    for (int i = 0; i < format.m_nColumns; ++i) {
        const int xi = TruncToInt(Bp * i) + xBase;
        d.m_columnNumbers.push_back({i + 1, {xi, yT, xi + across, yT + band}});
        d.m_columnNumbers.push_back({i + 1, {xi, yT + dy, xi + across, yT + dy + band}});
        if (i + 1 < format.m_nColumns) {
            const int xs = TruncToInt(Bp * i) + TruncToInt(Bp / 2) + xBase;
            d.m_columnTicks.push_back({{xs, yT}, {xs, yT + band}});
            d.m_columnTicks.push_back({{xs, yT + dy}, {xs, yT + dy + band}});
        }
    }
    return d;
}

int RulerFontHeight(double dZoom, int nDpiY)
{
    return -MulDiv(TruncToInt(2 * dZoom), nDpiY, 72);
}
