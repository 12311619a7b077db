// The solver at sizes up to the program's capacity, on the plain reference
// algorithms and on the fast ones: square grids of join points fed by three tanks
// and drained by an end pressure node and by demands at every third join point,
// of about 50, 200, 500 and 950 pipes, which the solver solves. For each size:
//   LoopGeneration  - the loop table emptied and generated again
//   NewtonIteration - one step of the Newton loop on the first attempt's system:
//                     Jacobian, elimination, back substitution, new flows, residuals
//   SolveNetwork    - the whole solve (TNetwork::SolveNetwork)
// then the loop generation of a network using every node and link slot (1000
// nodes, 1000 links), and the whole solve of grids with two tanks and two end
// pressure nodes, which is not solved above about 60 pipes: both passes of the
// ladder of start velocities run, 200 attempts. The argument of each run is the
// grid's pipe count.
//
// The reference path takes seconds per solve at 950 pipes, and a minute and a
// half for the unsolved grid: run a filter, e.g.
//   build/bin/solver_benchmark --benchmark_filter=Fast
//   build/bin/solver_benchmark --benchmark_filter='Fast|Reference/pipes:(50|200)$'
//   build/bin/solver_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"
#include "solver/RandomNetworks.h"

namespace {

constexpr std::int32_t kGridPipeCounts[] = {50, 200, 500, 950};

// One document per grid size and kind, built once and reused by every run.
TNetwork& gridNetwork(std::int32_t pipeCount, bool solved = true) {
    static std::map<std::pair<std::int32_t, bool>, std::unique_ptr<TNetwork>> networks;
    std::unique_ptr<TNetwork>& network = networks[{pipeCount, solved}];
    if (!network) {
        network = std::make_unique<TNetwork>();
        BuildGridNetwork(*network, solved ? SolvedGridSpecForPipes(pipeCount) : GridSpecForPipes(pipeCount));
    }
    return *network;
}

// Every node and link slot in use, in ten separate parts with tanks, end nodes,
// parallel pipes and links from a node to itself.
TNetwork& fullCapacityNetwork() {
    static const std::unique_ptr<TNetwork> network = [] {
        auto built = std::make_unique<TNetwork>();
        BuildRandomNetwork(*built, FullCapacityPlan());
        return built;
    }();
    return *network;
}

void usePath(TNetwork& network, TSolverPath path) {
    network.SolverPath = path;
}

void generateLoops(benchmark::State& state, TNetwork& network, TSolverPath path) {
    usePath(network, path);
    for (auto _ : state) {
        network.PipeLoopsRemoveAllLoops();
        network.PipeLoopsGenerateAllLoops();
        benchmark::DoNotOptimize(network.GetPipeLoopCount());
    }
    state.counters["loops"] = network.GetPipeLoopCount();
    state.counters["links"] = network.GetNodeLinkCount();
}

void LoopGeneration(benchmark::State& state, TSolverPath path) {
    generateLoops(state, gridNetwork(static_cast<std::int32_t>(state.range(0))), path);
}

void LoopGenerationFullCapacity(benchmark::State& state, TSolverPath path) {
    generateLoops(state, fullCapacityNetwork(), path);
}

// The system of the first attempt: loops, start flows from the ladder's first
// velocity, equations, and the residuals at the start flows.
void prepareFirstAttempt(TNetwork& network) {
    network.PipeLoopsRemoveAllLoops();
    network.PipeLoopsGenerateAllLoops();
    network.FillDischargeVelocityEstimates();
    network.SetAllInitialFlowGuesses(network.DischargeVelocityEstimates[1]);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        TPipe& pipe = network.GetPipe(network.GetNodeLink(k).PipeId);
        pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
    }
    network.MatrixEquationsGenerate();
    bool ok = false;
    network.MatrixEquations.CalculateF(ok);
}

void NewtonIteration(benchmark::State& state, TSolverPath path) {
    TNetwork& network = gridNetwork(static_cast<std::int32_t>(state.range(0)));
    usePath(network, path);
    TMatrixEquations& engine = network.MatrixEquations;
    std::vector<std::string> log;
    std::string message;
    for (auto _ : state) {
        state.PauseTiming();
        prepareFirstAttempt(network);
        log.clear();
        state.ResumeTiming();
        bool ok = false;
        std::int32_t errorCode = 0;
        engine.SolveQDeltas(ok, errorCode, log, message);
        engine.SubtractQDeltasFromQVariables(engine.DeltaQFactorCurrent);
        bool accurate = false;
        long double size = 0.0L;
        engine.CalculateAndCheckFAccurate(ok, accurate, size);
        benchmark::DoNotOptimize(size);
    }
    state.counters["unknowns"] = engine.NumberOfQVariables;
    state.counters["equations"] = engine.NumberOfEquations;
}

void solveNetwork(benchmark::State& state, TNetwork& network, TSolverPath path) {
    usePath(network, path);
    bool solved = false;
    for (auto _ : state) {
        std::vector<std::string> log;
        solved = network.SolveNetwork(log);
        benchmark::DoNotOptimize(log.data());
    }
    state.counters["solved"] = solved ? 1 : 0;
    state.counters["attempts"] = network.getIterationCountTotal();
}

void SolveNetwork(benchmark::State& state, TSolverPath path) {
    solveNetwork(state, gridNetwork(static_cast<std::int32_t>(state.range(0))), path);
}

void SolveUnsolvedGrid(benchmark::State& state, TSolverPath path) {
    solveNetwork(state, gridNetwork(static_cast<std::int32_t>(state.range(0)), false), path);
}

void gridSizes(benchmark::internal::Benchmark* benchmark) {
    for (const std::int32_t pipes : kGridPipeCounts) benchmark->Arg(pipes);
    benchmark->ArgName("pipes")->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK_CAPTURE(LoopGeneration, Reference, TSolverPath::Reference)->Apply(gridSizes);
BENCHMARK_CAPTURE(LoopGeneration, Fast, TSolverPath::Fast)->Apply(gridSizes);
BENCHMARK_CAPTURE(LoopGenerationFullCapacity, Reference, TSolverPath::Reference)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoopGenerationFullCapacity, Fast, TSolverPath::Fast)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NewtonIteration, Reference, TSolverPath::Reference)->Apply(gridSizes);
BENCHMARK_CAPTURE(NewtonIteration, Fast, TSolverPath::Fast)->Apply(gridSizes);
BENCHMARK_CAPTURE(SolveNetwork, Reference, TSolverPath::Reference)->Apply(gridSizes);
BENCHMARK_CAPTURE(SolveNetwork, Fast, TSolverPath::Fast)->Apply(gridSizes);
BENCHMARK_CAPTURE(SolveUnsolvedGrid, Reference, TSolverPath::Reference)->Apply(gridSizes);
BENCHMARK_CAPTURE(SolveUnsolvedGrid, Fast, TSolverPath::Fast)->Apply(gridSizes);

BENCHMARK_MAIN();
