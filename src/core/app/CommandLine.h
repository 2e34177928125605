#pragma once

#include "app/CommandLineList.h"
#include "print/PrintMode.h"

#include <string>
#include <vector>

// What the command line asks of the program. Switches start with "/" or "-"
// and are matched without regard to case; an argument that starts with "/"
// and is no known switch is a path, so absolute paths need no quoting.
struct CCommandLineInfo
{
    enum class ShellCommand {
        FileNew,              // no argument, or "/dde" (shell requests need nothing more)
        FileOpen,             // a document path
        FilePrint,            // "/p FILE"
        FilePrintTo,          // "/pt FILE PRINTER [DRIVER PORT]"
        ExportPdf,            // "--pdf OUT.pdf FILE" [--baseline | --preview] [--printer NAME],
                              // or "--pdf OUT.pdf --calibration-page [FILE]"
        PrintCalibrationPage, // "--calibration-page PRINTER [FILE]"
        AppUnregister,        // "Unregister" or "Unregserver"
        Help,                 // "--help", "-h": print the usage and exit
        Version,              // "--version": print the version and exit
        Error,                // m_strError says why; print it and the usage, exit non-zero
    };

    ShellCommand m_nShellCommand = ShellCommand::FileNew;
    bool m_bShowSplash = true; // "/nologo" turns the splash window off
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    std::string m_strOutputName;               // the PDF of --pdf
    PrintMode m_printMode = PrintMode::Labels; // what --pdf writes: labels, --baseline, --preview
    bool m_bCalibrationPage =
        false;               // --calibration-page: the sheet's calibration page (no file: the default sheet)
    CWireListRequest m_list; // --list: print the markers of a wire list
    std::string m_strError;
};

// Parses the arguments after the program name. Bytes are taken as they come:
// paths are file system bytes and are never converted.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

// The text --help prints; `program` is the name the program was started by.
std::string CommandLineUsage(const std::string& program);

// 0 when `path` names a regular file that can be opened for reading, else
// the errno of the failure (EISDIR for a directory, kErrNotRegularFile for a
// FIFO or device, which is never opened so as not to wait on it).
int CheckReadableFile(const std::string& path);
