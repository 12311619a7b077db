#include "model/VM4_Pump_Class.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_Calculations.h"
#include "foundations/VM4_FileBytes.h"
#include "foundations/VM4_SafeSave.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"

namespace {

const char* const kMaxPointsReached = "TPump.AddPumpCurvePoint Failed: Max number of Pump points reached.";
const char* const kInvalidCurveId = "TPump.calcPumpCurvesCoeff_mHd_Fluid Failed: Invalid CurveId.";
const char* const kInvalidPointNo = "TPump.Point Failed: Invalid point number.";
const char* const kInvalidCurveNo = "TPump.Curve Failed: Invalid curve number.";
const char* const kCannotWriteFile = "TPump.SaveToFile Failed: Could not write the file ";
const char* const kCannotReadFile = "TPump.LoadFromFile Failed: Could not read the file ";
const char* const kNotAPumpFile = "TPump.LoadFromFile Failed: Not a valid pump file ";

const char* const kDefaultName = "Pump";

// Curve heads are metres of water; the solver works in metres of the network's fluid.
double waterToFluidHead(double head_mH2O, double density_kgm3) {
    return convertPressureWithDensity(UNIT_M_H2O, UNIT_M_HD, head_mH2O, density_kgm3);
}

TPumpCurveCoefficients quadraticThrough(double x1, double y1, double x2, double y2, double x3, double y3) {
    TPumpCurveCoefficients fit;
    calcQuadraticPumpCoefficents(x1, y1, x2, y2, x3, y3, fit.A, fit.B, fit.C);
    return fit;
}

std::int32_t readCount(TByteReader& reader, const char* what, std::int32_t maximum) {
    const std::int32_t count = reader.ReadInt32();
    if (count < 0 || count > maximum) {
        reader.Fail(std::string(what) + " " + std::to_string(count) + " is outside 0.." + std::to_string(maximum));
    }
    return count;
}

std::uint8_t readUnitIndex(TByteReader& reader) {
    const std::uint8_t unit = reader.ReadByte();
    if (!isUnitIndex(unit)) reader.Fail("unit index " + std::to_string(unit) + " does not exist");
    return unit;
}

}  // namespace

// The head the curve gives at a flow before it is held between 0 and the
// shut-off head, with its slope; both m.H2O based.
struct TPump::THeadOnCurve {
    double Head_mH2O = 0.0;
    double Slope_mH2O_per_m3s = 0.0;
};

TPump::TPump() { Clear(); }

void TPump::Clear() {
    SetName(kDefaultName);
    RunsAtSetFlowRate = 0;
    SetFlowRate_m3s = 0.0;
    SetFlowUnits = UNIT_M3_SEC;
    PumpSpeed = 0;
    PreferredOpRegionFromPercent = 0;
    PreferredOpRegionToPercent = 0;
    X = 0;
    Y = 0;
    Symbol = 0;
    PumpFlowUnits = UNIT_FT3_SEC;
    PumpHeadUnits = UNIT_FT_HD;
    PumpNPSHrUnits = UNIT_FT_HD;
    Notes = {" "};
    ClearPumpCurves();
}

void TPump::ClearPumpCurves() {
    pointCount_ = 0;
    points_.fill(TPumpCurvePoint{});
    curveCount_ = 0;
    curves_.fill(TPumpCurvePiece{});
}

void TPump::CopyPump(const TPump& source) { *this = source; }

void TPump::SetName(const std::string& utf8) { name_ = CutToCapacity(utf8, NameCapacity); }

const TPumpCurvePoint& TPump::Point(int pointNo) const {
    if (pointNo < 1 || pointNo > MaxPoints) throw EPumpClass(kInvalidPointNo);
    return points_[static_cast<std::size_t>(pointNo - 1)];
}

const TPumpCurvePiece& TPump::Curve(int curveNo) const {
    if (curveNo < 1 || curveNo > MaxCurves) throw EPumpClass(kInvalidCurveNo);
    return pieceAt(curveNo);
}

