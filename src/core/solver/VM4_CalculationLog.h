#pragma once

#include <string>
#include <vector>

// The lines a calculation writes into the results log around the solve itself:
// the heading before it and, when the network was not solved, the closing note
// with the advice about the final tolerance. Every caller of the solve (the
// main window, the command-line tool) writes the same lines.

// The heading: a rule of 52 dashes, the title, the rule again and the two
// lines announcing the solve.
void AppendResultsLogHeader(std::vector<std::string>& log);

// " ", "Network was not solved." and, when a refining phase failed, the advice
// about the final pressure balance tolerance (each piece after a blank line).
void AppendNotSolvedLines(std::vector<std::string>& log, bool refinementFailed);
