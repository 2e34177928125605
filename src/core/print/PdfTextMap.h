#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Chinese faces draw a Kangxi or CJK radical and the unified ideograph it
// looks like with one glyph. Qt's PDF writer maps each glyph back to the
// lowest code point that reaches it, so a PDF of "大门" searches and copies as
// "⼤⻔". Markers are written in ideographs, so these routines point such
// glyphs back at the ideograph.

// The unified ideograph a radical or stroke stands for; any other code point
// as it is.
char32_t EquivalentIdeograph(char32_t code);

// A ToUnicode CMap with every destination passed through EquivalentIdeograph;
// everything else stays as written.
std::string MendTextMap(std::string_view cmap);

// Whether a piece of a PDF holds a ToUnicode CMap.
bool HoldsTextMap(std::string_view bytes);

// Mends every ToUnicode CMap in `tail`, a PDF's last bytes from offset
// `tailOffset` on, its cross-reference table and trailer included: the CMaps,
// the lengths of their streams and the offsets of the objects that move.
// Returns false, leaving `tail` as it was, where the tail is not laid out as
// a PDF writer lays it out.
bool MendPdfTextMaps(std::string& tail, std::uint64_t tailOffset);
