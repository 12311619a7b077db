#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_ComponentPressure_Class.h"
#include "model/VM4_Fitting_Set_Class.h"
#include "model/VM4_Pump_Class.h"

class TByteReader;
class TByteWriter;
class TFluid;

VELMORA_DECLARE_ERROR(EPipeClass);

// One pipe of the network: its size and material, the items placed on it
// (fittings, a component pressure loss, a flow control, a pump) with the
// positions of their symbols, and the results of the last calculation.
// The nodes it joins are kept by the network's link table, not here.
//
// Values are SI: metres, m³/sec, kg/m; heads and losses are metres of the
// system's fluid; positions along the pipe are percent of its drawn length.
class TPipe {
public:
    static constexpr std::size_t kNameCapacity = 20;
    static constexpr std::size_t kMaterialCapacity = 40;
    static constexpr std::size_t kNominalSizeCapacity = 20;
    static constexpr std::size_t kSpareTextCapacity = 20;
    static constexpr std::size_t kScheduleCapacity = 20;
    static constexpr std::size_t kDiameterDataFileNameCapacity = 100;
    static constexpr std::size_t kFlowControlNameCapacity = 20;
    static constexpr std::size_t kFlowTypeCapacity = 30;
    static constexpr std::size_t kNotesCapacity = 200;
    // The record without fittings; each fitting type adds its record and quantity.
    static constexpr std::size_t kRecordSizeWithoutFittings = 1727;
    static constexpr std::size_t kRecordSizePerFitting = 176;

    static constexpr const char* kFlowTypeNotSet = "NotSet";
    static constexpr const char* kFlowTypeNone = "None";
    static constexpr const char* kFlowTypeTooLarge = "Too Large";

    // ---- Pipe data and diameter table fields
    std::string Name;
    double Length_m = 0.0;
    double InnerDiameter_m = 0.0;
    // Absolute roughness.
    double InnerRoughness_m = 0.0;
    std::string Material;
    // Metric size class (mm) by which fitting K values are looked up; -1 marks a placeholder.
    std::int32_t SizeClass = 0;
    std::string NominalSize;
    // Carried and saved, never shown.
    std::string SpareText;
    std::string Schedule;
    double OuterDiameter_m = 0.0;
    double WallThickness_m = 0.0;
    double WeightPerLength_kg_m = 0.0;
    // The diameter table the size came from.
    std::string DiameterDataFileName;
    // The first kNotesCapacity characters survive saving.
    std::vector<std::string> Notes;

    // ---- Items on the pipe. Calc flags let the user switch an item off without removing it.
    TFittingSet Fittings{TFittingSet::kPipeCapacity};
    bool CalcFittings = true;
    double FittingsPositionPercent = 50.0;
    std::int32_t FittingsX = 0;
    std::int32_t FittingsY = 0;

    bool HasComponentPressure = false;
    bool CalcComponentPressure = true;
    TComponentPressure ComponentPressure;
    double ComponentPositionPercent = 0.0;
    std::int32_t ComponentX = 0;
    std::int32_t ComponentY = 0;

    bool HasFlowControl = false;
    bool CalcFlowControl = true;
    std::string FlowControlName;
    // The flow the control holds.
    double FlowControlSetFlow_m3s = 0.0;
    double FlowControlPositionPercent = 0.0;
    std::int32_t FlowControlX = 0;
    std::int32_t FlowControlY = 0;

    bool HasPump = false;
    bool CalcPump = true;
    TPump Pump;
    double PumpDistanceFromStart_m = 0.0;
    double PumpPositionPercent = 0.0;
    double PumpElevation_m = 0.0;

    // Where the pipe's text label sits along the pipe, and on the drawing.
    double LabelPositionPercent = 50.0;
    std::int32_t LabelX = 0;
    std::int32_t LabelY = 0;

    // ---- Flow and results of the last calculation
    // Starting flow for the solver, and whether the estimator has set it.
    double FlowGuessUncompressed_m3s = 0.0;
    bool FlowGuessSet = false;
    // The solved flow, positive from the link's from-node to its to-node.
    double FlowUncompressed_m3s = 0.0;
    // Multiplier of the flow in velocity and Reynolds number; every calculation sets it to 1.
    double FlowCorrectionFactor = 1.0;
    double Velocity_ms = 0.0;
    double VelocityAtFlowGuess_ms = 0.0;
    double ReynoldsNumber = 0.0;
    double FrictionFactor = 0.0;
    std::string FlowType = kFlowTypeNotSet;
    // Losses carry the sign of the flow.
    double PipeFrictionLoss_mHd_Fluid = 0.0;
    double FittingsLoss_mHd_Fluid = 0.0;
    double ComponentLoss_mHd_Fluid = 0.0;
    // Loss the flow control must create (set by the solve driver).
    double FlowControlLoss_bar = 0.0;
    double FlowControlLoss_mHd_Fluid = 0.0;
    // Head added by the pump at the solved flow, and its required NPSH.
    double PumpHead_mHd_Fluid = 0.0;
    double PumpNPSHr_mHd_Fluid = 0.0;
    // friction + fittings + component - pump head; the flow control's loss is not in it.
    double TotalPressureLoss_mHd_Fluid = 0.0;

    TPipe() = default;

    // Every field back to its default; fittings, component and pump cleared.
    void Clear();
    // Every field of the source except the flow-guess flag, the label and
    // fittings symbol positions, and the component, flow-control, NPSHr and
    // total losses, which keep this pipe's values.
    void Copy(const TPipe& source);

    // Velocity, Reynolds number, friction factor, flow type and the losses at
    // the solved flow, for the fluid's density and dynamic viscosity.
    void CalcPipeInfo(const TFluid& fluid);

    // pi D^2 / 4: volume per metre of pipe.
    double InternalVolume_m3_m() const;
    // pi D_outer: outside surface per metre of pipe.
    double SurfaceArea_m2_m() const;
    std::int32_t GetFittingCountIncludingQuantities() const { return Fittings.GetFittingCountIncludingQuantities(); }
    double CalcTotalKFittings() const { return Fittings.CalculateTotal_KValue(); }

    // Raises EPipeClass when there is no pump.
    void RemovePump();
    // Does nothing when there is no component.
    void RemoveComponentPressure();
    void RemoveFlowControl();

    // Name, ", ", material, ", ", nominal size and a trailing blank.
    std::string GetPipeNameSizeString() const;

    // One line of a pipe diameter table, always in inches and lbs/ft with "."
    // as the mark: material, schedule, roughness, size class, nominal size,
    // wall thickness, outer diameter, weight.
    void SaveDiameterDataToText(std::ostream& out) const;
    // Reads the next such line (either decimal mark), computes the bore as the
    // outer diameter less twice the wall and records `sourceName`. A line that
    // does not split or convert raises EPipeClass and changes nothing.
    void LoadDiameterDataFromText(std::istream& in, const std::string& sourceName);
    void LoadDiameterDataFromTextLine(const std::string& line, const std::string& sourceName);

    std::size_t RecordSize() const;
    void WriteRecord(TByteWriter& writer) const;
    // Fields that the record does not hold keep their values; a failed read changes nothing.
    void ReadRecord(TByteReader& reader);

private:
    void calcFrictionAtVelocity(const TFluid& fluid);
    double calcItemLosses(const TFluid& fluid);
};
