#pragma once

// What the next printed page draws.
enum class PrintMode {
    None,     // after every page; a print then prints labels
    Baseline, // the outlines of rows 0 and 1, nothing else
    Labels,   // the selected labels' texts
    Preview,  // every outline, and the selected labels' texts
};
