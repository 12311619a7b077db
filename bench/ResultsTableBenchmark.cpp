// Filling the results window's grid with the tables of a full network (1000
// nodes, 1000 pipes with every fitting slot used, a pump on each) and painting
// it. A tab change refills the whole grid, so it must feel immediate: well under
// 100 ms for the longest table. The core's own filling into an in-memory grid is
// measured beside it, to show what the widget adds.
#include <QApplication>
#include <QPixmap>
#include <QTabBar>
#include <benchmark/benchmark.h>

#include <memory>

#include "common/FullNetwork.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_MemoryGrid.h"
#include "results/VM4_ResultsGrid.h"

namespace {

class TSilentBoxes : public IMessageBoxes {
public:
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    TYesNoCancel AskYesNoCancel(const std::string&) override { return TYesNoCancel::Cancel; }
};

class TNoFileDialogs : public IFileDialogs {
public:
    std::optional<std::string> AskOpenFileName(const TFileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> AskSaveFileName(const TFileDialogRequest&) override { return std::nullopt; }
};

TNetwork& FullNetwork() {
    static const std::unique_ptr<TNetwork> network = [] {
        auto built = std::make_unique<TNetwork>();
        BuildFullNetwork(*built);
        return built;
    }();
    return *network;
}

// The tab refilled as a tab change does it, then the window painted once.
void RefillAndPaintTab(benchmark::State& state) {
    TSilentBoxes boxes;
    TNoFileDialogs dialogs;
    TFormResults form(boxes, dialogs);
    form.resize(1200, 800);
    form.FillResultsTable(FullNetwork());
    form.findChild<QTabBar*>()->setCurrentIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        form.RefillCurrentTab();
        const QPixmap picture = form.grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
    state.counters["rows"] = form.Grid().RowCount();
}

void FillCoreTableOnly(benchmark::State& state) {
    TMemoryGrid grid(26, 2000);
    int rows = 0;
    for (auto _ : state) {
        grid.ClearCells();
        if (state.range(0) == TFormResults::AllResultsTab)
            FullNetwork().PopulateStringGridAllResults(grid);
        else
            FullNetwork().PopulateStringGridPipeResults(grid, 0);
        rows = grid.RowCount();
    }
    state.counters["rows"] = rows;
}

BENCHMARK(RefillAndPaintTab)->Arg(TFormResults::PipesTab)->Arg(TFormResults::AllResultsTab)->Unit(benchmark::kMillisecond);
BENCHMARK(FillCoreTableOnly)->Arg(TFormResults::PipesTab)->Arg(TFormResults::AllResultsTab)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
