#include "model/VM4_ComponentPressure_Class.h"

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

const char* const kMaxPointsReached = "TComponentPressure.AddCurvePoint Failed: Max number of curve points reached.";
const char* const kTooFewPointsToGenerate =
    "TComponentPressure.CreateQuadraticCurvePointsFromFirst3Points Failed: The curve needs 3 points.";
const char* const kInvalidPointNo = "TComponentPressure.Point Failed: Invalid point number.";
const char* const kCannotWriteFile = "TComponentPressure.SaveToFile Failed: Could not write the file ";
const char* const kCannotReadFile = "TComponentPressure.LoadFromFile Failed: Could not read the file ";
const char* const kNotAComponentFile = "TComponentPressure.LoadFromFile Failed: Not a valid component file ";

// Curve losses are metres of water; the solver works in metres of the network's fluid.
double waterToFluidHead(double loss_mH2O, double density_kgm3) {
    return convertPressureWithDensity(UNIT_M_H2O, UNIT_M_HD, loss_mH2O, density_kgm3);
}

double barToFluidHead(double loss_bar, double density_kgm3) {
    return convertPressureWithDensity(UNIT_BAR_G, UNIT_M_HD, loss_bar, density_kgm3);
}

std::uint8_t readUnitIndex(TByteReader& reader) {
    const std::uint8_t unit = reader.ReadByte();
    if (!isUnitIndex(unit)) reader.Fail("unit index " + std::to_string(unit) + " does not exist");
    return unit;
}

}  // namespace

// The loss the curve gives at a flow, with its slope; both m.H2O based.
struct TComponentPressure::TLossOnCurve {
    double Loss_mH2O = 0.0;
    double Slope_mH2O_per_m3s = 0.0;
};

TComponentPressure::TComponentPressure() { Clear(); }

void TComponentPressure::Clear() {
    name_.clear();
    Symbol = 0;
    UseCurve = 0;
    FixedLoss_bar = 0.0;
    CurveFlowUnits = UNIT_M3_SEC;
    CurveLossUnits = UNIT_M_H2O;
    ClearComponentPressureCurve();
}

void TComponentPressure::ClearComponentPressureCurve() {
    pointCount_ = 0;
    points_.fill(TComponentCurvePoint{});
}

void TComponentPressure::CopyComponentPressure(const TComponentPressure& source) { *this = source; }

void TComponentPressure::SetName(const std::string& utf8) { name_ = CutToCapacity(utf8, NameCapacity); }

const TComponentCurvePoint& TComponentPressure::Point(int pointNo) const {
    if (pointNo < 1 || pointNo > MaxPoints) throw EComponentPressureClass(kInvalidPointNo);
    return points_[static_cast<std::size_t>(pointNo - 1)];
}

void TComponentPressure::AddCurvePoint(double flow_m3s, double loss_mH2O) {
    if (pointCount_ >= MaxPoints) throw EComponentPressureClass(kMaxPointsReached);
    points_[static_cast<std::size_t>(pointCount_)] = {flow_m3s, loss_mH2O};
    ++pointCount_;
}

// Point i (1..8) at q = Flow(1) + (i - 1) (Flow(3) - Flow(1)) / 7 with loss A q² + B q + C.
void TComponentPressure::CreateQuadraticCurvePointsFromFirst3Points() {
    if (pointCount_ < 3) throw EComponentPressureClass(kTooFewPointsToGenerate);
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    calcQuadraticPumpCoefficents(flowAt(1), lossAt(1), flowAt(2), lossAt(2), flowAt(3), lossAt(3), a, b, c);
    const double first_m3s = flowAt(1);
    const double step_m3s = (flowAt(3) - flowAt(1)) / (MaxPoints - 1);
    ClearComponentPressureCurve();
    for (int i = 1; i <= MaxPoints; ++i) {
        const double q_m3s = first_m3s + (i - 1) * step_m3s;
        AddCurvePoint(q_m3s, a * q_m3s * q_m3s + b * q_m3s + c);
    }
}

bool TComponentPressure::CheckIfCurveContainsNegativeValues() const {
    for (int i = 1; i <= pointCount_; ++i) {
        if (flowAt(i) < 0.0 || lossAt(i) < 0.0) return true;
    }
    return false;
}

