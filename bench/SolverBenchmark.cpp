// The solver at sizes up to the program's capacity: square grids of join points
// fed by three tanks and drained by an end pressure node and by demands at every
// third join point, of about 50, 200, 500 and 1000 pipes, and an irregular grid
// of 930 pipes (streets closed at random, pipes of random diameters, random
// demands, three tanks and three end pressure nodes). For each:
//   LoopGeneration  - the loop table emptied and generated again
//   NewtonIteration - one step of the Newton loop on the first attempt's system:
//                     Jacobian, factorization, solve, new flows, residuals, with
//                     the factorization's analysis reused as every step but the
//                     first of a generated system does
//   NewtonFirstStep - the same step right after the equations are generated,
//                     with the analysis (column order, pivots, pattern) afresh
//   SolveNetwork    - the whole solve (TNetwork::SolveNetwork), with the time and
//                     the Newton calculations of the two phases as counters
// then the loop generation of a network using every node and link slot (1000
// nodes, 1000 links), and the whole solve of grids with two tanks and two end
// pressure nodes. The argument of each run is the grid's pipe count (0 for the
// irregular grid).
//
//   build/bin/solver_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"
#include "solver/RandomNetworks.h"
#include "solver/VM4_SolveTimings.h"

namespace {

constexpr std::int32_t kGridPipeCounts[] = {50, 200, 500, 1000};
constexpr std::int32_t kIrregularGrid = 0;
constexpr std::uint32_t kIrregularGridSeeds = 10;
constexpr double kClosedStreetShare = 0.1;

// A 22 x 22 grid (930 pipes) with about one street in ten closed, three tanks and three end
// pressure nodes, random diameters and demands; the same every run.
void buildIrregularGrid(TNetwork& network, std::uint32_t seed, double closedShare) {
    std::mt19937 random(seed);
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    TGridSpec plan;
    plan.Columns = 22;
    plan.Rows = 22;
    plan.Tanks = 3;
    plan.EndPressureNodes = 3;
    plan.TankPressure_bar_g = 10.0;
    BuildGridNetwork(network, plan);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        TNode& node = network.GetNode(id);
        if (node.NodeType == TNodeType::JoinPoint) node.JointDischarge_m3s = uniform(0.0, 0.0004);
    }
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k)
        network.GetPipe(network.GetNodeLink(k).PipeId).InnerDiameter_m = uniform(0.08, 0.3);
    // Grid pipes only: the feeds come first and the drains last.
    std::vector<std::int32_t> closing;
    for (std::int32_t k = plan.Tanks + 1; k <= network.GetNodeLinkCount() - plan.EndPressureNodes; ++k)
        if (uniform(0.0, 1.0) < closedShare) closing.push_back(network.GetNodeLink(k).PipeId);
    for (const std::int32_t pipeId : closing) network.RemoveNodeLinkAddClosedPipeLink(pipeId);
}

void prepareFirstAttempt(TNetwork& network);

