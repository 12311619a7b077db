#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "HydraulicReference.h"
#include "model/VM4_ComponentPressure_Class.h"
#include "model/VM4_Pump_Class.h"
#include "solver/VM4_Matrix_Equations.h"

// Small helpers that fill the engine the way the equation generator does.

// A new engine at the network's capacities, cleared and sized to N unknowns and
// M equations. It lives on the heap: the Jacobian alone is 32 MB.
std::unique_ptr<TMatrixEquations> MakeEngine(std::int32_t numberOfQVariables, std::int32_t numberOfEquations);

void SetFluid(TMatrixEquations& engine, const TReferenceFluid& fluid);
void SetPipe(TMatrixEquations& engine, std::int32_t j, const TReferencePipe& pipe);

// Codes of equation `row` for unknowns 1, 2, ... and its right-hand constant.
void SetEquation(TMatrixEquations& engine, std::int32_t row, std::initializer_list<std::uint8_t> codes, double known);

// A component whose loss is the line through (0, 0) and (1 m³/s, slope m.H2O).
TComponentPressure LinearCurveComponent(double slope_mH2O_per_m3s);
TComponentPressure FixedLossComponent(double loss_bar);

// A pump on the curve (0, 50), (0.01, 48), (0.02, 40) in m³/s and m.H2O: its one
// piece is head = −30000·q² + 100·q + 50.
TPump ThreePointPump();
// The same pump with its first two points only: no curve to run on.
TPump TwoPointPump();

// Water and a light oil, with a pipe of each kind the tests need.
inline constexpr TReferenceFluid kWater{1000.0, 1.0};
inline constexpr TReferenceFluid kOil{900.0, 100.0};
// Oil in this pipe stays laminar (Re < 2300) below about 0.01 m³/s.
inline constexpr TReferencePipe kLaminarPipe{0.05, 4.5e-5, 100.0, 0.0};
// A pipe without length: no friction, only what is put on it.
inline constexpr TReferencePipe kNoFrictionPipe{0.1, 4.5e-5, 0.0, 0.0};