void TPump::AddPumpCurvePoint(double flow_m3s, double head_mH2O, double efficiency, double npshr_mH2O) {
    if (pointCount_ >= MaxPoints) throw EPumpClass(kMaxPointsReached);
    // Refit a copy so that a failed fit leaves this pump as it was.
    TPump extended = *this;
    extended.points_[static_cast<std::size_t>(extended.pointCount_)] = {flow_m3s, head_mH2O, efficiency, npshr_mH2O};
    ++extended.pointCount_;
    extended.calcPumpCurves();
    *this = std::move(extended);
}

void TPump::calcPumpCurves() {
    // Fitted into a copy first: the quadratic routine may raise half way.
    std::array<TPumpCurvePiece, MaxCurves> fitted = curves_;
    const int pieceCount = pointCount_ >= 3 ? pointCount_ - 2 : 0;
    for (int i = 1; i <= pieceCount; ++i) {
        const TPumpCurveCoefficients fit =
            quadraticThrough(flowAt(i), headAt(i), flowAt(i + 1), headAt(i + 1), flowAt(i + 2), headAt(i + 2));
        fitted[static_cast<std::size_t>(i - 1)] = {i, i + 2, fit.A, fit.B, fit.C};
    }
    curves_ = fitted;
    curveCount_ = pieceCount;
}

// Pieces that lie wholly on points in use; a record read from a file may
// claim more pieces than its points can carry.
int TPump::usablePieceCount() const { return std::min(curveCount_, std::max(pointCount_ - 2, 0)); }

// The last piece i with Flow(i) <= q <= Flow(i+2), so that a flow on a point
// shared by two pieces is taken from the later one. Below the first point the
// first piece is extended.
int TPump::pieceContainingFlow(double q_m3s) const {
    for (int i = usablePieceCount(); i >= 1; --i) {
        if (flowAt(i) <= q_m3s && q_m3s <= flowAt(i + 2)) return i;
    }
    return 1;
}

// Beyond the last point the curve continues on the straight line through the
// last two points: h = H(n) - s Q(n) + s q with s = (H(n) - H(n-1)) / (Q(n) - Q(n-1)).
// Inside it: h = A q² + B q + C of the piece, slope 2 A q + B.
TPump::THeadOnCurve TPump::rawHeadOnCurve(double q_m3s) const {
    const int n = pointCount_;
    if (q_m3s > flowAt(n)) {
        const double run_m3s = flowAt(n) - flowAt(n - 1);
        const double slope = run_m3s != 0.0 ? (headAt(n) - headAt(n - 1)) / run_m3s : 0.0;
        return {headAt(n) - slope * flowAt(n) + slope * q_m3s, slope};
    }
    const TPumpCurvePiece& piece = pieceAt(pieceContainingFlow(q_m3s));
    return {piece.A * q_m3s * q_m3s + piece.B * q_m3s + piece.C, 2.0 * piece.A * q_m3s + piece.B};
}

// The pump never gives more than its shut-off head and never takes head away;
// for reversed flow it acts in the reverse direction.
double TPump::calcPumpHead_mHd_Fluid(double flow_m3s, double density_kgm3) const {
    if (usablePieceCount() == 0) return 0.0;
    const double rawHead_mH2O = rawHeadOnCurve(std::abs(flow_m3s)).Head_mH2O;
    const double head_mH2O = std::max(std::min(rawHead_mH2O, headAt(1)), 0.0);
    const double head_mHd = waterToFluidHead(head_mH2O, density_kgm3);
    return flow_m3s < 0.0 ? -head_mHd : head_mHd;
}

// The head is odd in the flow (head(-q) = -head(q)), so its derivative is the
// same for a flow and its reverse. Where the head is held at the shut-off head
// or at 0 it does not change with the flow.
double TPump::calcPumpHead_mHd_Fluid_Differential(double flow_m3s, double density_kgm3) const {
    if (usablePieceCount() == 0) return 0.0;
    const THeadOnCurve raw = rawHeadOnCurve(std::abs(flow_m3s));
    if (raw.Head_mH2O > headAt(1) || raw.Head_mH2O < 0.0) return 0.0;
    return waterToFluidHead(raw.Slope_mH2O_per_m3s, density_kgm3);
}