// The last segment i with Flow(i) <= q <= Flow(i+1), so that a flow on a shared
// point uses the segment that starts there. Above the curve the last segment is
// extended, below it the first.
int TComponentPressure::segmentForFlow(double q_m3s) const {
    for (int i = pointCount_ - 1; i >= 1; --i) {
        if (flowAt(i) <= q_m3s && q_m3s <= flowAt(i + 1)) return i;
    }
    return q_m3s < flowAt(1) ? 1 : pointCount_ - 1;
}

// loss = s q + (Loss(c) - s Flow(c)) with s = (Loss(c+1) - Loss(c)) / (Flow(c+1) - Flow(c)).
// An extended line may fall below 0; a component takes head away, it never adds
// any, so the loss is held at 0 there.
TComponentPressure::TLossOnCurve TComponentPressure::lossOnCurve(double q_m3s) const {
    if (pointCount_ < 2) return {};
    const int c = segmentForFlow(q_m3s);
    const double run_m3s = flowAt(c + 1) - flowAt(c);
    const double slope = run_m3s != 0.0 ? (lossAt(c + 1) - lossAt(c)) / run_m3s : 0.0;
    const double loss_mH2O = slope * q_m3s + (lossAt(c) - slope * flowAt(c));
    if (loss_mH2O < 0.0) return {};
    return {loss_mH2O, slope};
}

// The size of the loss depends on |flow| only; it takes the sign of the flow so
// that it opposes the flow in either direction.
double TComponentPressure::calcLoss_mHd_Fluid(double flow_m3s, double density_kgm3) const {
    const double loss_mHd = usesCurve() ? waterToFluidHead(lossOnCurve(std::abs(flow_m3s)).Loss_mH2O, density_kgm3)
                                        : barToFluidHead(FixedLoss_bar, density_kgm3);
    return flow_m3s < 0.0 ? -loss_mHd : loss_mHd;
}

// The loss is odd in the flow, so its derivative is the same for a flow and its reverse.
double TComponentPressure::calcLoss_mHd_Fluid_Differential(double flow_m3s, double density_kgm3) const {
    if (!usesCurve()) return 0.0;
    return waterToFluidHead(lossOnCurve(std::abs(flow_m3s)).Slope_mH2O_per_m3s, density_kgm3);
}

// Every point slot is written, also beyond the count.
void TComponentPressure::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(name_, NameCapacity);
    writer.WriteInt32(Symbol);
    writer.WriteByte(UseCurve);
    writer.WriteDouble(FixedLoss_bar);
    writer.WriteByte(CurveFlowUnits);
    writer.WriteByte(CurveLossUnits);
    writer.WriteInt32(pointCount_);
    for (const TComponentCurvePoint& point : points_) {
        writer.WriteDouble(point.Flow_m3s);
        writer.WriteDouble(point.Loss_mH2O);
    }
}

void TComponentPressure::ReadRecord(TByteReader& reader) {
    TComponentPressure loaded;
    loaded.name_ = reader.ReadShortString(NameCapacity);
    loaded.Symbol = reader.ReadInt32();
    loaded.UseCurve = reader.ReadByte();
    loaded.FixedLoss_bar = reader.ReadDouble();
    loaded.CurveFlowUnits = readUnitIndex(reader);
    loaded.CurveLossUnits = readUnitIndex(reader);
    loaded.pointCount_ = reader.ReadInt32();
    if (loaded.pointCount_ < 0 || loaded.pointCount_ > MaxPoints) {
        reader.Fail("component point count " + std::to_string(loaded.pointCount_) + " is outside 0.." +
                    std::to_string(MaxPoints));
    }
    for (TComponentCurvePoint& point : loaded.points_) {
        point.Flow_m3s = reader.ReadDouble();
        point.Loss_mH2O = reader.ReadDouble();
    }
    *this = std::move(loaded);
}

void TComponentPressure::SaveToFile(const std::filesystem::path& path) const {
    TByteWriter writer;
    WriteRecord(writer);
    try {
        SafeSaveFile(path, writer.Bytes());
    } catch (const ESafeSave&) {
        throw EComponentPressureClass(kCannotWriteFile + path.string());
    }
}

void TComponentPressure::LoadFromFile(const std::filesystem::path& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) throw EComponentPressureClass(kCannotReadFile + path.string());
    try {
        TByteReader reader(bytes);
        TComponentPressure loaded;
        loaded.ReadRecord(reader);
        if (!reader.AtEnd()) reader.Fail("more data than one component record");
        *this = std::move(loaded);
    } catch (const EStreamFormatError& error) {
        throw EComponentPressureClass(kNotAComponentFile + path.string() + ": " + error.what());
    }
}
