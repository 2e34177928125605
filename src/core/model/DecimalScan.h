#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The one reader of whole decimal numbers typed into fields. Each field
// decides its rules; the digits are read here.
struct CDecimalRules
{
    bool m_bBlanksAround = false; // spaces and tabs before and after
    bool m_bSign = false;         // an optional + or - before the digits
    std::int64_t m_nMin = 0;
    std::int64_t m_nMax = 0;
};

// At least one digit and nothing else the rules do not allow; nullopt for
// anything else or a value outside m_nMin..m_nMax.
std::optional<std::int64_t> ScanDecimal(std::string_view text, const CDecimalRules& rules);
