#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

// Where the time of a solve goes, phase by phase, for whoever wants to know (the
// command-line tool's --timing). The solve fills a record only when one is
// attached to the network; without one the phase timers do nothing at all.
enum class TSolvePhase : std::uint8_t {
    Preparation,         // held flows out of the link table, the ladder of start velocities
    LoopGeneration,      // loops and paths, at the start and after each reversal
    StartEstimates,      // start flows from each attempt's velocity
    EquationGeneration,  // the equation system, before each Newton loop
    NewtonApproximate,   // Newton loops of the approximate phase
    NewtonRefining,      // Newton loops of the refining phase
    PressureRecovery,    // node pressures from the solved flows
    Finish,              // held flows back, their pressure drops and heads, the summary
    ResultChecks,        // the review of the network and its results after the solve
};

struct TSolveTimings {
    static constexpr std::size_t PhaseCount = 9;
    using TDuration = std::chrono::steady_clock::duration;

    std::array<TDuration, PhaseCount> Elapsed{};
    std::array<std::int32_t, PhaseCount> Runs{};  // how often each phase ran

    TDuration& ElapsedIn(TSolvePhase phase) { return Elapsed[static_cast<std::size_t>(phase)]; }
    TDuration ElapsedIn(TSolvePhase phase) const { return Elapsed[static_cast<std::size_t>(phase)]; }
    std::int32_t RunsOf(TSolvePhase phase) const { return Runs[static_cast<std::size_t>(phase)]; }
    TDuration Total() const;
    void Clear();
    void Add(TSolvePhase phase, TDuration elapsed);

    // The phase as the timing report names it, e.g. "loop generation".
    static const char* PhaseName(TSolvePhase phase);
};

// Adds the time from its construction to its destruction to one phase of the
// record, if there is a record.
class TPhaseTimer {
public:
    TPhaseTimer(TSolveTimings* timings, TSolvePhase phase)
        : timings_(timings), phase_(phase),
          start_(timings != nullptr ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{}) {}
    ~TPhaseTimer() {
        if (timings_ != nullptr) timings_->Add(phase_, std::chrono::steady_clock::now() - start_);
    }
    TPhaseTimer(const TPhaseTimer&) = delete;
    TPhaseTimer& operator=(const TPhaseTimer&) = delete;

private:
    TSolveTimings* timings_;
    TSolvePhase phase_;
    std::chrono::steady_clock::time_point start_;
};
