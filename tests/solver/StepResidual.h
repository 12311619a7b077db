#pragma once

#include "solver/VM4_Matrix_Equations.h"

// How well the last Newton step solves its linear system:
//   ‖J·ΔQ − F‖₂ / ‖F‖₂ over equations 1..N (the pivot equations),
// with the Jacobian of the last CalculateDMatrix, the residuals and the equation
// order the engine holds now. 0 when F is 0 and the step too.
long double RelativeStepResidual(const TMatrixEquations& engine);
