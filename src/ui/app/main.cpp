#include "app/CMainFrame.h"
#include "app/CTAVROApp.h"
#include "app/CommandLine.h"
#include "app/DesktopIntegration.h"
#include "app/StartupProbe.h"
#include "model/FileAccess.h"
#include "print/CommandLinePrint.h"
#include "view/CTAVROView.h"

#include <QApplication>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "tavromark";

int Fail(const std::string& message, int nExitCode = 1)
{
    std::cerr << kProgram << ": " << message << '\n';
    return nExitCode;
}

} // namespace

int main(int argc, char* argv[])
{
    // A file size limit (ulimit -f) would otherwise kill the program in the
    // middle of a save, unsaved work and all; ignored, the write fails with
    // EFBIG and is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);

    // The command line is read before any QApplication exists, so that what
    // needs no window works without a display.
    using Cmd = CCommandLineInfo::ShellCommand;
    const CCommandLineInfo cmdInfo = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (cmdInfo.m_nShellCommand) {
    case Cmd::Help:
        std::cout << CommandLineUsage(kProgram);
        return 0;
    case Cmd::Version:
        std::cout << kProgram << ' ' << TAVRO_VERSION << '\n';
        return 0;
    case Cmd::Error:
        return Fail(cmdInfo.m_strError + "\nTry '" + kProgram + " --help' for more information.", 2);
    case Cmd::FilePrint:
    case Cmd::FilePrintTo:
    case Cmd::PrintCalibrationPage:
    case Cmd::ExportPdf: {
        // No window is shown: the offscreen platform needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tavromark"));
        int nExitStatus = 1;
        const std::string error = RunCommandLinePrint(cmdInfo, &nExitStatus);
        if (!error.empty())
            return Fail(error, nExitStatus);
        return 0;
    }
    case Cmd::AppUnregister: {
        QCoreApplication app(argc, argv);
        const QString error = UnregisterDesktopIntegration();
        if (!error.isEmpty())
            return Fail("could not remove the desktop registration: " + error.toStdString());
        std::cout << "The desktop registration of .tav documents has been removed.\n";
        return 0;
    }
    case Cmd::FileOpen:
        // A document that cannot even be opened ends the program here, with
        // the reason, before any window appears.
        if (const int nError = CheckReadableFile(cmdInfo.m_strFileName))
            return Fail("cannot open '" + cmdInfo.m_strFileName + "': " + FileErrorText(nError));
        break;
    case Cmd::FileNew:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavromark"));
    QApplication::setApplicationVersion(QStringLiteral(TAVRO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tavromark"));
    CTAVROApp theApp;
    if (!theApp.Start(cmdInfo))
        return 1;
    ExitAfterFirstPaintIfAsked(theApp.MainFrame()->GetView()->viewport());
    return QApplication::exec();
}
