#include "app/CommandLine.h"

#include "print/PrintLayout.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

enum class Switch { None, Dde, Print, PrintTo, Unregister, NoLogo, Help, Version, Pdf, Baseline, Preview, Unknown };

// The switch an argument names. "-x" and "--x" that are not known are
// errors; "/x" that is not known is a path.
Switch SwitchOf(const std::string& arg)
{
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return Switch::None;
    std::string name = Lower(arg.substr(1));
    if (arg[0] == '-' && name.starts_with('-'))
        name.erase(0, 1);
    if (name == "dde")
        return Switch::Dde;
    if (name == "p")
        return Switch::Print;
    if (name == "pt")
        return Switch::PrintTo;
    if (name == "unregister" || name == "unregserver")
        return Switch::Unregister;
    if (name == "nologo")
        return Switch::NoLogo;
    if (arg[0] == '-' && (name == "help" || name == "h"))
        return Switch::Help;
    if (arg[0] == '-' && name == "version")
        return Switch::Version;
    if (arg[0] == '-' && name == "pdf")
        return Switch::Pdf;
    if (arg[0] == '-' && name == "baseline")
        return Switch::Baseline;
    if (arg[0] == '-' && name == "preview")
        return Switch::Preview;
    return arg[0] == '-' ? Switch::Unknown : Switch::None;
}

CCommandLineInfo Failure(std::string message)
{
    CCommandLineInfo info;
    info.m_nShellCommand = CCommandLineInfo::ShellCommand::Error;
    info.m_strError = std::move(message);
    return info;
}

} // namespace

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args)
{
    using Cmd = CCommandLineInfo::ShellCommand;
    CCommandLineInfo info;
    std::vector<std::string> operands; // in order, after the switches are taken out
    bool bOptionsEnded = false;
    bool bCommandGiven = false; // a second, different command is an error
    bool bModeGiven = false;    // --baseline or --preview

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bOptionsEnded || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            bOptionsEnded = true;
            continue;
        }
        Cmd command = Cmd::FileNew;
        switch (SwitchOf(arg)) {
        case Switch::None:
            operands.push_back(arg);
            continue;
        case Switch::NoLogo:
            info.m_bShowSplash = false;
            continue;
        case Switch::Help:
            info = {};
            info.m_nShellCommand = Cmd::Help;
            return info;
        case Switch::Version:
            info = {};
            info.m_nShellCommand = Cmd::Version;
            return info;
        case Switch::Unknown:
            return Failure("unknown option '" + arg + "'");
        case Switch::Baseline:
        case Switch::Preview: {
            const PrintMode mode = SwitchOf(arg) == Switch::Baseline ? PrintMode::Baseline : PrintMode::Preview;
            if (bModeGiven && info.m_printMode != mode)
                return Failure("--baseline and --preview cannot be combined");
            info.m_printMode = mode;
            bModeGiven = true;
            continue;
        }
        case Switch::Pdf:
            if (!info.m_strOutputName.empty())
                return Failure("only one PDF can be written at a time");
            if (i + 1 == args.size() || args[i + 1].empty())
                return Failure("--pdf needs the name of the PDF to write");
            info.m_strOutputName = args[++i];
            command = Cmd::ExportPdf;
            break;
        case Switch::Dde:
            command = Cmd::FileNew;
            break;
        case Switch::Print:
            command = Cmd::FilePrint;
            break;
        case Switch::PrintTo:
            command = Cmd::FilePrintTo;
            break;
        case Switch::Unregister:
            command = Cmd::AppUnregister;
            break;
        }
        if (bCommandGiven && info.m_nShellCommand != command)
            return Failure("'" + arg + "' cannot be combined with another command");
        info.m_nShellCommand = command;
        bCommandGiven = true;
    }

    switch (info.m_nShellCommand) {
    case Cmd::FileNew:
        if (operands.size() > 1)
            return Failure("only one document can be opened at a time");
        if (operands.size() == 1) {
            info.m_nShellCommand = Cmd::FileOpen;
            info.m_strFileName = operands[0];
        }
        break;
    case Cmd::FilePrint:
        if (operands.size() != 1)
            return Failure("/p needs exactly one document to print");
        info.m_strFileName = operands[0];
        break;
    case Cmd::FilePrintTo:
        if (operands.size() != 2 && operands.size() != 4)
            return Failure("/pt needs a document and a printer, optionally followed by a driver and a port");
        info.m_strFileName = operands[0];
        info.m_strPrinterName = operands[1];
        if (operands.size() == 4) {
            info.m_strDriverName = operands[2];
            info.m_strPortName = operands[3];
        }
        break;
    case Cmd::ExportPdf:
        if (operands.size() != 1)
            return Failure("--pdf needs exactly one document to export");
        info.m_strFileName = operands[0];
        break;
    case Cmd::AppUnregister:
        if (!operands.empty())
            return Failure("Unregister takes no document");
        break;
    default:
        break;
    }
    if (bModeGiven && info.m_nShellCommand != Cmd::ExportPdf)
        return Failure("--baseline and --preview choose what --pdf writes");
    if (!info.m_strFileName.empty() && info.m_strFileName == "-")
        return Failure("documents cannot be read from standard input");
    return info;
}

std::string CommandLineUsage(const std::string& program)
{
    return "Usage: " + program + " [/nologo] [FILE.tav]\n"
           "       " + program + " /p FILE.tav\n"
           "       " + program + " /pt FILE.tav PRINTER [DRIVER PORT]\n"
           "       " + program + " --pdf OUT.pdf [--baseline | --preview] FILE.tav\n"
           "       " + program + " /Unregister\n"
           "\n"
           "Tavromark designs and prints sheets of cable and wire labels.\n"
           "\n"
           "  FILE.tav          open this document instead of a new one\n"
           "  /nologo           start without the splash window\n"
           "  /dde              accepted for desktop shells; starts as without arguments\n"
           "  /p FILE           print the selected labels of FILE on the current printer\n"
           "                    (the one chosen with print setup, else the default)\n"
           "  /pt FILE PRINTER  print the selected labels of FILE on PRINTER\n"
           "  --pdf OUT.pdf FILE\n"
           "                    write what printing the labels of FILE would print to\n"
           "                    OUT.pdf (the sheet's page size, 600 dpi, searchable text)\n"
           "  --baseline        with --pdf: the baseline, outlines of the first two rows\n"
           "  --preview         with --pdf: the preview, every outline and the labels\n"
           "  /Unregister       remove the desktop registration of .tav files and exit\n"
           "                    (also /Unregserver)\n"
           "  -h, --help        show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Switches may also be written with '-' instead of '/'. An argument after\n"
           "'--' is always a file name.\n";
}

int CheckReadableFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return EISDIR;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return errno;
    std::fclose(file);
    return 0;
}
