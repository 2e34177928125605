#pragma once

#include "model/CPageFormat.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The page setup dialog shows the ten stored values of a sheet format as
// whole numbers: lengths in hundredths of a millimetre, columns and rows as
// counts.
struct CPageSetupValues
{
    std::uint32_t m_nPageHeight = 0;
    std::uint32_t m_nPageWidth = 0;
    std::uint32_t m_nLeftMargin = 0;
    std::uint32_t m_nTopMargin = 0;
    std::uint32_t m_nRightMargin = 0;
    std::uint32_t m_nBottomMargin = 0;
    std::uint32_t m_nLabelHeight = 0;
    std::uint32_t m_nLabelWidth = 0;
    std::uint32_t m_nColumns = 0;
    std::uint32_t m_nRows = 0;

    bool operator==(const CPageSetupValues&) const = default;
};

// The ranges the page setup dialog takes, in hundredths of a millimetre.
constexpr std::uint32_t kMinPageSize = 500;
constexpr std::uint32_t kMaxPageSize = 70000;
constexpr std::uint32_t kMaxMargin = 10000;
constexpr std::uint32_t kMinLabelSize = 100;
constexpr std::uint32_t kMaxLabelSize = 10000;

// Millimetres to whole hundredths, truncated toward zero (8.65 mm gives
// 865); values outside 0..UINT32_MAX hundredths are clamped to it. A value
// that is a whole number of hundredths gives that number, though the double
// may lie a hair below it (0.29 × 100 is 28.999999999999996).
std::uint32_t ToHundredths(double dMillimetres);

// Lengths × 100 truncated; columns and rows copied (negative ones as 0).
CPageSetupValues ValuesFromFormat(const CPageFormat& format);

// Writes the ten values into `format` (lengths × 0.01 mm) and recomputes its
// pitches.
void ApplyValuesToFormat(const CPageSetupValues& values, CPageFormat& format);

// A number box's text: unsigned decimal digits only, at most UINT32_MAX;
// nullopt for an empty text, any other character, or an overflow.
std::optional<std::uint32_t> ParseUnsignedField(std::string_view text);

// Whether the labels fit between the margins. A negative pitch means that
// one label with both margins is already wider (or taller) than the page,
// so the columns (or rows) would run backwards; a pitch smaller than the
// label means that neighbouring labels print over each other.
enum class LabelFit {
    Fits,
    TooWide,        // label width + left + right margin > page width
    TooTall,        // label height + top + bottom margin > page height
    ColumnsOverlap, // columns × label width + left + right margin > page width
    RowsOverlap,    // rows × label height + top + bottom margin > page height
};
LabelFit CheckLabelsFit(const CPageFormat& format);
