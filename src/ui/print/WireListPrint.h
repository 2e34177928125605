#pragma once

#include "app/CommandLineList.h"
#include "print/PrintMode.h"
#include "print/PrinterCalibration.h"
#include "wirelist/MarkerSheets.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QPainter;

// Printing a wire list: every sheet of the job, one per page, each drawn by
// the one page routine (PrintSheetPage). Sheets are made one at a time as
// they print, so memory does not grow with the list.

// Told after each sheet how many of how many are done and the number in the
// whole job of the sheet just done; returning false cancels the job.
using SheetProgress = std::function<bool(std::size_t nDone, std::size_t nTotal, std::size_t nSheet)>;

// Reads the request's list, or its pattern, and makes its markers. Empty,
// or the message (naming the file, and the row where a row is at fault).
std::string LoadWireListMarkers(const CWireListRequest& request, CMarkerList& markers);

// Draws the remaining sheets of `sheets` onto the painter's device, starting
// a new page between them. Returns false when the progress cancelled.
bool PrintMarkerSheets(QPainter& painter, QPagedPaintDevice& device, CMarkerSheets& sheets,
                       PrintMode printMode, const CPrinterCalibration& calibration,
                       const SheetProgress& progress = {});

// All sheets as one PDF, a page per sheet, as ExportSheetPdf writes one.
// Written through WritePdfFile, only when complete: a failure or a cancel
// leaves any previous file as it was.
enum class SheetsPdfResult {
    Written,
    Cancelled,
    Failed, // `error` says why
};
SheetsPdfResult ExportMarkerSheetsPdf(const QString& path, CMarkerSheets& sheets, PrintMode printMode,
                                      const CPrinterCalibration& calibration, QString& error,
                                      const SheetProgress& progress = {});
