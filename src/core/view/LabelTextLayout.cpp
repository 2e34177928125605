#include "view/LabelTextLayout.h"

#include "model/Gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

using Int64 = std::int64_t;

// a × b div c in 64 bits, truncated toward zero and saturated to int.
int ScaleDiv(int a, int b, int c)
{
    return SaturateToInt(Int64{a} * b / c);
}

// The height of `count` lines with `gap` between them, saturated.
int BlockHeight(int count, int lineHeight, int gap)
{
    return SaturateToInt(Int64{count} * lineHeight + (Int64{count} - 1) * gap);
}

int CeilToInt(double d)
{
    return static_cast<int>(std::ceil(d));
}

// What the face draws above the first line and below the last, in whole
// pixels, with the lines scaled by dScale.
int ScaledInk(const CMeasuredLines& measured, double dScale)
{
    return CeilToInt(measured.m_nInkAbove * dScale) + CeilToInt(measured.m_nInkBelow * dScale);
}

} // namespace

std::string LaidOutText(const std::string& strText)
{
    // Cut after a whole character, never between the bytes of one.
    std::size_t nEnd = 0;
    while (nEnd < strText.size()) {
        const std::size_t nNext =
            IsGbkLeadByte(static_cast<unsigned char>(strText[nEnd])) ? nEnd + 2 : nEnd + 1;
        if (nNext > kMaxLaidOutBytes)
            break;
        nEnd = std::min(nNext, strText.size());
    }
    // Nor between the CR and LF that end a line.
    if (nEnd < strText.size() && nEnd > 0 && strText[nEnd - 1] == '\r' && strText[nEnd] == '\n')
        --nEnd;
    return strText.substr(0, nEnd);
}

std::vector<std::string> SplitLabelLines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\r' && i + 1 < strText.size() && strText[i + 1] == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            ++i;
        } else if (i + 1 == strText.size()) {
            line += strText[i];
            lines.push_back(std::move(line));
        } else {
            line += strText[i];
        }
    }
    return lines;
}

int ScreenFontHeight(int nFontHeight, double dZoom)
{
    return TruncToInt((nFontHeight / 4) * dZoom);
}

int DeviceFontHeight(int nFontHeight, int nDpiY)
{
    return TruncToInt((-static_cast<double>(nFontHeight / 4) * nDpiY) * 0.03937007874015748);
}

CPixelRect CLabelTextLayout::LineRect(int i) const
{
    const Int64 x = Int64{m_rcText.left} - m_ptCrop.x;
    const Int64 y =
        Int64{m_rcText.top} - m_ptCrop.y + m_nFirstLineY + Int64{i} * (Int64{m_nLineHeight} + m_nGap);
    return {SaturateToInt(x), SaturateToInt(y), SaturateToInt(x + m_nTextWidth),
            SaturateToInt(y + m_nLineHeight)};
}

