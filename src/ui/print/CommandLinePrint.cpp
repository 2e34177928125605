#include "print/CommandLinePrint.h"

#include "app/CommandLine.h"
#include "model/FileAccess.h"
#include "model/Gbk.h"
#include "print/CPrinterSettings.h"
#include "print/PageOffsetSettings.h"
#include "print/PdfFile.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"
#include "print/WireListPrint.h"
#include "view/LabelTextLayout.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <iostream>

namespace {

std::string ReadSheetForPrinting(const std::string& path, CSheet& sheet)
{
    if (const int nError = CheckReadableFile(path))
        return "cannot open '" + path + "': " + FileErrorText(nError);
    std::optional<char32_t> unconvertible;
    switch (ReadSheetFile(path, sheet, &unconvertible)) {
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
    if (unconvertible) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*unconvertible));
        return "'" + path + "' holds the character " + code + ", which code page 936 cannot hold";
    }
    return "'" + path + "' is damaged and cannot be read";
}

// The printer a command prints on: the named one, else the current one.
std::string OpenCommandLinePrinter(const std::string& strPrinterName, QPrinter& printer)
{
    // The store stands for the program's printer choice, as at start-up.
    CPrinterSettings printerSettings;
    if (printerSettings.Load(kPrinterFileName) == 0)
        printerSettings.Apply();
    if (!strPrinterName.empty()) {
        const QString name = QString::fromLocal8Bit(strPrinterName);
        if (QPrinterInfo::printerInfo(name).isNull())
            return "unknown printer '" + strPrinterName + "'";
        printer.setPrinterName(name);
    } else if (!CPrinterSettings::ConfigurePrinter(printer)) {
        return "no printer is installed";
    }
    UsePrintableAreaOrigin(printer);
    return {};
}

// Prints one page on the printer, drawn by `draw`.
template <typename Draw>
std::string PrintOnPrinter(QPrinter& printer, const QString& docName, Draw draw)
{
    printer.setDocName(docName);
    QPainter painter;
    if (!painter.begin(&printer))
        return "cannot start the print job on '" + printer.printerName().toStdString() + "'";
    draw(painter);
    if (!painter.end())
        return "the print job on '" + printer.printerName().toStdString() + "' failed";
    return {};
}

// The calibration --pdf --printer NAME uses: that printer's, which must be
// installed or have a calibration of its own.
std::string PdfCalibration(const std::string& strPrinterName, const CPageOffset& offset,
                           CPrinterCalibration& calibration)
{
    calibration = CPrinterCalibration{offset.m_nMoveX, offset.m_nMoveY};
    if (strPrinterName.empty())
        return {};
    const QString name = QString::fromLocal8Bit(strPrinterName);
    if (const std::optional<CPrinterCalibration> own = ReadPrinterCalibration(name)) {
        calibration = *own;
        return {};
    }
    if (QPrinterInfo::printerInfo(name).isNull())
        return "unknown printer '" + strPrinterName + "' (not installed, and without a calibration)";
    return {};
}

// A marker's lines in UTF-8, one after the other: "W001 / -K2:8".
std::string OneLine(const std::string& gbk)
{
    std::string text;
    for (const std::string& line : SplitLabelLines(gbk))
        text += (text.empty() ? "" : " / ") + GbkToUtf8Lossy(line);
    return text;
}

// Empty where every marker fits its label (or the request shrinks or allows
// what does not); else the refusal, naming the first markers cut off.
std::string RefuseClippedMarkers(const CWireListRequest& request, const CMarkerSheets& sheets,
                                 QPaintDevice& device, const CPrinterCalibration& calibration)
{
    if (request.m_bShrinkCut || request.m_bAllowClipping)
        return {};
    constexpr std::size_t kNamed = 3;
    const CFitReport report = FindClippedMarkers(sheets, device, calibration, kNamed);
    if (report.m_nClipped == 0)
        return {};
    std::string text = std::to_string(report.m_nClipped) +
                       (report.m_nClipped == 1 ? " marker would be cut off by its label: "
                                               : " markers would be cut off by their labels: ");
    for (std::size_t i = 0; i < report.m_first.size(); ++i) {
        const CClippedMarker& marker = report.m_first[i];
        text += (i ? ", " : "") +
                (marker.m_nRow ? "row " + std::to_string(marker.m_nRow)
                               : "marker " + std::to_string(marker.m_nLabel)) +
                " '" + OneLine(marker.m_strText) + "' (sheet " + std::to_string(marker.m_nSheet) +
                ", label " + std::to_string(marker.m_position.m_nRow + 1) + "," +
                std::to_string(marker.m_position.m_nColumn + 1) + ")";
    }
    if (report.m_nClipped > report.m_first.size())
        text += ", ...";
    return text + "; --shrink shrinks those labels, --allow-clipping prints them as they are";
}

} // namespace

