// The sheet view's paint and layout, on the offscreen platform: a full
// repaint of a 15 × 25 sheet with text in every label (the cells' text boxes
// as drawn last, and drawn anew after a zoom change), and the re-layout of
// all cells after a resize.
#include "model/CTAVRODoc.h"
#include "model/Gbk.h"
#include "view/CTAVROView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

CSheet FullSheet()
{
    CSheet sheet;
    sheet.m_format.m_nColumns = CPageFormat::kMaxColumns;
    sheet.m_format.m_nRows = CPageFormat::kMaxRows;
    sheet.m_format.m_dPageWidth = 210.0;
    sheet.m_format.m_dPageHeight = 297.0;
    sheet.m_format.m_dLabelWidth = 12.0;
    sheet.m_format.m_dLabelHeight = 10.0;
    sheet.m_format.Recalc();
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            sheet.m_labels[r][c].m_strText =
                *Utf8ToGbk("线" + std::to_string(r * CPageFormat::kMaxColumns + c + 1) + "\r\nL&N");
    return sheet;
}

// The view inside a shown window, so that its resizes are handled at once;
// the client area of a maximised window on a 1280 × 1024 screen.
struct ShownView
{
    ShownView()
    {
        view.SetSheet(FullSheet());
        window.resize(1280, 1024);
        view.resize(1260, 900);
        window.show();
        QCoreApplication::processEvents();
        view.OnInitialUpdate();
        QCoreApplication::processEvents();
    }
    QWidget window;
    CTAVRODoc doc;
    CTAVROView view{&doc, &window};
};

void BM_FullRepaint(benchmark::State& state)
{
    ShownView shown;
    QImage image(shown.view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        shown.view.render(&painter);
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The first repaint after a zoom change: the pictures of the old zoom,
// scaled, while the exact ones wait for the event loop. Every picture is
// exact at the old zoom before the change.
void BM_FullRepaintAfterZoomChange(benchmark::State& state)
{
    ShownView shown;
    QImage image(shown.view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        QCoreApplication::processEvents();
        shown.view.OnFullPage();
        state.ResumeTiming();
        QPainter painter(&image);
        shown.view.render(&painter);
    }
}
BENCHMARK(BM_FullRepaintAfterZoomChange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A zoom change until every picture is exact again: the first repaint, then
// the event loop draws the exact pictures and repaints them.
void BM_ZoomChangeUntilExact(benchmark::State& state)
{
    ShownView shown;
    QImage image(shown.view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        shown.view.OnFullPage();
        {
            QPainter painter(&image);
            shown.view.render(&painter);
        }
        QCoreApplication::processEvents();
        QPainter painter(&image);
        shown.view.render(&painter);
    }
}
BENCHMARK(BM_ZoomChangeUntilExact)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// In full-page display, where every change of the height changes the zoom.
void BM_RelayoutAfterResize(benchmark::State& state)
{
    ShownView shown;
    shown.view.OnFullPage();
    bool bTall = false;
    for (auto _ : state) {
        bTall = !bTall;
        shown.view.resize(1260, bTall ? 950 : 900);
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_RelayoutAfterResize)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
