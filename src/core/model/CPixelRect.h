#pragma once

#include "model/Arithmetic.h"

#include <cstdint>

// An integer rectangle in the pixels of a device: screen pixels or printer
// dots. Right and bottom are one past the last pixel.
struct CPixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Saturated: the corners of a rectangle may lie at the ends of the range.
    int Width() const { return SaturateToInt(std::int64_t{right} - left); }
    int Height() const { return SaturateToInt(std::int64_t{bottom} - top); }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // left <= x < right and top <= y < bottom
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    CPixelRect Inset(int n) const { return {left + n, top + n, right - n, bottom - n}; }

    bool operator==(const CPixelRect&) const = default;
};