std::string RunCommandLinePrint(const CCommandLineInfo& cmdInfo, int* pExitStatus)
{
    using Cmd = CCommandLineInfo::ShellCommand;
    // The calibration page without a document is that of the default sheet.
    CSheet sheet;
    if (!cmdInfo.m_bCalibrationPage || !cmdInfo.m_strFileName.empty()) {
        if (std::string error = ReadSheetForPrinting(cmdInfo.m_strFileName, sheet); !error.empty())
            return error;
    }
    // A wire list or pattern is read and checked whole before anything is
    // printed.
    const bool bList = !cmdInfo.m_list.m_strPath.empty() || !cmdInfo.m_list.m_strPattern.empty();
    CMarkerList markers;
    if (bList) {
        std::string note;
        std::string error = LoadWireListMarkers(cmdInfo.m_list, markers, note, pExitStatus);
        // Which encoding a list was read in is said, so that a wrong
        // reading is never silent.
        if (!note.empty())
            std::cerr << "tavromark: " << note << '\n';
        if (!error.empty())
            return error;
    }
    CMarkerSheets listSheets(sheet, markers, cmdInfo.m_list.m_bSelectedOnly);
    if (bList) {
        if (std::string error = listSheets.Check(); !error.empty())
            return "'" + cmdInfo.m_strFileName + "': " + error;
        const CPageSelection& pages = cmdInfo.m_list.m_pages;
        if (pages.Last() > listSheets.SheetCount()) {
            if (pExitStatus)
                *pExitStatus = 2;
            return "--pages " + pages.Text() + ": the job has " + std::to_string(listSheets.SheetCount()) +
                   (listSheets.SheetCount() == 1 ? " sheet" : " sheets");
        }
        listSheets.SelectSheets(pages);
    }
    const CPageOffset offset = ReadPageOffset();
    const QString docName = QFile::decodeName(QByteArray::fromStdString(cmdInfo.m_strFileName));
    if (cmdInfo.m_nShellCommand != Cmd::ExportPdf) {
        QPrinter printer(QPrinter::HighResolution);
        const bool bNamed = cmdInfo.m_nShellCommand != Cmd::FilePrint;
        if (std::string error =
                OpenCommandLinePrinter(bNamed ? cmdInfo.m_strPrinterName : std::string(), printer);
            !error.empty())
            return error;
        if (cmdInfo.m_nShellCommand == Cmd::PrintCalibrationPage) {
            return PrintOnPrinter(printer, QStringLiteral("打印校准页"),
                                  [&](QPainter& painter) { PrintCalibrationPage(painter, sheet.m_format); });
        }
        const CPrinterCalibration calibration = CalibrationForPrinter(printer.printerName(), offset);
        if (bList)
            if (std::string refusal = RefuseClippedMarkers(cmdInfo.m_list, listSheets, printer, calibration);
                !refusal.empty())
                return refusal;
        return PrintOnPrinter(printer, docName, [&](QPainter& painter) {
            if (bList)
                PrintMarkerSheets(painter, printer, listSheets, PrintMode::Labels, calibration, {},
                                  cmdInfo.m_list.m_bShrinkCut);
            else
                PrintSheetPage(painter, sheet, PrintMode::Labels, calibration);
        });
    }
    const QString output = QFile::decodeName(QByteArray::fromStdString(cmdInfo.m_strOutputName));
    QString error;
    if (cmdInfo.m_bCalibrationPage) {
        error = ExportCalibrationPdf(output, sheet.m_format);
    } else {
        CPrinterCalibration calibration;
        if (std::string unknown = PdfCalibration(cmdInfo.m_strPrinterName, offset, calibration);
            !unknown.empty())
            return unknown;
        if (bList) {
            CPdfPageProbe page;
            if (std::string refusal =
                    RefuseClippedMarkers(cmdInfo.m_list, listSheets, page.Device(), calibration);
                !refusal.empty())
                return refusal;
            if (ExportMarkerSheetsPdf(output, listSheets, cmdInfo.m_printMode, calibration, error, {},
                                      cmdInfo.m_list.m_bShrinkCut) != SheetsPdfResult::Written)
                return "cannot write '" + cmdInfo.m_strOutputName + "': " + error.toStdString();
            return {};
        }
        error = ExportSheetPdf(output, sheet, cmdInfo.m_printMode, calibration);
    }
    if (!error.isEmpty())
        return "cannot write '" + cmdInfo.m_strOutputName + "': " + error.toStdString();
    return {};
}
