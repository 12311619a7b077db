#include "EngineSetup.h"

std::unique_ptr<TMatrixEquations> MakeEngine(std::int32_t numberOfQVariables, std::int32_t numberOfEquations) {
    auto engine = std::make_unique<TMatrixEquations>(TMatrixEquations::MaxQVariables, TMatrixEquations::MaxEquations);
    engine->ClearResults(numberOfQVariables, numberOfEquations);
    return engine;
}

void SetFluid(TMatrixEquations& engine, const TReferenceFluid& fluid) {
    engine.FluidDensity = fluid.Density_kgm3;
    engine.FluidViscosity = fluid.Viscosity_cP;
}

void SetPipe(TMatrixEquations& engine, std::int32_t j, const TReferencePipe& pipe) {
    engine.QDiameter[j] = pipe.Diameter_m;
    engine.QRoughness[j] = pipe.Roughness_m;
    engine.QLength[j] = pipe.Length_m;
    engine.QFittingLossCoefficents[j] = pipe.FittingG;
}

void SetEquation(TMatrixEquations& engine, std::int32_t row, std::initializer_list<std::uint8_t> codes, double known) {
    std::int32_t j = 1;
    for (std::uint8_t code : codes) engine.QMatrix[row][j++] = code;
    engine.QKnowns[row] = known;
}

TComponentPressure LinearCurveComponent(double slope_mH2O_per_m3s) {
    TComponentPressure component;
    component.UseCurve = 1;
    component.AddCurvePoint(0.0, 0.0);
    component.AddCurvePoint(1.0, slope_mH2O_per_m3s);
    return component;
}

TComponentPressure FixedLossComponent(double loss_bar) {
    TComponentPressure component;
    component.UseCurve = 0;
    component.FixedLoss_bar = loss_bar;
    return component;
}

TPump ThreePointPump() {
    TPump pump;
    pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
    pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 3.0);
    return pump;
}

TPump TwoPointPump() {
    TPump pump;
    pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
    return pump;
}
