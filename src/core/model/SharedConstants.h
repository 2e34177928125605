#pragma once

#include <cstdint>

// Values more than one part of the program must agree on.

// "宋体" in code page 936: the labels' default face and the rulers' face.
inline constexpr char kSongFaceGbk[] = "\xCB\xCE\xCC\xE5";

// Millimetres to inches: 1 / 25.4.
inline constexpr double kInchesPerMillimetre = 0.03937007874015748;

// How many recently opened or saved documents the File menu lists.
inline constexpr int kRecentFileCount = 4;

// The caption of every message box.
inline constexpr char kAppCaption[] = "Tavromark";

// Colours of the sheet's pens as 0xRRGGBB.
inline constexpr std::uint32_t kRulerColour = 0x008400;          // rulers and printed outlines
inline constexpr std::uint32_t kPageBackgroundColour = 0x848284; // the grey around the page
inline constexpr std::uint32_t kFrameColour = 0x848484;          // unselected cells, the page outline
inline constexpr std::uint32_t kSelectedOuterColour = 0x0084DC;  // a selected cell's dotted outline
inline constexpr std::uint32_t kSelectedInnerColour = 0x0000DC;  // a selected cell's solid frame
inline constexpr std::uint32_t kBandColour = 0xC000C0;           // the rubber band
