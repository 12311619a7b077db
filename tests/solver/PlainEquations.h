#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Network_Class.h"

// The equations of a network as codes and right-hand constants, rows first.
struct TEquationTable {
    std::vector<std::vector<std::uint8_t>> Codes;  // one row per equation, one column per open link
    std::vector<double> Knowns;
    bool WalkFailed = false;  // a stored loop's pipes do not follow on from one another
};

// The equations as the straightforward generation writes them from the network's
// public tables: every join point scanning the whole link table, every loop pipe's
// unknown found by scanning it again (the last link of the pipe wins). The oracle
// for the product's generation, compared with it bit for bit.
TEquationTable PlainEquationTable(const TNetwork& network);

// What the last MatrixEquationsGenerate left in the network's engine.
TEquationTable EquationTableOf(const TNetwork& network);
