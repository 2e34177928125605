#pragma once

#include <string>

// The advancing middle part of a batch fill.

// The number at the start of `text` (read as atoi reads it: leading blanks, an
// optional sign, the digits up to the first other byte, 0 when there are none)
// plus `nStep`, zero padded to the byte length of `text`. "_NULL_" when the
// result needs more bytes than `text` has, so an empty text always gives
// "_NULL_". "007" + 5 is "012"; "12AB" + 1 is "0013".
std::string IncrementNumber(const std::string& text, int nStep);

// A one-byte ASCII letter advanced by `nStep`, keeping its case and wrapping
// from Z to A. Anything else gives the empty text.
std::string IncrementLetter(const std::string& text, int nStep);

// What IncrementNumber returns for a number that does not fit.
extern const std::string kNoNumber;
