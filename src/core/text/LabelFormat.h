#pragma once

#include "model/Arithmetic.h"
#include "text/LabelGrid.h"
#include "view/TextDirection.h"

#include <cstdint>

// A label's font height is the logical height a font dialog reports at 96
// dots per inch: P points are stored as −MulDiv(P, 96, 72), so the default −12
// is 9 points. Sizes are handled in tenths of a point so that half sizes such
// as 10.5 survive and every stored height shows as a size that converts back
// to the same height.
std::int32_t FontHeightFromPointTenths(int nPointTenths);
// The size a stored height shows as; the sign (character or cell height) is
// not a size and is dropped.
int PointTenthsFromFontHeight(std::int32_t nFontHeight);

// The font, colour and height chosen in the font dialog, given to every
// selected label: the whole font record with its height set to nFontHeight.
struct CFontChoice
{
    CLogFont m_logFont;
    std::uint32_t m_crText = 0; // 0x00BBGGRR
    std::int32_t m_nFontHeight = -12;
};

// What the font dialog starts from: the template label's font, with the height
// the label draws with, its colour and its height.
CFontChoice FontChoiceOf(const CLabelRecord& label);

// Inner margins and line spacing in whole tenths of a millimetre, as the label
// settings dialog shows them.
struct CMarginTenths
{
    static constexpr int kMinMargin = 9;
    static constexpr int kMaxMargin = 100;
    static constexpr int kMinLineSpacing = 0;
    static constexpr int kMaxLineSpacing = 100;

    int m_nLeft = 10;
    int m_nTop = 10;
    int m_nRight = 10;
    int m_nBottom = 10;
    int m_nLineSpacing = 0;

    bool operator==(const CMarginTenths&) const = default;
};

// Millimetres × 10, truncated toward zero: 1.05 mm shows as 10, 0.95 mm as 9.
CMarginTenths MarginTenthsOf(const CLabelRecord& label);

// Whether the margins leave a text box inside a label of that size (mm).
// Where left and right (or top and bottom) meet or cross, the text box is
// empty and the label shows and prints no text at all.
enum class MarginFit {
    Fits,
    TooWide, // left + right margin >= label width
    TooTall, // top + bottom margin >= label height
};
MarginFit CheckMarginsFit(const CMarginTenths& margins, double dLabelWidth, double dLabelHeight);

// Each of these writes every selected label and returns those whose record
// now differs from before, in grid order. Only those with text need a repaint.
ChangedLabels ApplyFont(const LabelGrid& grid, const CFontChoice& choice);
ChangedLabels ApplyAlignment(const LabelGrid& grid, HAlign hAlign, VAlign vAlign);
ChangedLabels ApplyTextDirection(const LabelGrid& grid, TextDirection direction);
// Each value in millimetres is the tenths times 0.1.
ChangedLabels ApplyMargins(const LabelGrid& grid, const CMarginTenths& margins);
// Gives every selected label the opposite of the first selected label's
// shrink-to-fit flag, so the first press makes them all equal.
ChangedLabels ToggleAutoShrink(const LabelGrid& grid);

// The check mark of the shrink-to-fit command: the first selected label's flag.
// False with nothing selected (the command is then disabled).
bool IsAutoShrinkChecked(const LabelGrid& grid);
