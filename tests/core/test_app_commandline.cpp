#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace {

// A directory of this test run alone: other runs may share the machine.
std::filesystem::path UniqueTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavro_test.XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

using Cmd = CCommandLineInfo::ShellCommand;

struct CommandLineCase
{
    const char* szName;
    std::vector<std::string> args;
    Cmd command;
    std::string file = {};
    std::string printer = {};
    std::string driver = {};
    std::string port = {};
    bool bSplash = true;
    std::string output = {};
    PrintMode mode = PrintMode::Labels; // what --pdf writes
    bool bCalibrationPage = false;
};

const CommandLineCase kCases[] = {
    {"no argument", {}, Cmd::FileNew},
    {"a document", {"labels.tav"}, Cmd::FileOpen, "labels.tav"},
    {"an absolute path is no switch", {"/home/user/labels.tav"}, Cmd::FileOpen, "/home/user/labels.tav"},
    {"a path named like a switch after --", {"--", "-p"}, Cmd::FileOpen, "-p"},
    {"a Chinese file name", {"标签.tav"}, Cmd::FileOpen, "标签.tav"},
    {"dde starts as without arguments", {"/dde"}, Cmd::FileNew},
    {"dde in capitals", {"/DDE"}, Cmd::FileNew},
    {"dde with a document", {"/dde", "a.tav"}, Cmd::FileOpen, "a.tav"},
    {"unregister", {"/Unregister"}, Cmd::AppUnregister},
    {"unregserver with a dash", {"-unregserver"}, Cmd::AppUnregister},
    {"print", {"/p", "a.tav"}, Cmd::FilePrint, "a.tav"},
    {"print, document first", {"a.tav", "-p"}, Cmd::FilePrint, "a.tav"},
    {"print to a printer", {"/pt", "a.tav", "Office"}, Cmd::FilePrintTo, "a.tav", "Office"},
    {"print to with driver and port",
     {"/pt", "a.tav", "Office", "drv", "lp0"},
     Cmd::FilePrintTo,
     "a.tav",
     "Office",
     "drv",
     "lp0"},
    {"no splash", {"/nologo"}, Cmd::FileNew, "", "", "", "", false},
    {"no splash with a document", {"--nologo", "a.tav"}, Cmd::FileOpen, "a.tav", "", "", "", false},
    {"help", {"--help"}, Cmd::Help},
    {"short help after a document", {"a.tav", "-h"}, Cmd::Help},
    {"version", {"--version"}, Cmd::Version},
    {"unknown option", {"--frobnicate"}, Cmd::Error},
    {"unknown short option", {"-x"}, Cmd::Error},
    {"two documents", {"a.tav", "b.tav"}, Cmd::Error},
    {"print without a document", {"/p"}, Cmd::Error},
    {"print to without a printer", {"/pt", "a.tav"}, Cmd::Error},
    {"print to with a driver but no port", {"/pt", "a.tav", "Office", "drv"}, Cmd::Error},
    {"print and unregister", {"/p", "a.tav", "/Unregister"}, Cmd::Error},
    {"unregister with a document", {"/Unregister", "a.tav"}, Cmd::Error},
    {"standard input", {"-"}, Cmd::Error},
    {"pdf", {"--pdf", "out.pdf", "a.tav"}, Cmd::ExportPdf, "a.tav", "", "", "", true, "out.pdf"},
    {"pdf, document first",
     {"a.tav", "--pdf", "out.pdf"},
     Cmd::ExportPdf,
     "a.tav",
     "",
     "",
     "",
     true,
     "out.pdf"},
    {"pdf of the baseline",
     {"--baseline", "--pdf", "o.pdf", "a.tav"},
     Cmd::ExportPdf,
     "a.tav",
     "",
     "",
     "",
     true,
     "o.pdf",
     PrintMode::Baseline},
    {"pdf of the preview",
     {"--pdf", "o.pdf", "a.tav", "--preview"},
     Cmd::ExportPdf,
     "a.tav",
     "",
     "",
     "",
     true,
     "o.pdf",
     PrintMode::Preview},
    {"pdf named like a switch", {"--pdf", "/p", "a.tav"}, Cmd::ExportPdf, "a.tav", "", "", "", true, "/p"},
    {"pdf without its name", {"a.tav", "--pdf"}, Cmd::Error},
    {"pdf with an empty name", {"--pdf", "", "a.tav"}, Cmd::Error},
    {"pdf without a document", {"--pdf", "o.pdf"}, Cmd::Error},
    {"pdf of two documents", {"--pdf", "o.pdf", "a.tav", "b.tav"}, Cmd::Error},
    {"two pdfs", {"--pdf", "o.pdf", "--pdf", "p.pdf", "a.tav"}, Cmd::Error},
    {"baseline and preview", {"--pdf", "o.pdf", "--baseline", "--preview", "a.tav"}, Cmd::Error},
    {"baseline without pdf", {"--baseline", "a.tav"}, Cmd::Error},
    {"preview with print", {"/p", "a.tav", "--preview"}, Cmd::Error},
    {"pdf and print", {"--pdf", "o.pdf", "/p", "a.tav"}, Cmd::Error},
    {"pdf with a slash is a path", {"/pdf", "o.pdf"}, Cmd::Error},
    {"pdf as a printer prints",
     {"--pdf", "o.pdf", "--printer", "Lab/2 [west]", "a.tav"},
     Cmd::ExportPdf,
     "a.tav",
     "Lab/2 [west]",
     "",
     "",
     true,
     "o.pdf"},
    {"preview pdf as a printer prints",
     {"--printer", "P", "--preview", "--pdf", "o.pdf", "a.tav"},
     Cmd::ExportPdf,
     "a.tav",
     "P",
     "",
     "",
     true,
     "o.pdf",
     PrintMode::Preview},
    {"calibration page on a printer",
     {"--calibration-page", "Office"},
     Cmd::PrintCalibrationPage,
     "",
     "Office",
     "",
     "",
     true,
     "",
     PrintMode::Labels,
     true},
    {"calibration page of a document",
     {"--calibration-page", "Office", "a.tav"},
     Cmd::PrintCalibrationPage,
     "a.tav",
     "Office",
     "",
     "",
     true,
     "",
     PrintMode::Labels,
     true},
    {"calibration page into a pdf",
     {"--pdf", "o.pdf", "--calibration-page"},
     Cmd::ExportPdf,
     "",
     "",
     "",
     "",
     true,
     "o.pdf",
     PrintMode::Labels,
     true},
    {"calibration page of a document into a pdf",
     {"--calibration-page", "--pdf", "o.pdf", "a.tav"},
     Cmd::ExportPdf,
     "a.tav",
     "",
     "",
     "",
     true,
     "o.pdf",
     PrintMode::Labels,
     true},
    {"calibration page without a printer", {"--calibration-page"}, Cmd::Error},
    {"calibration page of two documents", {"--calibration-page", "P", "a.tav", "b.tav"}, Cmd::Error},
    {"calibration pdf of two documents",
     {"--pdf", "o.pdf", "--calibration-page", "a.tav", "b.tav"},
     Cmd::Error},
    {"calibration page as a baseline", {"--pdf", "o.pdf", "--calibration-page", "--baseline"}, Cmd::Error},
    {"calibration page for a printer's calibration",
     {"--pdf", "o.pdf", "--calibration-page", "--printer", "P"},
     Cmd::Error},
    {"calibration page and print", {"/p", "a.tav", "--calibration-page"}, Cmd::Error},
    {"calibration page with a slash is a path", {"/calibration-page", "P"}, Cmd::Error},
    {"printer without pdf", {"--printer", "P", "a.tav"}, Cmd::Error},
    {"printer with print to", {"/pt", "a.tav", "Office", "--printer", "P"}, Cmd::Error},
    {"printer without its name", {"--pdf", "o.pdf", "a.tav", "--printer"}, Cmd::Error},
    {"printer with an empty name", {"--pdf", "o.pdf", "--printer", "", "a.tav"}, Cmd::Error},
    {"two printers", {"--pdf", "o.pdf", "--printer", "P", "--printer", "Q", "a.tav"}, Cmd::Error},
};

} // namespace

