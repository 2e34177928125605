#include "view/LabelTextLayout.h"

#include "model/Gbk.h"

#include <algorithm>
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

} // namespace

std::string LaidOutText(const std::string& strText)
{
    // Cut after a whole character, never between the bytes of one.
    std::size_t nEnd = 0;
    while (nEnd < strText.size()) {
        const std::size_t nNext = IsGbkLeadByte(static_cast<unsigned char>(strText[nEnd])) ? nEnd + 2 : nEnd + 1;
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
    const Int64 y = Int64{m_rcText.top} - m_ptCrop.y + m_nFirstLineY + Int64{i} * (Int64{m_nLineHeight} + m_nGap);
    return {SaturateToInt(x), SaturateToInt(y), SaturateToInt(x + m_nTextWidth), SaturateToInt(y + m_nLineHeight)};
}

CLabelTextLayout LayoutLabelText(const std::string& strText, const CPixelRect& rcLabel,
                                 const CLabelTextStyle& style, const CTextMetrics& metrics)
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
    int textW = std::max(SaturateToInt(Int64{metrics.m_nCharWidth} * static_cast<Int64>(maxLen)), W);
    int textH = std::max(BlockHeight(count, lineH, gap), H);

    if (style.m_bAutoShrink && (textW > W || textH > H)) {
        // A height or width of 0 would ask for the font's default size; the
        // smallest font there is is one pixel.
        layout.m_bShrunk = true;
        layout.m_nShrunkCharWidth = std::max(1, ScaleDiv(metrics.m_nCharWidth, W, textW));
        layout.m_nShrunkLineHeight = std::max(1, ScaleDiv(H, lineH, textH));
        lineH = layout.m_nShrunkLineHeight;
        gap = ScaleDiv(H, gap, textH);
        textW = W;
        textH = H;
    }
    layout.m_nLineHeight = lineH;
    layout.m_nGap = gap;
    layout.m_nTextWidth = textW;
    layout.m_nTextHeight = textH;

    const int block = BlockHeight(count, lineH, gap);
    if (style.m_nVAlign == 4)
        layout.m_nFirstLineY = SaturateToInt(Int64{textH} / 2 - block / 2);
    else if (style.m_nVAlign == 8)
        layout.m_nFirstLineY = SaturateToInt(Int64{textH} - block);

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