bool generatesEquations(TNetwork& network) {
    try {
        prepareFirstAttempt(network);
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
}

// The first irregular grid, by seed, for which the loop search finds a full set
// of equations; when there is none (the loop search misses loops on such
// grids), the grid with random diameters and demands but no street closed.
std::unique_ptr<TNetwork> irregularGridWithEquations() {
    for (std::uint32_t seed = 1; seed <= kIrregularGridSeeds; ++seed) {
        auto network = std::make_unique<TNetwork>();
        buildIrregularGrid(*network, seed, kClosedStreetShare);
        if (generatesEquations(*network)) return network;
    }
    std::fprintf(stderr, "irregular grid: none with closed streets has its equations; none closed\n");
    auto network = std::make_unique<TNetwork>();
    buildIrregularGrid(*network, 1, 0.0);
    if (!generatesEquations(*network)) throw std::runtime_error("no irregular grid with a full set of equations");
    return network;
}

// One document per grid size and kind, built once and reused by every run.
TNetwork& gridNetwork(std::int32_t pipeCount, bool solved = true) {
    static std::map<std::pair<std::int32_t, bool>, std::unique_ptr<TNetwork>> networks;
    std::unique_ptr<TNetwork>& network = networks[{pipeCount, solved}];
    if (!network) {
        network = std::make_unique<TNetwork>();
        if (pipeCount == kIrregularGrid) {
            network = irregularGridWithEquations();
        } else {
            BuildGridNetwork(*network, solved ? SolvedGridSpecForPipes(pipeCount) : GridSpecForPipes(pipeCount));
        }
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

void generateLoops(benchmark::State& state, TNetwork& network) {
    for (auto _ : state) {
        network.PipeLoopsRemoveAllLoops();
        network.PipeLoopsGenerateAllLoops();
        benchmark::DoNotOptimize(network.GetPipeLoopCount());
    }
    state.counters["loops"] = network.GetPipeLoopCount();
    state.counters["links"] = network.GetNodeLinkCount();
}

void LoopGeneration(benchmark::State& state) {
    generateLoops(state, gridNetwork(static_cast<std::int32_t>(state.range(0))));
}

void LoopGenerationFullCapacity(benchmark::State& state) {
    generateLoops(state, fullCapacityNetwork());
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

// Jacobian, factorization, solve, new flows (at the refining phase's step
// factor) and residuals.
void newtonStep(TMatrixEquations& engine, std::vector<std::string>& log, std::string& message) {
    bool ok = false;
    std::int32_t errorCode = 0;
    engine.SolveQDeltas(ok, errorCode, log, message);
    engine.SubtractQDeltasFromQVariables(engine.DeltaQReductionFactor);
    bool accurate = false;
    long double size = 0.0L;
    engine.CalculateAndCheckFAccurate(ok, accurate, size);
    benchmark::DoNotOptimize(size);
}

void countSystem(benchmark::State& state, const TMatrixEquations& engine) {
    state.counters["unknowns"] = engine.NumberOfQVariables;
    state.counters["equations"] = engine.NumberOfEquations;
    state.counters["factorEntries"] = engine.FactorEntryCount();
}

// A step as all but the first of a Newton loop make it: the factorization's
// analysis is there already and only its numbers change. Each step starts from
// the start flows with their residuals evaluated, as a step starts from the
// residuals of the one before: repeated from where it ends, the steps would
// converge and find every friction factor already known.
void NewtonIteration(benchmark::State& state) {
    TNetwork& network = gridNetwork(static_cast<std::int32_t>(state.range(0)));
    TMatrixEquations& engine = network.MatrixEquations;
    std::vector<std::string> log;
    std::string message;
    prepareFirstAttempt(network);
    std::vector<long double> startFlows;
    for (std::int32_t j = 1; j <= engine.NumberOfQVariables; ++j) startFlows.push_back(engine.QVariables[j]);
    newtonStep(engine, log, message);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::int32_t j = 1; j <= engine.NumberOfQVariables; ++j) engine.QVariables[j] = startFlows[j - 1];
        bool ok = false;
        engine.CalculateF(ok);
        state.ResumeTiming();
        newtonStep(engine, log, message);
    }
    countSystem(state, engine);
}

// The first step after the equations are generated: the column order, the
// pivots and the factors' pattern are found afresh.
void NewtonFirstStep(benchmark::State& state) {
    TNetwork& network = gridNetwork(static_cast<std::int32_t>(state.range(0)));
    TMatrixEquations& engine = network.MatrixEquations;
    std::vector<std::string> log;
    std::string message;
    for (auto _ : state) {
        state.PauseTiming();
        prepareFirstAttempt(network);
        log.clear();
        state.ResumeTiming();
        newtonStep(engine, log, message);
    }
    countSystem(state, engine);
}

double milliseconds(TSolveTimings::TDuration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The Newton calculations of the last phase the log reports as found with
// `verdict` ("Found Approximate Solution (" or "Found Accurate Solution ("), 0 if none.
double calculationsFound(const std::vector<std::string>& log, const std::string& verdict) {
    for (auto line = log.rbegin(); line != log.rend(); ++line)
        if (line->rfind(verdict, 0) == 0) return std::stod(line->substr(verdict.size()));
    return 0.0;
}

void solveNetwork(benchmark::State& state, TNetwork& network) {
    TSolveTimings timings;
    network.SolveTimings = &timings;
    bool solved = false;
    std::int64_t runs = 0;
    std::vector<std::string> log;
    for (auto _ : state) {
        log.clear();
        solved = network.SolveNetwork(log);
        benchmark::DoNotOptimize(log.data());
        ++runs;
    }
    network.SolveTimings = nullptr;
    const auto perRun = [runs](TSolveTimings::TDuration duration) { return milliseconds(duration) / static_cast<double>(runs); };
    state.counters["solved"] = solved ? 1 : 0;
    state.counters["attempts"] = network.getIterationCountTotal();
    state.counters["links"] = network.GetNodeLinkCount();
    state.counters["approx_ms"] = perRun(timings.ElapsedIn(TSolvePhase::NewtonApproximate));
    state.counters["refine_ms"] = perRun(timings.ElapsedIn(TSolvePhase::NewtonRefining));
    state.counters["approx_steps"] = calculationsFound(log, "Found Approximate Solution (");
    state.counters["refine_steps"] = calculationsFound(log, "Found Accurate Solution (");
}

void SolveNetwork(benchmark::State& state) {
    solveNetwork(state, gridNetwork(static_cast<std::int32_t>(state.range(0))));
}

void SolveTwoEndNodeGrid(benchmark::State& state) {
    solveNetwork(state, gridNetwork(static_cast<std::int32_t>(state.range(0)), false));
}

void gridSizes(benchmark::internal::Benchmark* benchmark) {
    for (const std::int32_t pipes : kGridPipeCounts) benchmark->Arg(pipes);
    benchmark->Arg(kIrregularGrid);
    benchmark->ArgName("pipes")->Unit(benchmark::kMillisecond);
}

void squareGridSizes(benchmark::internal::Benchmark* benchmark) {
    for (const std::int32_t pipes : kGridPipeCounts) benchmark->Arg(pipes);
    benchmark->ArgName("pipes")->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(LoopGeneration)->Apply(gridSizes);
BENCHMARK(LoopGenerationFullCapacity)->Unit(benchmark::kMillisecond);
BENCHMARK(NewtonIteration)->Apply(gridSizes);
BENCHMARK(NewtonFirstStep)->Apply(gridSizes);
BENCHMARK(SolveNetwork)->Apply(gridSizes);
BENCHMARK(SolveTwoEndNodeGrid)->Apply(squareGridSizes);

BENCHMARK_MAIN();
