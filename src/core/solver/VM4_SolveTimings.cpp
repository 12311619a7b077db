#include "solver/VM4_SolveTimings.h"

TSolveTimings::TDuration TSolveTimings::Total() const {
    TDuration total{};
    for (const TDuration elapsed : Elapsed) total += elapsed;
    return total;
}

void TSolveTimings::Clear() {
    Elapsed.fill(TDuration{});
    Runs.fill(0);
}

void TSolveTimings::Add(TSolvePhase phase, TDuration elapsed) {
    ElapsedIn(phase) += elapsed;
    ++Runs[static_cast<std::size_t>(phase)];
}

const char* TSolveTimings::PhaseName(TSolvePhase phase) {
    switch (phase) {
        case TSolvePhase::Preparation: return "preparation";
        case TSolvePhase::LoopGeneration: return "loop generation";
        case TSolvePhase::StartEstimates: return "start flow estimates";
        case TSolvePhase::EquationGeneration: return "equation generation";
        case TSolvePhase::NewtonApproximate: return "Newton, approximate phase";
        case TSolvePhase::NewtonRefining: return "Newton, refining phase";
        case TSolvePhase::PressureRecovery: return "pressure recovery";
        case TSolvePhase::Finish: return "finish";
        case TSolvePhase::ResultChecks: return "result checks";
    }
    return "";
}
