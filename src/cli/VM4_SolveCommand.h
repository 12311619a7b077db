#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class TNetwork;

// velmora-cli solve FILE.vme [--reverse=no|yes] [--json FILE] [--save OUT.vme]

struct TSolveOptions {
    std::string NetworkFile;
    bool ReversePipes = false;  // the answer to every pipe reversal question
    std::string JsonFile;       // empty: no JSON
    std::string SaveFile;       // empty: the solved network is not saved
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
// the fluid, gauge).
std::string SolveResultsAsJson(const TNetwork& network, bool solved, const std::vector<std::string>& log);

// Loads, solves and reports: the results log goes to `out`, boxes and questions
// to `err`. Exit codes: 0 solved, 1 not solved, 2 usage, a file that cannot be
// loaded, or an output that cannot be written.
int RunSolveCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
