#pragma once

#include "model/CSheet.h"
#include "print/PrintLayout.h"
#include "print/PrintMode.h"
#include "print/PrinterCalibration.h"

#include <QRect>
#include <QString>

class QPainter;
class QPrinter;

// The one page routine of printing, the print preview and the PDF export:
// draws what PlanPrintedPage lists for `printMode` onto the painter's
// device at that device's resolution. Device coordinates start at the
// painter's origin (a printer's printable area, a PDF page's corner).
// Outlines are drawn in the ruler pen, white inside; selected labels through
// DrawLabel in printer mode. The calibration is the printer's
// (CalibrationForPrinter): its offset moves every label, its scale the
// whole page.
void PrintSheetPage(QPainter& painter, const CSheet& sheet, PrintMode printMode,
                    const CPrinterCalibration& calibration);

// The rectangle a printed label's text is drawn in, under the printer's
// scale (ScaleForPrinter).
QRect PrintedTextRect(const CPrintedLabel& printed, const CPrinterCalibration& calibration);

// The printer's scale on the painter, about the device origin (the
// printable area's top-left corner): every page routine calls it before it
// draws, with the offset already in its positions, so that rectangles,
// texts and lines scale together. Nothing happens without a scale.
void ScaleForPrinter(QPainter& painter, const CPrinterCalibration& calibration);

// The calibration page of a sheet format, drawn without any calibration, so
// that a ruler shows the printer as it is: the baseline outlines and a
// crosshair near each corner of the label area (CalibrationMarks), each
// with its distances from the page's top-left corner beside it.
void PrintCalibrationPage(QPainter& painter, const CPageFormat& format);

// Puts the printer's origin at the top-left of its printable area: the page
// margins become the margins the printer cannot print on. (Qt's own default
// of 10 points would otherwise move every label.) Call after any dialog
// that may have changed the page.
void UsePrintableAreaOrigin(QPrinter& printer);

// Writes the page as a one-page PDF at 600 dots per inch, the page the
// sheet's page size, its origin the page's corner; labels keep real text.
// Written atomically. Returns an empty string, or why it failed.
QString ExportSheetPdf(const QString& path, const CSheet& sheet, PrintMode printMode,
                       const CPrinterCalibration& calibration);

// The calibration page of `format` as such a PDF.
QString ExportCalibrationPdf(const QString& path, const CPageFormat& format);
