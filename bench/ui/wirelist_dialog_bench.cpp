// Opening the wire list import dialog on a list of 100,000 rows: the time
// until its table shows the first rows (the dialog built and shown, events
// processed once), and the time to read the whole list and count its
// markers, which follows once the dialog is on screen.
#include "wirelist/CWireListDlg.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString HundredThousandRows(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("wires.csv"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("线号,起点,终点\n");
        for (int i = 1; i <= 100000; ++i)
            file.write(QStringLiteral("W%1,X1:%2,K%3:A1\n")
                           .arg(i, 6, 10, QLatin1Char('0'))
                           .arg(i % 40)
                           .arg(i % 7)
                           .toUtf8());
    }
    return path;
}

// With bWholeList, also the reading of the whole list that the dialog posts
// to itself, up to the count of markers and sheets.
void OpenDialog(benchmark::State& state, bool bWholeList)
{
    QTemporaryDir dir;
    const QString path = HundredThousandRows(dir);
    const CSheet sheet;
    for (auto _ : state) {
        CWireListDlg dialog(path, sheet, 0, 0,
                            [](const std::vector<std::string>&) { return std::size_t{0}; });
        dialog.show();
        if (bWholeList)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        benchmark::DoNotOptimize(dialog.CountText());
        state.PauseTiming();
        dialog.hide();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        state.ResumeTiming();
    }
}

void BM_WireListDialogFirstRows(benchmark::State& state)
{
    OpenDialog(state, false);
}
BENCHMARK(BM_WireListDialogFirstRows)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_WireListDialogWholeListCounted(benchmark::State& state)
{
    OpenDialog(state, true);
}
BENCHMARK(BM_WireListDialogWholeListCounted)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
