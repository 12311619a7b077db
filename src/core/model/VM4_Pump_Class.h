#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"

class TByteReader;
class TByteWriter;

// Raised by TPump; the message names the method and the reason.
VELMORA_DECLARE_ERROR(EPumpClass);

// One measured point of a pump's performance curve. Heads and NPSHr are
// metres of water, whatever fluid the network carries.
struct TPumpCurvePoint {
    double Flow_m3s = 0.0;
    double Head_mH2O = 0.0;
    double Efficiency = 0.0;  // percent
    double NPSHr_mH2O = 0.0;
};

// One quadratic piece of the curve through points FirstPoint..LastPoint:
// head(q) = A q² + B q + C, q in m³/sec, head in m.H2O.
struct TPumpCurvePiece {
    std::int32_t FirstPoint = 0;
    std::int32_t LastPoint = 0;
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;
};

// y = A x² + B x + C.
struct TPumpCurveCoefficients {
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;
};

// The pump that can sit on a pipe: either a fixed-speed pump on a curve of up
// to 10 measured points, fitted piece by piece with quadratics through every
// three consecutive points, or a pump that delivers a set flow whatever the
// head. Flows are m³/sec; results asked for "mHd_Fluid" are metres of the
// network's fluid, converted from the curve's metres of water with the
// density the caller passes (kg/m³).
//
// The same record is a pipe's pump in the network file and the whole content
// of a stand-alone pump file (".vmpm").
class TPump {
public:
    static constexpr int MaxPoints = 10;
    static constexpr int MaxCurves = MaxPoints - 2;
    static constexpr std::size_t NameCapacity = 20;
    static constexpr std::size_t NotesCapacity = 200;
    static constexpr std::size_t RecordSize = 843;

    TPump();

    // Back to the defaults of a new pump (name "Pump", no curve, one blank note line).
    void Clear();
    // No points and no pieces; every slot of both tables zeroed.
    void ClearPumpCurves();
    void CopyPump(const TPump& source);

    const std::string& Name() const { return name_; }
    // Cut to NameCapacity characters.
    void SetName(const std::string& utf8);

    // 1: the pump delivers SetFlowRate_m3s and its curve is not used; 0: it runs on its curve.
    std::uint8_t RunsAtSetFlowRate = 0;
    double SetFlowRate_m3s = 0.0;
    std::uint8_t SetFlowUnits = 0;  // unit index the set flow is shown in
    std::int32_t PumpSpeed = 0;     // rpm, for information only
    // Preferred operating region, percent of the flow at the best efficiency point.
    std::int32_t PreferredOpRegionFromPercent = 0;
    std::int32_t PreferredOpRegionToPercent = 0;
    std::int32_t X = 0;  // symbol position on the drawing
    std::int32_t Y = 0;
    std::int32_t Symbol = 0;
    // Unit indices the pump dialog shows the curve in; the curve itself is SI.
    std::uint8_t PumpFlowUnits = 0;
    std::uint8_t PumpHeadUnits = 0;
    std::uint8_t PumpNPSHrUnits = 0;
    // Free text; the first NotesCapacity characters (lines joined with CR LF) are saved.
    std::vector<std::string> Notes;

    int PointCount() const { return pointCount_; }
    int CurveCount() const { return curveCount_; }
    // 1-based: pointNo 1..MaxPoints, curveNo 1..MaxCurves (slots beyond the counts included).
    const TPumpCurvePoint& Point(int pointNo) const;
    const TPumpCurvePiece& Curve(int curveNo) const;

    // Appends a point and refits the pieces. Raises when the curve is full or the
    // fit fails; the pump is then unchanged.
    void AddPumpCurvePoint(double flow_m3s, double head_mH2O, double efficiency, double npshr_mH2O);
    // Rebuilds piece i through points i, i+1, i+2 for i = 1 .. PointCount-2.
    void calcPumpCurves();

    // Head added at the flow, signed like the flow (negative flow, negative head),
    // between 0 and the shut-off head (point 1).
    double calcPumpHead_mHd_Fluid(double flow_m3s, double density_kgm3) const;
    // d(head)/d(flow) of calcPumpHead_mHd_Fluid, in m.hd Fluid per m³/sec.
    double calcPumpHead_mHd_Fluid_Differential(double flow_m3s, double density_kgm3) const;
    // Piece curveId refitted with its heads in m.hd Fluid; zeros with fewer than 3 points.
    TPumpCurveCoefficients calcPumpCurvesCoeff_mHd_Fluid(int curveId, double density_kgm3) const;
    // Flow at which the curve gives the head (m.H2O), for heads between the last
    // point's and the shut-off head; 0 when no piece reaches the head.
    double calcPumpFlow_m3s(double head_mH2O) const;
    // Interpolated linearly between the points; 0 outside the curve.
    double calcPumpNPSHr_mHd_Fluid(double flow_m3s, double density_kgm3) const;
    double calcPumpEfficiency(double flow_m3s) const;
    // Flow of the first point with the highest efficiency; 0 when no efficiency is above 0.
    double GetFlowAtBEP_m3s() const;

    // The RecordSize-byte record; the one place each direction is done.
    void WriteRecord(TByteWriter& writer) const;
    // Reads a whole record or raises EStreamFormatError, leaving the pump unchanged.
    void ReadRecord(TByteReader& reader);

    // A pump file holds exactly one record. Both raise EPumpClass naming the file;
    // a failed load leaves the pump unchanged.
    void SaveToFile(const std::filesystem::path& path) const;
    void LoadFromFile(const std::filesystem::path& path);

private:
    struct THeadOnCurve;

    // Curve data by 1-based point number, as the algorithms count them.
    double flowAt(int pointNo) const { return points_[static_cast<std::size_t>(pointNo - 1)].Flow_m3s; }
    double headAt(int pointNo) const { return points_[static_cast<std::size_t>(pointNo - 1)].Head_mH2O; }
    const TPumpCurvePiece& pieceAt(int curveNo) const { return curves_[static_cast<std::size_t>(curveNo - 1)]; }

    int usablePieceCount() const;
    int pieceContainingFlow(double q_m3s) const;
    int pieceContainingHead(double head_mH2O) const;
    THeadOnCurve rawHeadOnCurve(double q_m3s) const;
    double interpolatePointValue(double flow_m3s, double TPumpCurvePoint::*value) const;

    std::string name_;
    std::int32_t pointCount_ = 0;
    std::array<TPumpCurvePoint, MaxPoints> points_{};
    std::int32_t curveCount_ = 0;
    std::array<TPumpCurvePiece, MaxCurves> curves_{};
};
