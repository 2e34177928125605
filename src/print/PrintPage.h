#pragma once

#include "model/CSheet.h"
#include "print/PrintMode.h"

#include <QString>

class QPainter;
class QPrinter;

// The one page routine of printing, the print preview and the PDF export:
// draws what PlanPrintedPage lists for `printMode` onto the painter's
// device at that device's resolution. Device coordinates start at the
// painter's origin (a printer's printable area, a PDF page's corner).
// Outlines are drawn in the ruler pen, white inside; selected labels through
// DrawLabel in printer mode.
void PrintSheetPage(QPainter& painter, const CSheet& sheet, PrintMode printMode, int nPageMoveX, int nPageMoveY);

// Puts the printer's origin at the top-left of its printable area: the page
// margins become the margins the printer cannot print on. (Qt's own default
// of 10 points would otherwise move every label.) Call after any dialog
// that may have changed the page.
void UsePrintableAreaOrigin(QPrinter& printer);

// Writes the page as a one-page PDF at 600 dots per inch, the page the
// sheet's page size, its origin the page's corner; labels keep real text.
// Written atomically. Returns an empty string, or why it failed.
QString ExportSheetPdf(const QString& path, const CSheet& sheet, PrintMode printMode, int nPageMoveX, int nPageMoveY);
