#include "app/CommandLine.h"

#include "model/FileAccess.h"
#include "print/PrintLayout.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

enum class Switch {
    None,
    Dde,
    Print,
    PrintTo,
    Unregister,
    NoLogo,
    Help,
    Version,
    Pdf,
    Baseline,
    Preview,
    CalibrationPage,
    Printer,
    Unknown
};

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
    if (arg[0] == '-' && name == "calibration-page")
        return Switch::CalibrationPage;
    if (arg[0] == '-' && name == "printer")
        return Switch::Printer;
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
    bool bPrinterGiven = false; // --printer NAME
    bool bListSwitchSeen = false;
    std::string listError;

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
        switch (TakeWireListSwitch(args, i, info.m_list, listError)) {
        case ListSwitch::Taken:
            bListSwitchSeen = true;
            continue;
        case ListSwitch::Error:
            return Failure(listError);
        case ListSwitch::NotList:
            break;
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
            const PrintMode mode =
                SwitchOf(arg) == Switch::Baseline ? PrintMode::Baseline : PrintMode::Preview;
            if (bModeGiven && info.m_printMode != mode)
                return Failure("--baseline and --preview cannot be combined");
            info.m_printMode = mode;
            bModeGiven = true;
            continue;
        }
        case Switch::CalibrationPage:
            info.m_bCalibrationPage = true;
            continue;
        case Switch::Printer:
            if (bPrinterGiven)
                return Failure("only one --printer can be given");
            if (i + 1 == args.size() || args[i + 1].empty())
                return Failure("--printer needs the name of a printer");
            info.m_strPrinterName = args[++i];
            bPrinterGiven = true;
            continue;
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

    if (info.m_bCalibrationPage) {
        if (!bCommandGiven)
            info.m_nShellCommand = Cmd::PrintCalibrationPage;
        else if (info.m_nShellCommand != Cmd::ExportPdf)
            return Failure("--calibration-page prints on a printer or, with --pdf, into a PDF");
        if (bModeGiven)
            return Failure("--baseline and --preview do not apply to the calibration page");
        if (bPrinterGiven)
            return Failure("the calibration page is printed without calibration; --printer does not apply");
    }
    if (bPrinterGiven && info.m_nShellCommand != Cmd::ExportPdf)
        return Failure("--printer chooses the printer whose calibration --pdf uses");

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
        if (info.m_bCalibrationPage) {
            if (operands.size() > 1)
                return Failure("the calibration page takes at most one document, for its sheet");
            if (operands.size() == 1)
                info.m_strFileName = operands[0];
            break;
        }
        if (operands.size() != 1)
            return Failure("--pdf needs exactly one document to export");
        info.m_strFileName = operands[0];
        break;
    case Cmd::PrintCalibrationPage:
        if (operands.empty() || operands.size() > 2)
            return Failure(
                "--calibration-page needs a printer, optionally followed by a document for its sheet");
        info.m_strPrinterName = operands[0];
        if (operands.size() == 2)
            info.m_strFileName = operands[1];
        break;
    case Cmd::AppUnregister:
        if (!operands.empty())
            return Failure("Unregister takes no document");
        break;
    default:
        break;
    }
    const bool bPrinting = info.m_nShellCommand == Cmd::FilePrint ||
                           info.m_nShellCommand == Cmd::FilePrintTo || info.m_nShellCommand == Cmd::ExportPdf;
    if (std::string error = CheckWireListRequest(info.m_list, bPrinting, bListSwitchSeen); !error.empty())
        return Failure(error);
    if (bModeGiven && info.m_nShellCommand != Cmd::ExportPdf)
        return Failure("--baseline and --preview choose what --pdf writes");
    if (!info.m_strFileName.empty() && info.m_strFileName == "-")
        return Failure("documents cannot be read from standard input");
    return info;
}

