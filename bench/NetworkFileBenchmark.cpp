// Saving and loading a network at every capacity: 1000 nodes, 1000 pipes with 5
// fitting types each, 1000 loops of 20 pipes and 100 free texts. Each must stay
// well under 50 ms on a plain desktop machine.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "common/FullNetwork.h"
#include "model/VM4_Network_Class.h"

namespace {

TNetwork& fullNetwork() {
    static const std::unique_ptr<TNetwork> network = [] {
        auto built = std::make_unique<TNetwork>();
        BuildFullNetwork(*built);
        return built;
    }();
    return *network;
}

void SaveFullNetwork(benchmark::State& state) {
    TNetwork& network = fullNetwork();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string saved = network.SaveToBytes();
        bytes = saved.size();
        benchmark::DoNotOptimize(saved.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void LoadFullNetwork(benchmark::State& state) {
    const std::string saved = fullNetwork().SaveToBytes();
    auto network = std::make_unique<TNetwork>();
    for (auto _ : state) {
        network->LoadFromBytes(saved);
        benchmark::DoNotOptimize(network->GetPipeCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * saved.size()));
}

// The fixed cost of a load, whatever the file holds: the document and the
// scratch image are cleared and filled whole.
void LoadEmptyNetwork(benchmark::State& state) {
    auto network = std::make_unique<TNetwork>();
    const std::string saved = network->SaveToBytes();
    for (auto _ : state) {
        network->LoadFromBytes(saved);
        benchmark::DoNotOptimize(network->GetPipeCount());
    }
}

}  // namespace

BENCHMARK(LoadEmptyNetwork)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveFullNetwork)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFullNetwork)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
