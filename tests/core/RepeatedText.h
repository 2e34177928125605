#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `unit` nCount times over, as hostile inputs are made of.
inline std::string Repeated(std::string_view unit, std::size_t nCount)
{
    std::string text;
    text.reserve(unit.size() * nCount);
    for (std::size_t i = 0; i < nCount; ++i)
        text += unit;
    return text;
}
