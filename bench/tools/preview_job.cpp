// The print preview of a long wire-list job: how long until its first sheet
// is on screen, and the process's memory (VmRSS and its peak VmHWM) with the
// markers made, with the preview open and scrolled through, and after it
// closed. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/tavro_preview_job [SHEETS [full] [qt]]
// The sheet is the default one (5 × 14 labels), with "full" one of 15 × 25;
// every label gets its own marker. With "qt", Qt's own QPrintPreviewDialog
// draws the job instead (every sheet before the first is shown), for
// comparison.
#include "print/CMarkerPreviewDlg.h"
#include "print/WireListPrint.h"
#include "wirelist/MarkerSheets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// "VmRSS 41.2 MB, VmHWM 52.0 MB"
std::string Memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    std::string text;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS") || line.startsWith("VmHWM"))
            text += (text.empty() ? "" : ", ") + line.simplified().replace(" kB", "").toStdString() + " kB";
    return text;
}

// The default sheet, or a 15 × 25 one, every label selected.
CSheet JobSheet(bool bFull)
{
    CSheet sheet;
    if (bFull) {
        sheet.m_format.m_nColumns = 15;
        sheet.m_format.m_nRows = 25;
        sheet.m_format.m_dLabelWidth = 12;
        sheet.m_format.m_dLabelHeight = 10;
        sheet.m_format.Recalc();
    }
    return sheet;
}

bool HasArgument(int argc, char* argv[], const char* name)
{
    for (int i = 2; i < argc; ++i)
        if (std::string(argv[i]) == name)
            return true;
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const long nSheets = argc > 1 ? std::atol(argv[1]) : 8000;
    const bool bQtDialog = HasArgument(argc, argv, "qt");
    const CSheet sheet = JobSheet(HasArgument(argc, argv, "full"));
    CMarkerList markers;
    const std::size_t nMarkers =
        static_cast<std::size_t>(nSheets) * sheet.m_format.m_nRows * sheet.m_format.m_nColumns;
    markers.Reserve(nMarkers * 18); // a header byte and up to 17 of text
    for (std::size_t i = 1; i <= nMarkers; ++i)
        markers.Add({"W" + std::to_string(i) + " -X2:" + std::to_string(i % 40 + 1), 1});
    CMarkerSheets sheets(sheet, markers, false);
    std::printf("%zu markers on %zu sheets; markers made: %s\n", markers.Total(), sheets.SheetCount(),
                Memory().c_str());

    QElapsedTimer timer;
    timer.start();
    if (bQtDialog) {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
            CMarkerSheets job(sheet, markers, false);
            QPainter painter(target);
            PrintMarkerSheets(painter, *target, job, PrintMode::Labels, {});
        });
        QTimer::singleShot(0, &preview, [&] {
            std::printf("first sheet on screen after %lld ms; %s\n", timer.elapsed(), Memory().c_str());
            preview.reject();
        });
        preview.exec();
    } else {
        CMarkerPreviewDlg preview(sheets, {});
        preview.show();
        if (!QTest::qWaitForWindowExposed(&preview)) {
            std::fprintf(stderr, "the preview was never shown\n");
            return 1;
        }
        preview.grab();
        std::printf("first sheet on screen after %lld ms; %s\n", timer.elapsed(), Memory().c_str());
        timer.restart();
        for (long n = 1; n <= nSheets; n += std::max(1L, nSheets / 100)) {
            preview.ShowSheet(static_cast<std::size_t>(n));
            preview.grab();
        }
        std::printf("100 sheets across the job shown in %lld ms; %s\n", timer.elapsed(), Memory().c_str());
    }
    std::printf("preview closed: %s\n", Memory().c_str());
    return 0;
}
