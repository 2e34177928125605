#include "print/CommandLinePrint.h"

#include "app/CommandLine.h"
#include "print/CPrinterSettings.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstring>

namespace {

std::string ReadSheetForPrinting(const std::string& path, CSheet& sheet)
{
    if (const int nError = CheckReadableFile(path))
        return "cannot open '" + path + "': " + std::strerror(nError);
    switch (ReadSheetFile(path, sheet)) {
    case SheetReadResult::Ok:
        return {};
    case SheetReadResult::CannotOpen:
        return "cannot open '" + path + "'";
    case SheetReadResult::WrongSignature:
    case SheetReadResult::Unreadable:
        return "'" + path + "' is not a Tavromark document";
    case SheetReadResult::Corrupt:
        break;
    }
    return "'" + path + "' is damaged and cannot be read";
}

std::string PrintOnPrinter(const CCommandLineInfo& cmdInfo, const CSheet& sheet, const CPageOffset& offset)
{
    using Cmd = CCommandLineInfo::ShellCommand;
    // The store stands for the program's printer choice, as at start-up.
    CPrinterSettings printerSettings;
    if (printerSettings.Load(kPrinterFileName) == 0)
        printerSettings.Apply();

    QPrinter printer(QPrinter::HighResolution);
    if (cmdInfo.m_nShellCommand == Cmd::FilePrintTo) {
        const QString name = QString::fromLocal8Bit(cmdInfo.m_strPrinterName);
        if (QPrinterInfo::printerInfo(name).isNull())
            return "unknown printer '" + cmdInfo.m_strPrinterName + "'";
        printer.setPrinterName(name);
    } else if (!CPrinterSettings::ConfigurePrinter(printer)) {
        return "no printer is installed";
    }
    UsePrintableAreaOrigin(printer);
    printer.setDocName(QFile::decodeName(QByteArray::fromStdString(cmdInfo.m_strFileName)));
    QPainter painter;
    if (!painter.begin(&printer))
        return "cannot start the print job on '" + printer.printerName().toStdString() + "'";
    PrintSheetPage(painter, sheet, PrintMode::Labels, offset.m_nMoveX, offset.m_nMoveY);
    if (!painter.end())
        return "the print job on '" + printer.printerName().toStdString() + "' failed";
    return {};
}

} // namespace

std::string RunCommandLinePrint(const CCommandLineInfo& cmdInfo)
{
    CSheet sheet;
    if (std::string error = ReadSheetForPrinting(cmdInfo.m_strFileName, sheet); !error.empty())
        return error;
    const CPageOffset offset = ReadPageOffset();
    if (cmdInfo.m_nShellCommand != CCommandLineInfo::ShellCommand::ExportPdf)
        return PrintOnPrinter(cmdInfo, sheet, offset);
    const QString output = QFile::decodeName(QByteArray::fromStdString(cmdInfo.m_strOutputName));
    const QString error = ExportSheetPdf(output, sheet, cmdInfo.m_printMode, offset.m_nMoveX, offset.m_nMoveY);
    if (!error.isEmpty())
        return "cannot write '" + cmdInfo.m_strOutputName + "': " + error.toStdString();
    return {};
}
