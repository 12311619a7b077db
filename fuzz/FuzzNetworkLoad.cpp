// libFuzzer target for network file loading and solving. Any input must either
// load or be refused with an EVelmoraError that leaves the document cleared; a
// loaded network must save to a file that loads again and saves to the same
// bytes, and then solve (with small iteration limits, so that a run stays
// fast) without crashing and without calling non-finite numbers solved.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Network_Class.h"

namespace {

[[noreturn]] void failInvariant(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool isCleared(const TNetwork& network) {
    return network.GetNodeCount() == 0 && network.GetPipeCount() == 0 && network.GetNodeLinkCount() == 0 &&
           network.GetClosedPipeLinkCount() == 0 && network.GetPipeLoopCount() == 0 &&
           network.GetFreeTextCount() == 0;
}

// Enough for the small networks the fuzzer makes to solve; a larger one is only loaded.
constexpr std::int32_t kMaxPipesSolved = 60;
constexpr std::int32_t kMaxIterations = 25;

void limitIterations(TNetworkSettings& settings) {
    settings.MaxIterationsApproxSolution = std::min(settings.MaxIterationsApproxSolution, kMaxIterations);
    settings.MaxIterationsFinalSolution = std::min(settings.MaxIterationsFinalSolution, kMaxIterations);
}

bool isFinite(double x) { return std::isfinite(x); }

// Every open pipe's results and every node pressure the solve set are numbers.
void requireFiniteResults(const TNetwork& network) {
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TPipe& pipe = network.GetPipe(network.GetNodeLink(k).PipeId);
        if (!isFinite(pipe.FlowUncompressed_m3s) || !isFinite(pipe.Velocity_ms) ||
            !isFinite(pipe.TotalPressureLoss_mHd_Fluid)) {
            failInvariant("a solved network has a non-finite pipe result");
        }
    }
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        if (node.IsPressureSet && !isFinite(node.Pressure_FluidHead_m)) {
            failInvariant("a solved network has a non-finite node pressure");
        }
    }
}

void solveAndCheck(TNetwork& network) {
    if (!network.IsNetworkOkToCalculate() || network.GetNodeLinkCount() > kMaxPipesSolved) return;
    limitIterations(network.Settings);
    std::vector<std::string> log;
    // The solve never raises; nobody is asked anything (no pipe is reversed).
    if (network.SolveNetwork(log)) requireFiniteResults(network);
}

// One document for the whole run: it is large, and the editor reuses one too.
TNetwork& sharedNetwork() {
    static TNetwork* network = new TNetwork();
    return *network;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TNetwork& network = sharedNetwork();
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        network.LoadFromBytes(input);
    } catch (const EVelmoraError&) {
        if (!isCleared(network)) failInvariant("a refused file left the document partly loaded");
        return 0;
    }
    const std::string firstSave = network.SaveToBytes();
    try {
        network.LoadFromBytes(firstSave);
    } catch (const EVelmoraError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        failInvariant("a saved network does not load again");
    }
    if (network.SaveToBytes() != firstSave) failInvariant("saving a reloaded network changed its bytes");
    solveAndCheck(network);
    return 0;
}
