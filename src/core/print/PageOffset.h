#pragma once

#include <string>
#include <string_view>

// The page offset: a machine-wide shift of everything printed, in 0.01 mm,
// positive right and down. Stored as decimal text under PageMoveX and
// PageMoveY in the settings file.

constexpr int kMaxPageMove = 9999; // ±99.99 mm

// The C library's decimal conversion: leading white space skipped, an
// optional sign, digits up to the first other character, 0 when there are
// none. Saturates at the int range instead of overflowing.
int DecimalTextValue(std::string_view text);

// A stored value as read at start: its decimal value when within
// −9999..9999, else 0. A text of 200 bytes or more, which the value's
// 200-byte buffer (terminator included) cannot hold, reads as 0 too.
int PageMoveFromText(std::string_view text);

enum class OffsetTextCheck {
    Ok,
    NotANumber, // "偏移量必须为数字"
    OutOfRange, // a number outside −9999..9999
};

struct COffsetText
{
    OffsetTextCheck m_check = OffsetTextCheck::Ok;
    std::string m_strText; // as stored: spaces removed, "0" when empty
    int m_nValue = 0;      // DecimalTextValue(m_strText)
};

// The page offset dialog's check of one box: every space (character 32 only)
// removed, an empty text becomes "0"; then the first character must be a
// digit, '-' or '+' and every other one a digit (so "-" alone passes and
// means 0); then the value must lie within −9999..9999.
COffsetText CheckOffsetText(std::string_view typed);

// The same check with the range −nLimit..nLimit (a printer's scale in ppm
// is typed by the same rules).
COffsetText CheckSignedText(std::string_view typed, int nLimit);
