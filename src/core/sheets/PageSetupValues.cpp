#include "sheets/PageSetupValues.h"

#include "model/DecimalScan.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::uint32_t ToHundredths(double dMillimetres)
{
    // A millionth of a hundredth is far below any length typed or stored,
    // and far above the error of the product.
    const double dHundredths = std::trunc(dMillimetres * 100.0 + 1e-6);
    if (!(dHundredths > 0.0))
        return 0;
    constexpr double dMax = std::numeric_limits<std::uint32_t>::max();
    return dHundredths >= dMax ? std::numeric_limits<std::uint32_t>::max()
                               : static_cast<std::uint32_t>(dHundredths);
}

namespace {

std::uint32_t CountValue(std::int32_t n)
{
    return n > 0 ? static_cast<std::uint32_t>(n) : 0;
}

} // namespace

CPageSetupValues ValuesFromFormat(const CPageFormat& format)
{
    CPageSetupValues values;
    values.m_nPageHeight = ToHundredths(format.m_dPageHeight);
    values.m_nPageWidth = ToHundredths(format.m_dPageWidth);
    values.m_nLeftMargin = ToHundredths(format.m_dLeftMargin);
    values.m_nTopMargin = ToHundredths(format.m_dTopMargin);
    values.m_nRightMargin = ToHundredths(format.m_dRightMargin);
    values.m_nBottomMargin = ToHundredths(format.m_dBottomMargin);
    values.m_nLabelHeight = ToHundredths(format.m_dLabelHeight);
    values.m_nLabelWidth = ToHundredths(format.m_dLabelWidth);
    values.m_nColumns = CountValue(format.m_nColumns);
    values.m_nRows = CountValue(format.m_nRows);
    return values;
}

void ApplyValuesToFormat(const CPageSetupValues& values, CPageFormat& format)
{
    format.m_dPageHeight = values.m_nPageHeight * 0.01;
    format.m_dPageWidth = values.m_nPageWidth * 0.01;
    format.m_dLeftMargin = values.m_nLeftMargin * 0.01;
    format.m_dTopMargin = values.m_nTopMargin * 0.01;
    format.m_dRightMargin = values.m_nRightMargin * 0.01;
    format.m_dBottomMargin = values.m_nBottomMargin * 0.01;
    format.m_dLabelHeight = values.m_nLabelHeight * 0.01;
    format.m_dLabelWidth = values.m_nLabelWidth * 0.01;
    // The dialog's ranges keep the counts far below INT32_MAX.
    format.m_nColumns = static_cast<std::int32_t>(
        std::min<std::uint32_t>(values.m_nColumns, std::numeric_limits<std::int32_t>::max()));
    format.m_nRows = static_cast<std::int32_t>(
        std::min<std::uint32_t>(values.m_nRows, std::numeric_limits<std::int32_t>::max()));
    format.Recalc();
}

std::optional<std::uint32_t> ParseUnsignedField(std::string_view text)
{
    constexpr CDecimalRules kRules{false, false, 0, std::numeric_limits<std::uint32_t>::max()};
    const auto value = ScanDecimal(text, kRules);
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
}

LabelFit CheckLabelsFit(const CPageFormat& format)
{
    if (format.m_dColumnPitch < 0.0)
        return LabelFit::TooWide;
    if (format.m_dRowPitch < 0.0)
        return LabelFit::TooTall;
    // Labels that just touch fit: the values are whole hundredths, so a
    // thousandth of a hundredth forgives the rounding of the pitch.
    constexpr double kTouching = 1e-5;
    if (format.m_nColumns > 1 && format.m_dColumnPitch < format.m_dLabelWidth - kTouching)
        return LabelFit::ColumnsOverlap;
    if (format.m_nRows > 1 && format.m_dRowPitch < format.m_dLabelHeight - kTouching)
        return LabelFit::RowsOverlap;
    return LabelFit::Fits;
}
