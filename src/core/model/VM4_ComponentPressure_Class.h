#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "foundations/VM4_Errors.h"

class TByteReader;
class TByteWriter;

// Raised by TComponentPressure; the message names the method and the reason.
VELMORA_DECLARE_ERROR(EComponentPressureClass);

// One point of a component's flow/loss curve; the loss is metres of water.
struct TComponentCurvePoint {
    double Flow_m3s = 0.0;
    double Loss_mH2O = 0.0;
};

// A piece of equipment on a pipe (heat exchanger, filter, meter...) that adds
// a pressure loss, either fixed or read from a flow/loss curve of up to 8
// points joined by straight lines. Results asked for "mHd_Fluid" are metres of
// the network's fluid, converted with the density the caller passes (kg/m³).
//
// The same record is a pipe's component in the network file and the whole
// content of a stand-alone component file (".vmco").
class TComponentPressure {
public:
    static constexpr int MaxPoints = 8;
    static constexpr std::size_t NameCapacity = 20;
    static constexpr std::size_t RecordSize = 168;

    TComponentPressure();

    // Back to the defaults of a new component: no name, fixed loss 0, no curve.
    void Clear();
    // No points; every slot zeroed.
    void ClearComponentPressureCurve();
    void CopyComponentPressure(const TComponentPressure& source);

    const std::string& Name() const { return name_; }
    // Cut to NameCapacity characters.
    void SetName(const std::string& utf8);

    std::int32_t Symbol = 0;
    // 1: the loss is read from the curve; 0: FixedLoss_bar applies at any flow.
    std::uint8_t UseCurve = 0;
    double FixedLoss_bar = 0.0;
    // Unit indices the component dialog shows the curve in; the curve itself is SI.
    std::uint8_t CurveFlowUnits = 0;
    std::uint8_t CurveLossUnits = 0;

    int PointCount() const { return pointCount_; }
    // 1-based: pointNo 1..MaxPoints (slots beyond the count included).
    const TComponentCurvePoint& Point(int pointNo) const;

    // Appends a point (flow m³/sec, loss m.H2O). Raises when the curve is full.
    void AddCurvePoint(double flow_m3s, double loss_mH2O);
    // Replaces the curve by MaxPoints points evenly spaced from point 1's flow to
    // point 3's flow on the quadratic through the first three points. Raises
    // when there are fewer than three points or the fit fails; the curve is then unchanged.
    void CreateQuadraticCurvePointsFromFirst3Points();
    // True when a point in use has a negative flow or loss.
    bool CheckIfCurveContainsNegativeValues() const;

    // Loss at the flow in m.hd Fluid. Its size depends on |flow| and is never
    // below 0 (a component adds no head); its sign is the flow's, so that it
    // always opposes the flow.
    double calcLoss_mHd_Fluid(double flow_m3s, double density_kgm3) const;
    // d(loss)/d(flow) of calcLoss_mHd_Fluid, in m.hd Fluid per m³/sec; the same
    // for a flow and its reverse.
    double calcLoss_mHd_Fluid_Differential(double flow_m3s, double density_kgm3) const;

    // The RecordSize-byte record; the one place each direction is done.
    void WriteRecord(TByteWriter& writer) const;
    // Reads a whole record or raises EStreamFormatError, leaving the component unchanged.
    void ReadRecord(TByteReader& reader);

    // A component file holds exactly one record. Both raise
    // EComponentPressureClass naming the file; a failed load leaves the component unchanged.
    void SaveToFile(const std::filesystem::path& path) const;
    void LoadFromFile(const std::filesystem::path& path);

private:
    struct TLossOnCurve;

    double flowAt(int pointNo) const { return points_[static_cast<std::size_t>(pointNo - 1)].Flow_m3s; }
    double lossAt(int pointNo) const { return points_[static_cast<std::size_t>(pointNo - 1)].Loss_mH2O; }

    bool usesCurve() const { return UseCurve != 0; }
    int segmentForFlow(double q_m3s) const;
    TLossOnCurve lossOnCurve(double q_m3s) const;

    std::string name_;
    std::int32_t pointCount_ = 0;
    std::array<TComponentCurvePoint, MaxPoints> points_{};
};
