#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

class TNetwork;
struct TSolveTimings;

// velmora-cli solve FILE.vme [--reverse=no|yes] [--json FILE] [--save OUT.vme] [--timing]
//                           [--table NAME[,NAME...]]

struct TSolveOptions {
    std::string NetworkFile;
    bool ReversePipes = false;  // the answer to every pipe reversal question
    std::string JsonFile;       // empty: no JSON
    std::string SaveFile;       // empty: the solved network is not saved
    bool Timing = false;        // the time of the solve and its phases on the error stream
    // Tables (names of the table command) printed as text after the results log.
    std::vector<std::string> Tables;
};

// False, with the reason in `problem`, for arguments that do not make a call.
bool ParseSolveArguments(const std::vector<std::string>& arguments, TSolveOptions& options, std::string& problem);

// A calculation as the Calculate command runs it: the results log header, the
// solve, and the result checks with the verdict's advice, all appended to the
// log. The answer is the verdict after the checks. A network with no open
// pipe or no node is not calculated (the user is told) and is not solved.
bool CalculateNetwork(TNetwork& network, std::vector<std::string>& log);

// The results as JSON text: {"solved", "warnings", "nodes": [...], "pipes": [...],
// "log": [...]}, nodes and pipes in id order, SI values (pressures are metres of
// the fluid, gauge). Each pipe carries its component's and its flow control's
// loss as the pipe results table shows them, 0 where the table says "none".
std::string SolveResultsAsJson(const TNetwork& network, bool solved, const std::vector<std::string>& log);

// What --timing prints: the time of loading the file, of each phase of the
// solve with the number of times it ran, of what lies between the phases, and of
// the whole solve (as CalculateNetwork runs it), in milliseconds, one line each.
std::string SolveTimingReport(const TSolveTimings& phases, std::chrono::steady_clock::duration load,
                              std::chrono::steady_clock::duration wholeSolve);

// Loads, solves and reports: the results log (then the tables asked for) goes
// to `out`, boxes and questions (and the timing report) to `err`. Exit codes:
// 0 solved, 1 not solved or an output that cannot be written, 2 usage or a
// file that cannot be loaded.
int RunSolveCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
