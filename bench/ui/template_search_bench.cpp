// One key typed into the search box of the sheet type dialog's template
// page, with the installed collection: the search, the list's model reset
// and its repaint, as the user waits for them between two keys.
#include "sheets/CTemplatePane.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace {

void BM_TemplatePaneSearchKey(benchmark::State& state, const char* query)
{
    qputenv("XDG_DATA_DIRS", "/usr/share");
    CTemplatePane pane;
    pane.resize(860, 420);
    pane.show();
    pane.Load();
    auto* search = pane.findChild<QLineEdit*>(QStringLiteral("editTemplateSearch"));
    auto* view = pane.findChild<QTableView*>(QStringLiteral("viewTemplates"));
    if (!search || !view || view->model()->rowCount() == 0) {
        state.SkipWithError("no template collection (apt install glabels-data)");
        return;
    }
    QApplication::processEvents();
    const QString strQuery = QString::fromUtf8(query);
    // The query, then one character fewer, so every iteration is one key.
    bool bWhole = false;
    for (auto _ : state) {
        bWhole = !bWhole;
        search->setText(bWhole ? strQuery : strQuery.chopped(1));
        view->viewport()->repaint();
    }
    state.counters["rows"] = view->model()->rowCount();
}
BENCHMARK_CAPTURE(BM_TemplatePaneSearchKey, brand, "avery")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TemplatePaneSearchKey, size, "45.7x21.2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TemplatePaneSearchKey, first_key, "a")->Unit(benchmark::kMillisecond);

} // namespace
