#include "print/CPrintService.h"

#include "base/AppMessageBox.h"
#include "base/ErrorText.h"
#include "model/CSheet.h"
#include "print/CCalibrationDlg.h"
#include "print/CLabelPrintDlg.h"
#include "print/CPageOffsetDlg.h"
#include "print/PageOffset.h"
#include "print/PdfFile.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// The queue a painter prints on: empty for anything but a printer (a
// printer printing to a file has no queue either).
QString QueueOf(const QPainter& painter)
{
    const auto* printer = dynamic_cast<const QPrinter*>(painter.device());
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat)
        return {};
    return printer->printerName();
}

QString CurrentPrinterName()
{
    const std::optional<CPrinterDescription>& current = CPrinterSettings::CurrentPrinter();
    return current ? QString::fromStdString(current->PrinterName()) : QString();
}

} // namespace

CPrintService::CPrintService() = default;
CPrintService::~CPrintService() = default;

void CPrintService::LoadPrinterChoice()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
}

CPageOffset CPrintService::PageOffset()
{
    if (!m_offset)
        m_offset = ReadPageOffset();
    return *m_offset;
}

void CPrintService::Print(QWidget* parent, const CSheet& sheet, PrintMode mode)
{
    LoadPrinterChoice();
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    printer.setDocName(mode == PrintMode::Baseline ? QStringLiteral("打印基准线")
                                                   : QStringLiteral("打印标签"));
    CLabelPrintDlg dlg(&printer, 0, parent);
    // One page, no ranges to choose.
    dlg.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dlg.exec() != QDialog::Accepted) {
        if (dlg.CalibrationChosen())
            PrintCalibrationPage(parent, sheet.m_format, dlg.CalibrationQueue());
        return;
    }
    UsePrintableAreaOrigin(printer);
    if (PrintsToPdfFile(printer)) {
        const int nError =
            WritePrinterPdfFile(printer, [&](QPainter& painter, QPdfWriter&, const std::function<bool()>&) {
                DrawPage(painter, sheet, mode);
                return true;
            });
        if (nError)
            AppMessageBox(parent, QMessageBox::Warning,
                          CannotWriteText(printer.outputFileName(), SystemErrorText(nError)));
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    DrawPage(painter, sheet, mode);
    painter.end();
}

void CPrintService::Preview(QWidget* parent, const CSheet& sheet)
{
    LoadPrinterChoice();
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    UsePrintableAreaOrigin(printer);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(QStringLiteral("打印预览"));
    // The preview paints through a picture engine; the dialog's Print
    // button paints the real printer, without the preview's outlines.
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [this, &sheet](QPrinter* pPrinter) {
        QPainter painter;
        if (!painter.begin(pPrinter))
            return;
        const bool bPreview = painter.paintEngine()->type() == QPaintEngine::Picture;
        DrawPage(painter, sheet, bPreview ? PrintMode::Preview : PrintMode::None);
    });
    dlg.exec();
}

void CPrintService::DrawPage(QPainter& painter, const CSheet& sheet, PrintMode mode)
{
    PrintSheetPage(painter, sheet, mode, CalibrationForPrinter(QueueOf(painter), PageOffset()));
}

void CPrintService::Setup(QWidget* parent)
{
    LoadPrinterChoice();
    if (!m_printerSettings.PrinterSetup(parent))
        return;
    m_printerSettings.Apply();
    m_printerSettings.Save(kPrinterFileName);
}

void CPrintService::EditPageOffset(QWidget* parent)
{
    LoadPrinterChoice();
    CPageOffsetDlg dlg(parent);
    dlg.m_strPrinter = CurrentPrinterName();
    const CPageOffset offset = PageOffset();
    const std::optional<CPrinterCalibration> own = ReadPrinterCalibration(dlg.m_strPrinter);
    const CPrinterCalibration shown = own.value_or(CPrinterCalibration{offset.m_nMoveX, offset.m_nMoveY});
    dlg.m_bPrinterOwn = own.has_value();
    dlg.m_strOffsetX = QString::number(shown.m_nMoveX);
    dlg.m_strOffsetY = QString::number(shown.m_nMoveY);
    dlg.m_strScaleX = QString::number(shown.m_nScaleX);
    dlg.m_strScaleY = QString::number(shown.m_nScaleY);
    if (dlg.exec() != QDialog::Accepted || !dlg.m_bForAllPrinters)
        return;
    m_offset = CPageOffset{DecimalTextValue(dlg.m_strOffsetX.toStdString()),
                           DecimalTextValue(dlg.m_strOffsetY.toStdString())};
}

void CPrintService::PrintCalibrationPage(QWidget* parent, const CPageFormat& format, const QString& queue)
{
    LoadPrinterChoice();
    PrintAndMeasureCalibrationPage(parent, format, queue);
}
