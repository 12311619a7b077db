#include "solver/VM4_CalculationLog.h"

namespace {

const char* const kLogRule = "----------------------------------------------------";
const char* const kLogTitle = "Velmora Studio - Results Log";
const char* const kGenerating = "Generating Network equations...";
const char* const kSolving = "Solving Network equations...";

const char* const kNotSolved = "Network was not solved.";
const char* const kToleranceTooSmall = "Final Pressure balance tolerance may be too small for this system to be solved.";
const char* const kToleranceNote =
    "NOTE: It is not normally necessary to adjust the configuration options related to the system calculations, "
    "however in a very finely balanced system, it may be necessary to do so.";
const char* const kToleranceHeading = "Adjusting the final pressure balance tolerance under calculations options:";
const char* const kToleranceAdvice =
    "If a solution can be found with a larger final pressure balance tolerance then note the velocity at several "
    "discharge points and reconfigure the minimum and maximum discharge estimates that are specified under "
    "calculations options (such that these bound the range of discharge velocities found in the less accurate "
    "solution). Specifying a shorter range for the minimum and maximum discharge velocity estimates (provided the "
    "range bounds the final solution) may allow the program to converge to an accurate solution for the original "
    "lower final pressure balance tolerance (or some suitable tolerance that provides for a sufficiently accurate "
    "solution.";

}  // namespace

void AppendResultsLogHeader(std::vector<std::string>& log) {
    log.insert(log.end(), {kLogRule, kLogTitle, kLogRule, kGenerating, kSolving});
}

void AppendNotSolvedLines(std::vector<std::string>& log, bool refinementFailed) {
    log.insert(log.end(), {" ", kNotSolved});
    if (!refinementFailed) return;
    log.insert(log.end(), {" ", kToleranceTooSmall, " ", kToleranceNote, " ", kToleranceHeading, kToleranceAdvice});
}
