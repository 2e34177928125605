// The fit check of a wire-list job against the job itself: 15,000 markers
// (Latin, Chinese, one and two lines) on 40 sheets of 15 × 25 labels, checked
// for markers their labels would cut off, then written as a PDF. Prints the
// median of RUNS runs of each and their ratio. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/tavro_fit_check [RUNS]
#include "model/Gbk.h"
#include "print/PdfFile.h"
#include "print/WireListPrint.h"
#include "wirelist/MarkerSheets.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

CSheet FullSheet()
{
    CSheet sheet;
    sheet.m_format.m_nColumns = 15;
    sheet.m_format.m_nRows = 25;
    sheet.m_format.m_dLabelWidth = 12;
    sheet.m_format.m_dLabelHeight = 10;
    sheet.m_format.Recalc();
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_nFontHeight = -8;
    return sheet;
}

CMarkerList Markers()
{
    const char* words[] = {"电机", "水泵", "火警", "黄绿", "用电"};
    CMarkerList markers;
    for (int n = 1; n <= 15000; ++n) {
        char text[64];
        if (n % 7 == 0)
            std::snprintf(text, sizeof text, "W%05d\r\n%s", n, words[n % 5]);
        else if (n % 5 == 0)
            std::snprintf(text, sizeof text, "%s%d", words[n % 5], n);
        else
            std::snprintf(text, sizeof text, "W%05d", n);
        markers.m_runs.push_back({*Utf8ToGbk(text), 1, static_cast<std::uint32_t>(n)});
    }
    markers.m_nTotal = 15000;
    return markers;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const CSheet sheet = FullSheet();
    const CMarkerList markers = Markers();
    QTemporaryDir dir;
    std::vector<double> checks;
    std::vector<double> jobs;
    std::size_t nClipped = 0;
    for (int run = 0; run < nRuns; ++run) {
        CMarkerSheets sheets(sheet, markers, false);
        QElapsedTimer timer;
        timer.start();
        QBuffer sink;
        QPdfWriter page(&sink);
        page.setResolution(kPdfDotsPerInch);
        nClipped = FindClippedMarkers(sheets, page, {}).m_nClipped;
        checks.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        QString error;
        ExportMarkerSheetsPdf(dir.filePath(QStringLiteral("job.pdf")), sheets, PrintMode::Labels, {}, error);
        jobs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("15,000 markers on %zu sheets, %zu cut off\n",
                CMarkerSheets(sheet, markers, false).SheetCount(), nClipped);
    std::printf("fit check %.1f ms, job %.1f ms (medians of %d): the check is %.1f %% of the job\n",
                Median(checks), Median(jobs), nRuns, 100.0 * Median(checks) / Median(jobs));
    return 0;
}
