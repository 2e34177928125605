#include "print/WireListPrint.h"

#include "print/PrintPage.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int kPdfDotsPerInch = 600;

} // namespace

std::string LoadWireListMarkers(const CWireListRequest& request, CMarkerList& markers)
{
    CWireList list;
    if (std::string error = ReadWireListFile(request.m_strPath, request.m_read, list); !error.empty())
        return error;
    const std::string prefix = "'" + request.m_strPath + "': ";
    if (std::string error = BuildMarkers(list.m_table, request.m_markers, markers); !error.empty())
        return prefix + error;
    if (markers.m_nTotal == 0)
        return prefix + "no markers: the chosen columns are empty in every row";
    return {};
}

bool PrintMarkerSheets(QPainter& painter, QPagedPaintDevice& device, CMarkerSheets& sheets, int nPrintMode,
                       const CPrinterCalibration& calibration, const SheetProgress& progress)
{
    const std::size_t nTotal = sheets.SheetCount();
    CSheet sheet;
    for (std::size_t nDone = 0; sheets.NextSheet(sheet);) {
        if (nDone > 0)
            device.newPage();
        PrintSheetPage(painter, sheet, nPrintMode, calibration);
        ++nDone;
        if (progress && !progress(nDone, nTotal))
            return false;
    }
    return true;
}

SheetsPdfResult ExportMarkerSheetsPdf(const QString& path, CMarkerSheets& sheets, int nPrintMode,
                                      const CPrinterCalibration& calibration, QString& error,
                                      const SheetProgress& progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return SheetsPdfResult::Failed;
    }
    bool bCompleted = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Tavromark"));
        writer.setResolution(kPdfDotsPerInch);
        const CPageFormat& format = sheets.Template().m_format;
        const QPageSize pageSize(QSizeF(format.m_dPageWidth, format.m_dPageHeight), QPageSize::Millimeter,
                                 QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            error = QStringLiteral("cannot start the PDF");
            return SheetsPdfResult::Failed;
        }
        bCompleted = PrintMarkerSheets(painter, writer, sheets, nPrintMode, calibration, progress);
        painter.end();
    }
    if (!bCompleted) {
        file.cancelWriting();
        return SheetsPdfResult::Cancelled;
    }
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        file.cancelWriting();
        return SheetsPdfResult::Failed;
    }
    if (!file.commit()) {
        error = file.errorString();
        return SheetsPdfResult::Failed;
    }
    return SheetsPdfResult::Written;
}