TPumpCurveCoefficients TPump::calcPumpCurvesCoeff_mHd_Fluid(int curveId, double density_kgm3) const {
    if (curveId > curveCount_) throw EPumpClass(kInvalidCurveId);
    if (pointCount_ < 3) return {};
    if (curveId < 1 || curveId + 2 > pointCount_) throw EPumpClass(kInvalidCurveId);
    const int i = curveId;
    return quadraticThrough(flowAt(i), waterToFluidHead(headAt(i), density_kgm3),              //
                            flowAt(i + 1), waterToFluidHead(headAt(i + 1), density_kgm3),      //
                            flowAt(i + 2), waterToFluidHead(headAt(i + 2), density_kgm3));
}

// The last piece i with Head(i) >= head >= Head(i+2); 0 when none.
int TPump::pieceContainingHead(double head_mH2O) const {
    for (int i = usablePieceCount(); i >= 1; --i) {
        if (headAt(i) >= head_mH2O && head_mH2O >= headAt(i + 2)) return i;
    }
    return 0;
}

// Solves A q² + B q + (C - head) = 0 for the root on the falling side of the
// piece, q = (-B - √D) / (2A) with D = B² - 4 A (C - head). Written as
// q = 2 (C - head) / (-B + √D) when B <= 0, which is the same root without the
// cancellation of -B - √D and which also holds for a straight piece (A = 0).
double TPump::calcPumpFlow_m3s(double head_mH2O) const {
    const int c = pieceContainingHead(head_mH2O);
    if (c == 0) return 0.0;
    const TPumpCurvePiece& piece = pieceAt(c);
    const double constant = piece.C - head_mH2O;
    const double discriminant = piece.B * piece.B - 4.0 * piece.A * constant;
    if (!(discriminant >= 0.0)) return 0.0;
    const double root = std::sqrt(discriminant);
    const double numerator = piece.B <= 0.0 ? 2.0 * constant : -piece.B - root;
    const double denominator = piece.B <= 0.0 ? -piece.B + root : 2.0 * piece.A;
    if (denominator == 0.0) return 0.0;
    const double flow_m3s = std::abs(numerator / denominator);
    return std::isfinite(flow_m3s) ? flow_m3s : 0.0;
}

// Linear between the two points of the last segment i with
// Flow(i) <= flow <= Flow(i+1): v = V(i) + (V(i+1) - V(i)) (flow - Flow(i)) / (Flow(i+1) - Flow(i)).
double TPump::interpolatePointValue(double flow_m3s, double TPumpCurvePoint::*value) const {
    for (int i = pointCount_ - 1; i >= 1; --i) {
        if (flowAt(i) <= flow_m3s && flow_m3s <= flowAt(i + 1)) {
            const TPumpCurvePoint& low = Point(i);
            const TPumpCurvePoint& high = Point(i + 1);
            const double run_m3s = high.Flow_m3s - low.Flow_m3s;
            if (run_m3s == 0.0) return low.*value;
            return low.*value + (high.*value - low.*value) * (flow_m3s - low.Flow_m3s) / run_m3s;
        }
    }
    return 0.0;
}

double TPump::calcPumpNPSHr_mHd_Fluid(double flow_m3s, double density_kgm3) const {
    return waterToFluidHead(interpolatePointValue(flow_m3s, &TPumpCurvePoint::NPSHr_mH2O), density_kgm3);
}

double TPump::calcPumpEfficiency(double flow_m3s) const {
    return interpolatePointValue(flow_m3s, &TPumpCurvePoint::Efficiency);
}

double TPump::GetFlowAtBEP_m3s() const {
    double bestEfficiency = 0.0;
    double bestFlow_m3s = 0.0;
    for (int i = 1; i <= pointCount_; ++i) {
        if (Point(i).Efficiency > bestEfficiency) {
            bestEfficiency = Point(i).Efficiency;
            bestFlow_m3s = Point(i).Flow_m3s;
        }
    }
    return bestFlow_m3s;
}

