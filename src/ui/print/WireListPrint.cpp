#include "print/WireListPrint.h"

#include "base/SystemErrorText.h"
#include "print/PdfFile.h"
#include "print/PrintPage.h"
#include "wirelist/SequencePattern.h"

#include <QPdfWriter>

#include <cerrno>

std::string LoadWireListMarkers(const CWireListRequest& request, CMarkerList& markers)
{
    if (!request.m_strPattern.empty()) {
        CSequencePattern pattern;
        if (const std::optional<CPatternError> error = CSequencePattern::Parse(request.m_strPattern, pattern))
            return "--pattern: " + EnglishText(*error);
        markers = pattern.Markers(request.m_markers.m_nCopies);
        return {};
    }
    CWireList list;
    if (const CWireListProblem problem = ReadWireListFile(request.m_strPath, request.m_read, list))
        return EnglishText(problem);
    const std::string prefix = "'" + request.m_strPath + "': ";
    if (std::string error = BuildMarkers(list.m_table, request.m_markers, markers); !error.empty())
        return prefix + error;
    if (markers.m_nTotal == 0)
        return prefix + "no markers: the chosen columns are empty in every row";
    return {};
}

bool PrintMarkerSheets(QPainter& painter, QPagedPaintDevice& device, CMarkerSheets& sheets,
                       PrintMode printMode, const CPrinterCalibration& calibration,
                       const SheetProgress& progress)
{
    const std::size_t nTotal = sheets.SheetsToPrint();
    CSheet sheet;
    for (std::size_t nDone = 0; sheets.NextSheet(sheet);) {
        if (nDone > 0)
            device.newPage();
        PrintSheetPage(painter, sheet, printMode, calibration);
        ++nDone;
        if (progress && !progress(nDone, nTotal, sheets.SheetNumber()))
            return false;
    }
    return true;
}

SheetsPdfResult ExportMarkerSheetsPdf(const QString& path, CMarkerSheets& sheets, PrintMode printMode,
                                      const CPrinterCalibration& calibration, QString& error,
                                      const SheetProgress& progress)
{
    const int nError =
        WritePdfFile(path, SheetPdfLayout(sheets.Template().m_format), kPdfDotsPerInch,
                     [&](QPainter& painter, QPdfWriter& writer) {
                         return PrintMarkerSheets(painter, writer, sheets, printMode, calibration, progress);
                     });
    if (nError == ECANCELED)
        return SheetsPdfResult::Cancelled;
    if (nError) {
        error = SystemErrorText(nError);
        return SheetsPdfResult::Failed;
    }
    return SheetsPdfResult::Written;
}
