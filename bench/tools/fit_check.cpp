// The fit check of a wire-list job against the job itself: 15,000 markers
// of the job benchmarks (bench/tools/JobSheets.h) on 40 sheets, checked
// for markers their labels would cut off, then written as a PDF. Prints the
// median of RUNS runs of each and their ratio. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/tavro_fit_check [RUNS]
#include "JobSheets.h"

#include "print/PdfFile.h"
#include "print/WireListPrint.h"
#include "wirelist/MarkerSheets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

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
    const CSheet sheet = JobSheet();
    const CMarkerList markers = JobMarkers(15000);
    QTemporaryDir dir;
    std::vector<double> checks;
    std::vector<double> jobs;
    std::size_t nClipped = 0;
    for (int run = 0; run < nRuns; ++run) {
        CMarkerSheets sheets(sheet, markers, false);
        QElapsedTimer timer;
        timer.start();
        CPdfPageProbe page;
        nClipped = FindClippedMarkers(sheets, page.Device(), {}).m_nClipped;
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