std::string CommandLineUsage(const std::string& program)
{
    // The usage lines as GNU programs write them, which help2man turns into
    // the manual page's synopsis.
    const char* const forms[] = {
        " [/nologo] [FILE.tav]",
        " /p FILE.tav",
        " /pt FILE.tav PRINTER [DRIVER PORT]",
        " --pdf OUT.pdf [--baseline | --preview] [--printer NAME] FILE.tav",
        " --pdf OUT.pdf --list WIRES [LIST OPTIONS] FILE.tav",
        " /p FILE.tav --list WIRES [LIST OPTIONS]",
        " /pt FILE.tav PRINTER --list WIRES [LIST OPTIONS]",
        " --pdf OUT.pdf --pattern PATTERN [--copies N] [--selected-only] [--pages LIST]"
        " [--shrink | --allow-clipping] FILE.tav",
        " /p FILE.tav --pattern PATTERN [--copies N] [--selected-only]",
        " /pt FILE.tav PRINTER --pattern PATTERN [--copies N] [--selected-only]",
        " --calibration-page PRINTER [FILE.tav]",
        " --pdf OUT.pdf --calibration-page [FILE.tav]",
        " /Unregister",
    };
    std::string usage;
    for (const char* form : forms)
        usage += (usage.empty() ? "Usage: " : "  or:  ") + program + form + "\n";
    return usage + "\n"
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
                   "  --printer NAME    with --pdf: place the page as printer NAME prints it, with\n"
                   "                    its own calibration (default: the machine-wide page offset)\n"
                   "  --calibration-page PRINTER [FILE]\n"
                   "                    print the calibration page on PRINTER: crosshairs to measure\n"
                   "                    and the baseline, for the sheet of FILE, without FILE for\n"
                   "                    the default sheet (140 x 200 mm, 5 x 14 labels); with --pdf\n"
                   "                    it is written to OUT.pdf instead\n"
                   "  /Unregister       remove the desktop registration of .tav files and exit\n"
                   "                    (also /Unregserver)\n"
                   "  --list WIRES      print the markers of the wire list WIRES (CSV or TSV text,\n"
                   "                    .xlsx or .ods) on as many copies of the sheet of FILE as\n"
                   "                    they need: first its selected labels, then every label\n"
                   "  --columns 1,3     the columns that make a marker (numbers from 1 or letters\n"
                   "                    A,C; default 1), one line each\n"
                   "  --ends A/B        two markers per row, one for each end of the wire: end A\n"
                   "                    from columns A, end B from columns B (1,2/1,3), printed\n"
                   "                    side by side\n"
                   "  --join TEXT       join the columns with TEXT instead of a line break\n"
                   "  --header [N]      the first N rows (1 when N is left out) are titles and\n"
                   "                    column names: skip them\n"
                   "  --keep-empty-cells\n"
                   "                    join empty cells too (by default they leave no join)\n"
                   "  --copies N        N markers (with --ends: pairs) per row\n"
                   "  --quantity-column C\n"
                   "                    each row's count of markers is in column C\n"
                   "  --worksheet NAME  the worksheet of a workbook to read (default the first)\n"
                   "  --encoding NAME   the encoding of a text list (default: detected)\n"
                   "  --selected-only   every sheet uses only the selected positions\n"
                   "  --pages LIST      print only these sheets of the job (7 or 7-9,12), placed\n"
                   "                    as in the whole job: to reprint a jammed sheet\n"
                   "  --shrink          shrink the labels that would cut their marker off, for\n"
                   "                    this job (without it, or --allow-clipping, such a job is\n"
                   "                    refused, naming the markers)\n"
                   "  --allow-clipping  print markers that their labels cut off as they are\n"
                   "  --pattern PATTERN print the markers of a sequence pattern instead of a list:\n"
                   "                    text with counters in braces, {1-24} {01-24} {1-99/2}\n"
                   "                    {24-1} {A-Z} {A-AZ} {L1,L2,N}; nested (X{1-3}:{1-24}),\n"
                   "                    side by side with = ({1-10}{A-J}=), each value N times\n"
                   "                    with *N (W{1-300}*2); {{ and }} for braces\n"
                   "  -h, --help        show this text and exit\n"
                   "  --version         show the version and exit\n"
                   "\n"
                   "Switches may also be written with '-' instead of '/'. An argument after\n"
                   "'--' is always a file name.\n";
}

int CheckReadableFile(const std::string& path)
{
    return CheckFileForReading(path);
}
