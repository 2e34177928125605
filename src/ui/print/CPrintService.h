#pragma once

#include "print/CPrinterSettings.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintMode.h"

#include <QString>

#include <optional>

class CPageFormat;
struct CSheet;
class QPainter;
class QWidget;

// The printing of the sheet: the stored printer choice and the page offset
// for every printer, both read when printing first needs them, and the
// print, preview, printer setup, page offset and calibration commands with
// the page routine they share. A job is configured (the printer choice made
// current, the print dialog), then the sheet's page is drawn on its QPrinter
// in the mode the command passes.
class CPrintService
{
public:
    CPrintService();
    ~CPrintService();
    CPrintService(const CPrintService&) = delete;
    CPrintService& operator=(const CPrintService&) = delete;

    // Labels or baseline, after the print dialog.
    void Print(QWidget* parent, const CSheet& sheet, PrintMode mode);
    // The preview dialog; its own print button prints the labels.
    void Preview(QWidget* parent, const CSheet& sheet);
    // Chooses and stores the printer, paper, orientation and copies.
    void Setup(QWidget* parent);
    // The page offset dialog; "for all printers" changes PageOffset().
    void EditPageOffset(QWidget* parent);
    // Prints the calibration page of `format` on a printer the user picks
    // (`queue` offered first, else the current printer), then asks for the
    // measurements and stores that printer's calibration.
    void PrintCalibrationPage(QWidget* parent, const CPageFormat& format, const QString& queue = {});

    // Draws the sheet's one page in `mode`, with the calibration of the
    // painter's printer (the page offset for every printer elsewhere).
    void DrawPage(QPainter& painter, const CSheet& sheet, PrintMode mode);

    // The page offset for every printer, 0.01 mm.
    CPageOffset PageOffset();
    void SetPageOffset(const CPageOffset& offset) { m_offset = offset; }

    // The one place the stored printer choice is read and made the current
    // printer; read anew for every job, since another run may have changed it.
    void LoadPrinterChoice();

private:
    CPrinterSettings m_printerSettings;
    std::optional<CPageOffset> m_offset; // read at first use
};
