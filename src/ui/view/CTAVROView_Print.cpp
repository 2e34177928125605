#include "view/CTAVROView.h"

#include "base/AppMessageBox.h"
#include "print/CCalibrationDlg.h"
#include "print/CPageOffsetDlg.h"
#include "print/PageOffset.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
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

void CTAVROView::InitPrinting()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
    const CPageOffset offset = ReadPageOffset();
    m_nPageMoveX = offset.m_nMoveX;
    m_nPageMoveY = offset.m_nMoveY;
}

// The commands post the print, so that it starts once the command's own
// event (a key, a menu click) has been handled.
void CTAVROView::OnPrintLabels()
{
    m_printMode = PrintMode::Labels;
    QMetaObject::invokeMethod(
        this, [this] { OnFilePrint(); }, Qt::QueuedConnection);
}

void CTAVROView::OnPrintBaseline()
{
    m_printMode = PrintMode::Baseline;
    QMetaObject::invokeMethod(
        this, [this] { OnFilePrint(); }, Qt::QueuedConnection);
}

void CTAVROView::OnPrintPreview()
{
    m_printMode = PrintMode::Preview;
    QMetaObject::invokeMethod(
        this, [this] { OnFilePrintPreview(); }, Qt::QueuedConnection);
}

void CTAVROView::OnFilePrint()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    printer.setDocName(m_printMode == PrintMode::Baseline ? QStringLiteral("打印基准线")
                                                          : QStringLiteral("打印标签"));
    QPrintDialog dlg(&printer, this);
    // One page, no ranges to choose.
    dlg.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dlg.exec() != QDialog::Accepted)
        return;
    UsePrintableAreaOrigin(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    OnPrint(painter, false);
    painter.end();
}

void CTAVROView::OnFilePrintPreview()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    UsePrintableAreaOrigin(printer);
    QPrintPreviewDialog dlg(&printer, this);
    dlg.setWindowTitle(QStringLiteral("打印预览"));
    // The preview paints through a picture engine; the dialog's Print
    // button paints the real printer, with m_printMode back at none.
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* pPrinter) {
        QPainter painter;
        if (!painter.begin(pPrinter))
            return;
        OnPrint(painter, painter.paintEngine()->type() == QPaintEngine::Picture);
    });
    dlg.exec();
}

void CTAVROView::OnPrint(QPainter& painter, bool bPreview)
{
    if (bPreview)
        m_printMode = PrintMode::Preview;
    PrintSheetPage(painter, GetSheet(), m_printMode,
                   CalibrationForPrinter(QueueOf(painter), CPageOffset{m_nPageMoveX, m_nPageMoveY}));
    m_printMode = PrintMode::None;
}

void CTAVROView::OnFilePrintSetup()
{
    if (!m_printerSettings.PrinterSetup(this))
        return;
    m_printerSettings.Apply();
    m_printerSettings.Save(kPrinterFileName);
}

void CTAVROView::OnPageOffset()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
    CPageOffsetDlg dlg(this);
    dlg.m_strPrinter = CurrentPrinterName();
    const std::optional<CPrinterCalibration> own = ReadPrinterCalibration(dlg.m_strPrinter);
    const CPrinterCalibration shown = own.value_or(CPrinterCalibration{m_nPageMoveX, m_nPageMoveY});
    dlg.m_bPrinterOwn = own.has_value();
    dlg.m_strOffsetX = QString::number(shown.m_nMoveX);
    dlg.m_strOffsetY = QString::number(shown.m_nMoveY);
    dlg.m_strScaleX = QString::number(shown.m_nScaleX);
    dlg.m_strScaleY = QString::number(shown.m_nScaleY);
    if (dlg.DoModal() != QDialog::Accepted || !dlg.m_bForAllPrinters)
        return;
    m_nPageMoveX = DecimalTextValue(dlg.m_strOffsetX.toStdString());
    m_nPageMoveY = DecimalTextValue(dlg.m_strOffsetY.toStdString());
}

void CTAVROView::OnCalibrationPage()
{
    if (m_printerSettings.Load(kPrinterFileName) == 0)
        m_printerSettings.Apply();
    QPrinter printer(QPrinter::HighResolution);
    if (!CPrinterSettings::ConfigurePrinter(printer)) {
        AppMessageBox(this, QMessageBox::Warning, QStringLiteral("没有安装打印机，无法打印校准页。"));
        return;
    }
    printer.setDocName(QStringLiteral("打印校准页"));
    QPrintDialog dlgPrint(&printer, this);
    dlgPrint.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dlgPrint.exec() != QDialog::Accepted)
        return;
    UsePrintableAreaOrigin(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    PrintCalibrationPage(painter, Format());
    if (!painter.end()) {
        AppMessageBox(this, QMessageBox::Warning, QStringLiteral("校准页无法打印。"));
        return;
    }
    CCalibrationDlg dlg(printer.printerName(), CalibrationMarks(Format()), this);
    dlg.exec();
}
