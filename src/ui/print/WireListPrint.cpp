#include "print/WireListPrint.h"

#include "base/SystemErrorText.h"
#include "print/PdfFile.h"
#include "print/PrintPage.h"
#include "render/LabelRenderer.h"
#include "wirelist/SequencePattern.h"

#include <QPdfWriter>

#include <cerrno>
#include <optional>

namespace {

// Every position of a template as the page routine places it, each with the
// fit of the label's format there.
class CPositionFits
{
public:
    CPositionFits(const CSheet& templ, QPaintDevice& device, const CPrinterCalibration& calibration)
        : m_fits(CPageFormat::kMaxRows * CPageFormat::kMaxColumns)
    {
        CSheet all = templ;
        for (CSheet::Row& row : all.m_labels)
            for (CLabelRecord& label : row)
                label.m_bSelected = 1;
        const CDeviceResolution resolution{device.logicalDpiX(), device.logicalDpiY()};
        for (const CPrintedLabel& printed :
             PlanPrintedPage(all, PrintMode::Labels, calibration, resolution)) {
            const CLabelRecord& format = all.m_labels[printed.m_nRow][printed.m_nColumn];
            if (!format.m_bAutoShrink)
                m_fits[Index(printed.m_nRow, printed.m_nColumn)].emplace(
                    device, format, PrintedTextRect(printed, calibration), printed.m_insets);
        }
    }

    // Whether the label at `position` cuts `text` off; never where it shrinks to fit.
    bool Cuts(CGridPosition position, const std::string& text) const
    {
        const std::optional<CLabelFit>& fit = m_fits[Index(position.m_nRow, position.m_nColumn)];
        return fit && fit->Cuts(text);
    }

private:
    static std::size_t Index(int nRow, int nColumn)
    {
        return static_cast<std::size_t>(nRow) * CPageFormat::kMaxColumns + static_cast<std::size_t>(nColumn);
    }
    std::vector<std::optional<CLabelFit>> m_fits; // row by row
};

} // namespace

std::string LoadWireListMarkers(const CWireListRequest& request, CMarkerList& markers, std::string& note,
                                int* pExitStatus)
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
    note = EncodingNote(list, request.m_strPath);
    const std::string prefix = "'" + request.m_strPath + "': ";
    CMarkerFault fault;
    if (std::string error = BuildMarkers(list.m_table, request.m_markers, markers, &fault); !error.empty()) {
        if (fault.m_kind == CMarkerFault::Kind::ColumnBeyondList && pExitStatus)
            *pExitStatus = 2;
        return prefix + error;
    }
    if (markers.Total() == 0)
        return prefix + "no markers: the chosen columns are empty in every row";
    return {};
}

bool PrintMarkerSheets(QPainter& painter, QPagedPaintDevice& device, CMarkerSheets& sheets,
                       PrintMode printMode, const CPrinterCalibration& calibration,
                       const SheetProgress& progress, bool bShrinkCut)
{
    const std::size_t nTotal = sheets.SheetsToPrint();
    std::optional<CPositionFits> fits;
    if (bShrinkCut)
        fits.emplace(sheets.Template(), device, calibration);
    CSheet sheet;
    for (std::size_t nDone = 0; sheets.NextSheet(sheet);) {
        if (nDone > 0)
            device.newPage();
        for (const CGridPosition& position : fits ? SelectedPositions(sheet) : std::vector<CGridPosition>()) {
            CLabelRecord& label = sheet.m_labels[position.m_nRow][position.m_nColumn];
            if (fits->Cuts(position, label.m_strText))
                label.m_bAutoShrink = 1;
        }
        PrintSheetPage(painter, sheet, printMode, calibration);
        ++nDone;
        if (progress && !progress(nDone, nTotal, sheets.SheetNumber()))
            return false;
    }
    return true;
}

namespace {

// The sheets drawn by `write` (WritePdfFile or WritePrinterPdfFile), which
// stop at the first failed write: on a full disk nothing more is drawn.
SheetsPdfResult WriteMarkerSheetsPdf(const std::function<int(const PdfPaint&)>& write, CMarkerSheets& sheets,
                                     PrintMode printMode, const CPrinterCalibration& calibration,
                                     QString& error, const SheetProgress& progress, bool bShrinkCut)
{
    const int nError =
        write([&](QPainter& painter, QPdfWriter& writer, const std::function<bool()>& writeFailed) {
            return PrintMarkerSheets(
                painter, writer, sheets, printMode, calibration,
                [&](std::size_t nDone, std::size_t nTotal, std::size_t nSheet) {
                    return !writeFailed() && (!progress || progress(nDone, nTotal, nSheet));
                },
                bShrinkCut);
        });
    if (nError == ECANCELED)
        return SheetsPdfResult::Cancelled;
    if (nError) {
        error = SystemErrorText(nError);
        return SheetsPdfResult::Failed;
    }
    return SheetsPdfResult::Written;
}

} // namespace

SheetsPdfResult ExportMarkerSheetsPdf(const QString& path, CMarkerSheets& sheets, PrintMode printMode,
                                      const CPrinterCalibration& calibration, QString& error,
                                      const SheetProgress& progress, bool bShrinkCut)
{
    return WriteMarkerSheetsPdf(
        [&](const PdfPaint& paint) {
            return WritePdfFile(path, SheetPdfLayout(sheets.Template().m_format), kPdfDotsPerInch, paint);
        },
        sheets, printMode, calibration, error, progress, bShrinkCut);
}

SheetsPdfResult PrintMarkerSheetsToPdfFile(const QPrinter& printer, CMarkerSheets& sheets,
                                           const CPrinterCalibration& calibration, QString& error,
                                           const SheetProgress& progress, bool bShrinkCut)
{
    return WriteMarkerSheetsPdf([&](const PdfPaint& paint) { return WritePrinterPdfFile(printer, paint); },
                                sheets, PrintMode::Labels, calibration, error, progress, bShrinkCut);
}

CFitReport FindClippedMarkers(const CMarkerSheets& sheets, QPaintDevice& device,
                              const CPrinterCalibration& calibration, std::size_t nFirst)
{
    CPositionFits fits(sheets.Template(), device, calibration);
    CFitReport report;
    std::size_t nLabel = 0;
    sheets.ForEachLabel(
        [&](std::size_t nSheet, CGridPosition position, const CMarkerRun& run, std::size_t k) {
            ++nLabel;
            if (!sheets.Pages().Contains(nSheet))
                return;
            std::string text(run.LabelText(k));
            if (fits.Cuts(position, text)) {
                if (report.m_first.size() < nFirst)
                    report.m_first.push_back({run.m_nRow, nLabel, nSheet, position, std::move(text)});
                ++report.m_nClipped;
            }
        });
    return report;
}