CLabelTextLayout LayoutLabelText(const std::string& strText, const CPixelRect& rcLabel,
                                 const CLabelTextStyle& style, const CTextMetrics& metrics,
                                 const CMeasuredLines& measured)
{
    CLabelTextLayout layout;
    layout.m_rcText = {SaturateToInt(Int64{rcLabel.left} + style.m_nInsetLeft),
                       SaturateToInt(Int64{rcLabel.top} + style.m_nInsetTop),
                       SaturateToInt(Int64{rcLabel.right} - style.m_nInsetRight),
                       SaturateToInt(Int64{rcLabel.bottom} - style.m_nInsetBottom)};
    const int W = layout.m_rcText.Width();
    const int H = layout.m_rcText.Height();
    // Margins as large as the label leave no room: draw nothing, and W and H
    // stay positive below, so that no division meets a zero.
    if (W <= 0 || H <= 0)
        return layout;
    layout.m_bDraw = true;

    layout.m_lines = SplitLabelLines(LaidOutText(strText));
    if (layout.m_lines.size() > kMaxLaidOutLines)
        layout.m_lines.resize(kMaxLaidOutLines);
    const int count = static_cast<int>(layout.m_lines.size());
    std::size_t maxLen = 0;
    for (const std::string& line : layout.m_lines)
        maxLen = std::max(maxLen, line.size());

    int lineH = metrics.m_nLineHeight;
    int gap = style.m_nGap;
    Int64 wide = Int64{metrics.m_nCharWidth} * static_cast<Int64>(maxLen);
    if (!measured.m_widths.empty() && measured.m_widths.size() == layout.m_lines.size())
        wide = *std::max_element(measured.m_widths.begin(), measured.m_widths.end());
    int textW = std::max(SaturateToInt(wide), W);
    const int block = BlockHeight(count, lineH, gap);
    int textH = std::max(block, H);
    const int inkH =
        SaturateToInt(Int64{block} + (count > 0 ? Int64{measured.m_nInkAbove} + measured.m_nInkBelow : 0));

    if (style.m_bAutoShrink && (textW > W || inkH > H)) {
        // Shrunk text keeps a pixel clear of the box on every side: hinting
        // and antialiasing colour pixels up to one beyond a glyph's outline.
        const int fitW = std::max(1, W - 2);
        const int fitH = std::max(1, H - 2);
        const int inkFitH = std::max(inkH, fitH);
        layout.m_bShrunk = true;
        layout.m_ptCrop = {-(W - fitW) / 2, -(H - fitH) / 2};
        // A height or width of 0 would ask for the font's default size; the
        // smallest font there is is one pixel.
        if (wide > fitW) {
            layout.m_nShrunkCharWidth =
                std::max(1, ScaleDiv(metrics.m_nCharWidth, fitW, SaturateToInt(wide)));
            layout.m_dScaleX = static_cast<double>(fitW) / static_cast<double>(wide);
        } else {
            layout.m_nShrunkCharWidth = std::max(1, metrics.m_nCharWidth);
        }
        gap = ScaleDiv(fitH, gap, inkFitH);
        // Lines start on whole pixels and the ink scales with them: a line a
        // pixel lower where the rounded ink would still overflow.
        int shrunkH = std::max(1, ScaleDiv(fitH, lineH, inkFitH));
        const auto scaleY = [&] { return lineH > 0 ? static_cast<double>(shrunkH) / lineH : 1.0; };
        while (shrunkH > 1 && ScaledInk(measured, scaleY()) + BlockHeight(count, shrunkH, gap) > fitH)
            --shrunkH;
        layout.m_nShrunkLineHeight = shrunkH;
        layout.m_dScaleY = scaleY();
        lineH = shrunkH;
        textW = fitW;
        textH = fitH;
    }
    layout.m_nLineHeight = lineH;
    layout.m_nGap = gap;
    layout.m_nTextWidth = textW;
    layout.m_nTextHeight = textH;

    const int shownBlock = BlockHeight(count, lineH, gap);
    if (layout.m_bShrunk && count > 0) {
        // The face's overhang, scaled with the lines, stays inside the box.
        const int inkAbove = CeilToInt(measured.m_nInkAbove * layout.m_dScaleY);
        const int inkBelow = CeilToInt(measured.m_nInkBelow * layout.m_dScaleY);
        const int inkBlock = SaturateToInt(Int64{inkAbove} + shownBlock + inkBelow);
        if (style.m_nVAlign == 4)
            layout.m_nFirstLineY = SaturateToInt(Int64{inkAbove} + (Int64{textH} - inkBlock) / 2);
        else if (style.m_nVAlign == 8)
            layout.m_nFirstLineY = SaturateToInt(Int64{textH} - inkBelow - shownBlock);
        else
            layout.m_nFirstLineY = inkAbove;
    } else if (style.m_nVAlign == 4) {
        layout.m_nFirstLineY = SaturateToInt(Int64{textH} / 2 - shownBlock / 2);
    } else if (style.m_nVAlign == 8) {
        layout.m_nFirstLineY = SaturateToInt(Int64{textH} - shownBlock);
    }

    if (!style.m_bAutoShrink) {
        if (style.m_nHAlign == 1)
            layout.m_ptCrop.x = (textW - W) / 2;
        else if (style.m_nHAlign == 2)
            layout.m_ptCrop.x = textW - W;
        if (style.m_nVAlign == 4)
            layout.m_ptCrop.y = (textH - H) / 2;
        else if (style.m_nVAlign == 8)
            layout.m_ptCrop.y = textH - H;
    }
    return layout;
}
