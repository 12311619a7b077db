#pragma once

// The one exit-code rule of every velmora-cli command, so that a script can
// tell "the network is bad" from "I called it wrongly".

// Done: the network solved, the table or report written.
constexpr int kExitSuccess = 0;
// Ran but failed: the network was not solved, or a file (or the standard
// output) could not be written.
constexpr int kExitFailed = 1;
// Did not run: an argument was not understood, or a file named could not be
// loaded (a network or a data library).
constexpr int kExitBadInput = 2;
