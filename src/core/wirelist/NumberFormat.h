#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Numbers of a workbook as its cells show them: the cell's number format
// (a format code such as "yyyy-mm-dd", "0.00" or "#,##0;(#,##0)") applied to
// the stored number, giving the text LibreOffice Calc shows in a Chinese
// locale: Chinese month and weekday names and 上午/下午 unless the code asks
// for English ([$-409]), dates counted from 1899-12-30 (or 1904-01-01).

// How the General format shows a number: up to 15 significant digits,
// exponent notation only for very large or very small numbers.
std::string GeneralNumberText(double dValue);

// A format code read once, for the many cells that share it.
class CNumberFormat
{
public:
    // Codes longer than this show as General.
    static constexpr std::size_t kMaxCodeBytes = 1024;

    explicit CNumberFormat(std::string_view code);
    // `dValue` in the format.
    std::string Number(double dValue, bool bDates1904 = false) const;
    // A text cell's text: in the code's text section ("@") if it has one.
    std::string Text(std::string_view text) const;

private:
    struct CParsed;
    std::shared_ptr<const CParsed> m_parsed;
};

std::string FormatNumber(double dValue, std::string_view code, bool bDates1904 = false);

// The code of a built-in format (the ids a workbook may use without
// defining them); nullopt for ids without one (General is shown).
std::optional<std::string_view> BuiltInNumberFormat(unsigned nId);
