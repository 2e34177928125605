#pragma once

#include <string>

struct CCommandLineInfo;

// The command line's printing, without a window: --pdf writes the chosen
// page to a PDF; /p prints the selected labels on the current printer, /pt
// on the named one; --calibration-page prints the calibration page. A
// printer's own calibration applies on it (to --pdf with --printer), the
// machine-wide page offset everywhere else.
// Needs a QApplication (the offscreen platform will do). Returns an empty
// string, or the message to print before exiting with a failure: status 1,
// or 2 where the command asked for what the job does not have (--pages
// beyond its sheets), told through `pExitStatus`.
std::string RunCommandLinePrint(const CCommandLineInfo& cmdInfo, int* pExitStatus = nullptr);
