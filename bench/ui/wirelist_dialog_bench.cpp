// Opening the wire list import dialog on a list of 100,000 rows: the time
// until it stands on screen, and the time to read the whole list, show its
// first rows and count its markers, which follows once the dialog is up;
// then the same for a list of one row of a million cells.
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

QString MillionCellRow(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("wide.csv"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray row;
        for (int i = 0; i < 1000000; ++i)
            row += "W,";
        row.back() = '\n';
        file.write(row);
    }
    return path;
}

// With bWholeList, also the reading of the whole list that the dialog posts
// to itself, up to the count of markers and sheets.
void OpenDialog(benchmark::State& state, bool bWholeList, QString (*makeList)(const QTemporaryDir&))
{
    QTemporaryDir dir;
    const QString path = makeList(dir);
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

void BM_WireListDialogShown(benchmark::State& state)
{
    OpenDialog(state, false, HundredThousandRows);
}
BENCHMARK(BM_WireListDialogShown)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WireListDialogWholeListCounted(benchmark::State& state)
{
    OpenDialog(state, true, HundredThousandRows);
}
BENCHMARK(BM_WireListDialogWholeListCounted)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_WireListDialogMillionCellRow(benchmark::State& state)
{
    OpenDialog(state, true, MillionCellRow);
}
BENCHMARK(BM_WireListDialogMillionCellRow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
