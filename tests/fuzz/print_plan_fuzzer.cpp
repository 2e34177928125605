// libFuzzer target for the print plan: a sheet read from any bytes, printed
// in any mode with any page offset at any resolution, gives label rectangles
// and text layouts without undefined behaviour, and never more positions
// than the sheet has labels (two rows for the baseline).
//   input: mode, page move x, page move y, dpi x, dpi y, line height, char
//          width (int32 each), then a sheet file
#include "FuzzInput.h"

#include "model/CSheet.h"
#include "print/PrintLayout.h"
#include "view/LabelTextLayout.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

PrintMode Mode(std::int32_t n)
{
    const PrintMode modes[] = {PrintMode::Baseline, PrintMode::Labels, PrintMode::Preview};
    return modes[static_cast<std::uint32_t>(n) % 3];
}

// A stored scale is read only within ±2 %.
int ScalePpm(std::int32_t n)
{
    return static_cast<int>(static_cast<std::uint32_t>(n) % (2 * kMaxScalePpm + 1)) - kMaxScalePpm;
}

// Printers have from a few dozen to a few thousand dots per inch.
int Dpi(std::int32_t n)
{
    return 1 + static_cast<int>(static_cast<std::uint32_t>(n) % 10000);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const PrintMode mode = Mode(input.TakeInt32());
    CPrinterCalibration calibration;
    calibration.m_nMoveX = input.TakeInt32();
    calibration.m_nMoveY = input.TakeInt32();
    calibration.m_nScaleX = ScalePpm(input.TakeInt32());
    calibration.m_nScaleY = ScalePpm(input.TakeInt32());
    const int nDpiX = Dpi(input.TakeInt32());
    const int nDpiY = Dpi(input.TakeInt32());
    const CTextMetrics metrics{input.TakeInt32(), input.TakeInt32()};

    std::istringstream in(std::string(input.Rest()), std::ios::binary);
    CSheet sheet;
    if (!ReadSheet(in, sheet))
        return 0;
    const CPageFormat& format = sheet.m_format;
    const std::vector<CPrintedLabel> plan = PlanPrintedPage(sheet, mode, calibration, {nDpiX, nDpiY});
    const std::size_t nMax = mode == PrintMode::Baseline ? 2u * format.m_nColumns
                                                         : std::size_t(format.m_nRows) * format.m_nColumns;
    if (plan.size() > nMax)
        std::abort();
    for (const CPrintedLabel& printed : plan) {
        if (!printed.m_bText)
            continue;
        const CLabelRecord& label = sheet.m_labels[printed.m_nRow][printed.m_nColumn];
        CLabelTextStyle style;
        style.m_nInsetLeft = printed.m_insets.m_nLeft;
        style.m_nInsetTop = printed.m_insets.m_nTop;
        style.m_nInsetRight = printed.m_insets.m_nRight;
        style.m_nInsetBottom = printed.m_insets.m_nBottom;
        style.m_nGap = printed.m_insets.m_nLineGap;
        style.m_nHAlign = label.m_nHAlign;
        style.m_nVAlign = label.m_nVAlign;
        style.m_bAutoShrink = label.m_bAutoShrink != 0;
        const CLabelTextLayout layout = LayoutLabelText(label.m_strText, printed.m_rc, style, metrics);
        if (layout.m_lines.size() > kMaxLaidOutLines)
            std::abort();
        for (int i = 0; i < static_cast<int>(layout.m_lines.size()); ++i)
            layout.LineRect(i);
    }
    return 0;
}
