// The sheet view's paint and layout, on the offscreen platform: a full
// repaint of a 15 × 25 sheet with text in every label (the cells' text boxes
// as drawn last, and drawn anew after a zoom change), the re-layout of all
// cells after a resize, selecting all, and undo and redo of fills of all
// 375 labels with the memory a thousand such steps hold.
#include "app/CMainController.h"
#include "model/CTAVRODoc.h"
#include "model/Gbk.h"
#include "view/CTAVROView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <fstream>

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
        view.ShowNewSheet();
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

// Selecting every label with none selected before: the model's edit, its
// signals, the cells and the commands' states they update, without the
// repaint that follows (BM_FullRepaint).
void BM_SelectAll(benchmark::State& state)
{
    ShownView shown;
    const CMainController controller(shown.doc, shown.view);
    for (auto _ : state) {
        state.PauseTiming();
        shown.view.Model().Select(SelectionRule::None);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        shown.view.Model().Select(SelectionRule::All);
    }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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

// A fill of every label as one step: texts "W<n>-<step>".
void FillAll(CSheetModel& model, int nStep)
{
    model.EditGrid(
        [nStep](const LabelGrid& grid) {
            for (std::size_t i = 0; i < grid.size(); ++i)
                grid[i]->m_strText = "W" + std::to_string(i + 1) + "-" + std::to_string(nStep);
            return true;
        },
        CSheetModel::Marking::Always, QStringLiteral("设定文字"));
}

// Undo, then redo, of a full-sheet fill, each until the view has repainted
// the changed labels.
void BM_UndoFullSheetFill(benchmark::State& state)
{
    ShownView shown;
    CSheetModel& model = shown.doc.Model();
    FillAll(model, 1);
    QCoreApplication::processEvents();
    const bool bRedo = state.range(0) == 1;
    QUndoStack& stack = model.UndoStack();
    for (auto _ : state) {
        state.PauseTiming();
        if (bRedo ? stack.canUndo() : stack.canRedo()) {
            bRedo ? stack.undo() : stack.redo();
            QCoreApplication::processEvents();
        }
        state.ResumeTiming();
        bRedo ? stack.redo() : stack.undo();
        QCoreApplication::processEvents();
    }
    state.SetLabel(bRedo ? "redo" : "undo");
}
BENCHMARK(BM_UndoFullSheetFill)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Undo of the older of two full-sheet fills: the labels keep aside only the
// pictures the last change replaced, so these are drawn anew.
void BM_UndoOlderFill(benchmark::State& state)
{
    ShownView shown;
    CSheetModel& model = shown.doc.Model();
    FillAll(model, 1);
    FillAll(model, 2);
    QCoreApplication::processEvents();
    QUndoStack& stack = model.UndoStack();
    for (auto _ : state) {
        state.PauseTiming();
        while (stack.canRedo()) {
            stack.redo();
            QCoreApplication::processEvents();
        }
        stack.undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        stack.undo();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_UndoOlderFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t nPages = 0;
    std::size_t nResident = 0;
    statm >> nPages >> nResident;
    return nResident * 4096;
}

// What a thousand full-sheet fills hold in the undo history (resident
// memory grown), reported as the counter history_MB.
void BM_ThousandStepsMemory(benchmark::State& state)
{
    for (auto _ : state) {
        CTAVRODoc doc;
        CSheet sheet = FullSheet();
        doc.Model().Load(sheet);
        const std::size_t nBefore = ResidentBytes();
        for (int i = 0; i < 1000; ++i)
            FillAll(doc.Model(), i);
        state.counters["history_MB"] = double(ResidentBytes() - nBefore) / (1 << 20);
        state.counters["steps"] = doc.Model().UndoStack().count();
    }
}
BENCHMARK(BM_ThousandStepsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

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
