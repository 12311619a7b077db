#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/VM4_Network_Class.h"
#include "results/VM4_MemoryGrid.h"

// The text left in every cell before a table is filled: a cell the table must
// not touch still reads it afterwards.
constexpr const char* kUntouched = "~";

// A results grid as the results window hands it over: 26 columns, 2000 rows,
// every cell of the top rows holding kUntouched.
TMemoryGrid PrefilledGrid(int rowsToPrefill = 60);

// Compares a whole row, cell by cell from column 0, naming the column that differs.
void ExpectRow(const ITableGrid& grid, int row, const std::vector<std::string>& cells);

// A small solved network with its results set by hand (metric units, water
// of 998 kg/m³, atmosphere 1.01325 bar):
//
//   N1 tank (elevation 10 m, level 2 m, 0 bar.g)
//     --P1 "Suction"-->  N2 join point (0 m, supply 0.001, demand 0.003 m³/sec)
//   N2 --P2 "Pump Line" (pump "Duty" on its curve, 3 fittings, 0.5 bar component)--> N3 end pressure 0.5 bar.g at 5 m
//   N2 --P3 "Bypass" (flow control, set-flow pump "Booster" switched off)--> N4 end pressure 0 bar.g at 2 m
//   N1 --P4 "Old Main" (closed)--> N3
//
// Flows 0.014, 0.010 and 0.002 m³/sec balance at N2: 0.001 + 0.014 = 0.003 + 0.010 + 0.002.
struct TTableNetwork {
    TTableNetwork();

    TNetwork Network;
    std::int32_t Tank = 0;
    std::int32_t Joint = 0;
    std::int32_t EndPressure = 0;
    std::int32_t Outlet = 0;
    std::int32_t Suction = 0;
    std::int32_t PumpLine = 0;
    std::int32_t Bypass = 0;
    std::int32_t OldMain = 0;
};

// F = 9.80665 * 998 / 100000 bar per metre of the test water.
constexpr double kWaterBarPerMetre = 9.80665 * 998.0 / 100000.0;
