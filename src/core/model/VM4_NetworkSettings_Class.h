#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class TByteReader;
class TByteWriter;

// The settings that travel with a network: gauge or absolute display, the
// atmospheric pressure, the display unit of each quantity (unit indices of the
// units module), what the drawing labels show and the calculation options.
// The configuration dialog edits a copy and writes it back whole.
class TNetworkSettings {
public:
    static constexpr std::size_t RecordSize = 123;
    static constexpr std::size_t UnitFieldCount = 16;
    static constexpr std::size_t DrawingFlagCount = 26;

    static constexpr double DefaultAtmosphericPressure_bar_a = 1.01325;

    // Every field to its default: gauge display, 1.01325 bar a shown in bar.a,
    // metric units, the default drawing flags and calculation options.
    TNetworkSettings();
    void Clear();

    // The 15 quantity units from LengthUnit to DensityUnit; AtmosphereUnit is left alone.
    // Stored values stay SI, only the display changes.
    void SetMetricUnits();
    void SetImperialUnits();

    void ResetDrawingFlags();
    void ResetCalculationOptions();

    // The fixed 123-byte record of network files. Reading rejects unit indices
    // outside the unit table.
    void WriteRecord(TByteWriter& writer) const;
    void ReadRecord(TByteReader& reader);

    // Unit fields in record order, so that the record and the presets walk them alike.
    static const std::array<std::uint8_t TNetworkSettings::*, UnitFieldCount> UnitFields;
    // The quantity a unit field shows, in words ("length"), by record position.
    static const char* UnitFieldQuantity(std::size_t fieldIndex);
    // The unit is of a kind the quantity at that record position can be shown in.
    static bool UnitFitsField(std::size_t fieldIndex, std::uint8_t unit);
    // The record position of the first unit field whose unit does not fit its
    // quantity; UnitFieldCount when all fit.
    std::size_t FirstMisfitUnitField() const;

    // Drawing flags in record order.
    static const std::array<bool TNetworkSettings::*, DrawingFlagCount> DrawingFlags;

    bool GaugePressure = true;  // false: pressures are shown as absolute values
    double AtmosphericPressure = DefaultAtmosphericPressure_bar_a;  // bar absolute

    std::uint8_t AtmosphereUnit = 0;
    std::uint8_t LengthUnit = 0;
    std::uint8_t DiameterUnit = 0;
    std::uint8_t RoughnessUnit = 0;
    std::uint8_t FlowRateUnit = 0;
    std::uint8_t VelocityUnit = 0;
    std::uint8_t PressureLossUnit = 0;
    std::uint8_t WeightUnit = 0;
    std::uint8_t AreaUnit = 0;
    std::uint8_t VolumeUnit = 0;
    std::uint8_t SurfacePressureUnit = 0;
    std::uint8_t LiquidLevelUnit = 0;
    std::uint8_t ElevationUnit = 0;
    std::uint8_t TemperatureUnit = 0;
    std::uint8_t FluidPressureUnit = 0;
    std::uint8_t DensityUnit = 0;

    // Radio groups, at most one of each on: ShowFlowRate / ShowVelocity /
    // ShowPipePressureLoss; ShowFittingsNothing / ShowFittingsPressureLoss;
    // ShowPumpNothing / ShowPumpHead / ShowPumpNPSHa; ShowNodeNothing / ShowNodePressure.
    bool ShowPipeId = false;
    bool ShowPipeName = false;
    bool ShowPipeDiam = false;
    bool ShowPipeLength = false;
    bool ShowComponentName = false;
    bool ShowFlowControlName = false;
    bool ShowFittingsValves = false;
    bool ShowFittingsBends = false;
    bool ShowFittingsKValue = false;
    bool ShowPumpName = false;
    bool ShowPumpDistance = false;
    bool ShowPumpElevation = false;
    bool ShowNodeId = false;
    bool ShowNodeName = false;
    bool ShowNodeElevation = false;
    bool ShowNodeTankInfo = false;
    bool ShowFlowRate = false;
    bool ShowVelocity = false;
    bool ShowPipePressureLoss = false;
    bool ShowFittingsNothing = false;
    bool ShowFittingsPressureLoss = false;
    bool ShowPumpNothing = false;
    bool ShowPumpHead = false;
    bool ShowPumpNPSHa = false;
    bool ShowNodeNothing = false;
    bool ShowNodePressure = false;

    // Calculation options, SI. The solver checks none of them.
    double FlowBalancingTolerance = 0.0;            // m³/s, largest continuity residual
    double PressureBalancingToleranceApprox = 0.0;  // bar, approximate phase
    double PressureBalancingToleranceFinal = 0.0;   // bar, refining phase
    std::int32_t MaxIterationsApproxSolution = 0;
    std::int32_t MaxIterationsFinalSolution = 0;
    double DeltaQReductionFactor = 0.0;  // fraction of the Newton step while refining
    double MinVelocityDischarge = 0.0;   // m/s, lowest start velocity of the ladder
    double MaxVelocityDischarge = 0.0;   // m/s, upper end of the ladder (not itself tried)
    double LiquidHighVelocity = 0.0;     // m/s, warning limit for liquids
    double GasHighVelocity = 0.0;        // m/s, warning limit for gases
};