// Every slot of both tables is written, also beyond the counts.
void TPump::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(name_, NameCapacity);
    writer.WriteByte(RunsAtSetFlowRate);
    writer.WriteDouble(SetFlowRate_m3s);
    writer.WriteByte(SetFlowUnits);
    writer.WriteInt32(PumpSpeed);
    writer.WriteInt32(PreferredOpRegionFromPercent);
    writer.WriteInt32(PreferredOpRegionToPercent);
    writer.WriteInt32(X);
    writer.WriteInt32(Y);
    writer.WriteInt32(Symbol);
    writer.WriteByte(PumpFlowUnits);
    writer.WriteByte(PumpHeadUnits);
    writer.WriteByte(PumpNPSHrUnits);
    writer.WriteInt32(pointCount_);
    for (const TPumpCurvePoint& point : points_) {
        writer.WriteDouble(point.Flow_m3s);
        writer.WriteDouble(point.Head_mH2O);
        writer.WriteDouble(point.Efficiency);
        writer.WriteDouble(point.NPSHr_mH2O);
    }
    writer.WriteInt32(curveCount_);
    for (const TPumpCurvePiece& piece : curves_) {
        writer.WriteInt32(piece.FirstPoint);
        writer.WriteInt32(piece.LastPoint);
        writer.WriteDouble(piece.A);
        writer.WriteDouble(piece.B);
        writer.WriteDouble(piece.C);
    }
    writer.WriteNotes(Notes, NotesCapacity);
}

void TPump::ReadRecord(TByteReader& reader) {
    TPump loaded;
    loaded.name_ = reader.ReadShortString(NameCapacity);
    loaded.RunsAtSetFlowRate = reader.ReadByte();
    loaded.SetFlowRate_m3s = reader.ReadDouble();
    loaded.SetFlowUnits = readUnitIndex(reader);
    loaded.PumpSpeed = reader.ReadInt32();
    loaded.PreferredOpRegionFromPercent = reader.ReadInt32();
    loaded.PreferredOpRegionToPercent = reader.ReadInt32();
    loaded.X = reader.ReadInt32();
    loaded.Y = reader.ReadInt32();
    loaded.Symbol = reader.ReadInt32();
    loaded.PumpFlowUnits = readUnitIndex(reader);
    loaded.PumpHeadUnits = readUnitIndex(reader);
    loaded.PumpNPSHrUnits = readUnitIndex(reader);
    loaded.pointCount_ = readCount(reader, "pump point count", MaxPoints);
    for (TPumpCurvePoint& point : loaded.points_) {
        point.Flow_m3s = reader.ReadDouble();
        point.Head_mH2O = reader.ReadDouble();
        point.Efficiency = reader.ReadDouble();
        point.NPSHr_mH2O = reader.ReadDouble();
    }
    loaded.curveCount_ = readCount(reader, "pump curve count", MaxCurves);
    for (TPumpCurvePiece& piece : loaded.curves_) {
        piece.FirstPoint = reader.ReadInt32();
        piece.LastPoint = reader.ReadInt32();
        piece.A = reader.ReadDouble();
        piece.B = reader.ReadDouble();
        piece.C = reader.ReadDouble();
    }
    loaded.Notes = reader.ReadNotes(NotesCapacity);
    *this = std::move(loaded);
}

void TPump::SaveToFile(const std::filesystem::path& path) const {
    TByteWriter writer;
    WriteRecord(writer);
    try {
        SafeSaveFile(path, writer.Bytes());
    } catch (const ESafeSave&) {
        throw EPumpClass(kCannotWriteFile + path.string());
    }
}

void TPump::LoadFromFile(const std::filesystem::path& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) throw EPumpClass(kCannotReadFile + path.string());
    try {
        TByteReader reader(bytes);
        TPump loaded;
        loaded.ReadRecord(reader);
        if (!reader.AtEnd()) reader.Fail("more data than one pump record");
        *this = std::move(loaded);
    } catch (const EStreamFormatError& error) {
        throw EPumpClass(kNotAPumpFile + path.string() + ": " + error.what());
    }
}
