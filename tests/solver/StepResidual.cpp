#include "StepResidual.h"

#include <cmath>

long double RelativeStepResidual(const TMatrixEquations& engine) {
    long double misfit = 0.0L;
    long double size = 0.0L;
    for (std::int32_t i = 1; i <= engine.NumberOfQVariables; ++i) {
        long double product = 0.0L;
        for (std::int32_t j = 1; j <= engine.NumberOfQVariables; ++j) {
            if (engine.QMatrix[i][j] != TMatrixEquations::CodeNotInEquation)
                product += engine.JacobianEntry(i, j) * engine.QDeltas[j];
        }
        const long double difference = product - engine.FResults[i];
        misfit += difference * difference;
        size += engine.FResults[i] * engine.FResults[i];
    }
    if (size == 0.0L) return std::sqrt(misfit);
    return std::sqrt(misfit / size);
}