TEST(CommandLine, Table)
{
    for (const CommandLineCase& c : kCases) {
        SCOPED_TRACE(c.szName);
        const CCommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_strPrinterName, c.printer);
        EXPECT_EQ(info.m_strDriverName, c.driver);
        EXPECT_EQ(info.m_strPortName, c.port);
        EXPECT_EQ(info.m_bShowSplash, c.bSplash);
        EXPECT_EQ(info.m_strOutputName, c.output);
        if (c.command == Cmd::ExportPdf) {
            EXPECT_EQ(info.m_printMode, c.mode);
        }
        EXPECT_EQ(info.m_bCalibrationPage, c.bCalibrationPage && c.command != Cmd::Error);
        EXPECT_EQ(info.m_strError.empty(), c.command != Cmd::Error);
    }
}

TEST(CommandLine, ErrorNamesTheUnknownOption)
{
    const CCommandLineInfo info = ParseCommandLine({"--frobnicate"});
    EXPECT_NE(info.m_strError.find("--frobnicate"), std::string::npos);
}

TEST(CommandLine, UsageNamesEverySwitch)
{
    const std::string usage = CommandLineUsage("tavromark");
    for (const char* sw : {"/p", "/pt", "/dde", "/Unregister", "/nologo", "--help", "--version", "--pdf",
                           "--baseline", "--preview", "--printer", "--calibration-page"}) {
        SCOPED_TRACE(sw);
        EXPECT_NE(usage.find(sw), std::string::npos);
    }
}

TEST(CommandLine, CheckReadableFile)
{
    const std::filesystem::path dir = UniqueTempDir();
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "a.tav";
    std::ofstream(file) << "x";
    EXPECT_EQ(CheckReadableFile(file.string()), 0);
    EXPECT_EQ(CheckReadableFile((dir / "missing.tav").string()), ENOENT);
    EXPECT_EQ(CheckReadableFile(dir.string()), EISDIR);
    std::filesystem::remove_all(dir);
}
