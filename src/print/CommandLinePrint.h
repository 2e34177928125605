#pragma once

#include <string>

struct CCommandLineInfo;

// The command line's printing, without a window: --pdf writes the chosen
// page to a PDF; /p prints the selected labels on the current printer, /pt
// on the named one. The page offset of the settings file applies to all.
// Needs a QApplication (the offscreen platform will do). Returns an empty
// string, or the message to print before exiting with a failure.
std::string RunCommandLinePrint(const CCommandLineInfo& cmdInfo);
