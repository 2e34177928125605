#pragma once

#include "app/CommandLineList.h"
#include "print/PrintMode.h"
#include "print/PrinterCalibration.h"
#include "wirelist/MarkerSheets.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;

// Printing a wire list: every sheet of the job, one per page, each drawn by
// the one page routine (PrintSheetPage). Sheets are made one at a time as
// they print, so memory does not grow with the list.

// Told after each sheet how many of how many are done and the number in the
// whole job of the sheet just done; returning false cancels the job.
using SheetProgress = std::function<bool(std::size_t nDone, std::size_t nTotal, std::size_t nSheet)>;

// Reads the request's list, or its pattern, and makes its markers. Empty,
// or the message (naming the file, and the row where a row is at fault).
// `note` says which encoding a text list was read in when it was weighed.
// A column past the list's last is a bad option: *pExitStatus becomes 2.
std::string LoadWireListMarkers(const CWireListRequest& request, CMarkerList& markers, std::string& note,
                                int* pExitStatus = nullptr);

// Draws the remaining sheets of `sheets` onto the painter's device, starting
// a new page between them; with bShrinkCut, labels that would cut their
// marker off (FindClippedMarkers) shrink it to fit, for this job only.
// Returns false when the progress cancelled.
bool PrintMarkerSheets(QPainter& painter, QPagedPaintDevice& device, CMarkerSheets& sheets,
                       PrintMode printMode, const CPrinterCalibration& calibration,
                       const SheetProgress& progress = {}, bool bShrinkCut = false);

// All sheets as one PDF, a page per sheet, as ExportSheetPdf writes one;
// bShrinkCut as PrintMarkerSheets takes it.
// Written through WritePdfFile, only when complete: a failure or a cancel
// leaves any previous file as it was; drawing stops at the first failed write.
enum class SheetsPdfResult {
    Written,
    Cancelled,
    Failed, // `error` says why
};
SheetsPdfResult ExportMarkerSheetsPdf(const QString& path, CMarkerSheets& sheets, PrintMode printMode,
                                      const CPrinterCalibration& calibration, QString& error,
                                      const SheetProgress& progress = {}, bool bShrinkCut = false);

// The labels printed as the print dialog asked, where it chose a PDF file
// (PrintsToPdfFile): written as ExportMarkerSheetsPdf writes, with the
// printer's paper, margins and resolution, so that a cancelled or failed
// job leaves any previous file as it was.
SheetsPdfResult PrintMarkerSheetsToPdfFile(const QPrinter& printer, CMarkerSheets& sheets,
                                           const CPrinterCalibration& calibration, QString& error,
                                           const SheetProgress& progress = {}, bool bShrinkCut = false);

// A marker that its label would cut off on paper.
struct CClippedMarker
{
    std::size_t m_nRow = 0;   // the list's row (from 1); 0 for a pattern's marker
    std::size_t m_nLabel = 0; // its label in the whole job, from 1
    std::size_t m_nSheet = 0; // from 1
    CGridPosition m_position; // on the sheet
    std::string m_strText;    // code page 936, CR LF
};

struct CFitReport
{
    std::vector<CClippedMarker> m_first; // the first few, in job order
    std::size_t m_nClipped = 0;          // all of them
};

// Lays out every marker of the sheets to print with its label's format, as
// the page routine lays it out on `device` (the printer, or a PDF page of
// its resolution) under the calibration, and lists the markers whose ink
// would leave their label's text box. Labels that shrink to fit never do.
CFitReport FindClippedMarkers(const CMarkerSheets& sheets, QPaintDevice& device,
                              const CPrinterCalibration& calibration, std::size_t nFirst = 20);
