#include "solver/VM4_NetworkPhysicalChecks.h"

#include <cmath>
#include <cstddef>

#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"

namespace {

using TSettings = TNetworkSettings;

const char* const kRefusalHeading = "The network was not solved: some of its data are not physically possible.";
const char* const kRefusalClosing = "Correct the data and calculate again.";
// A box longer than this would not fit on the screen; the log has them all.
constexpr std::size_t kProblemsShownInBox = 10;

bool isFinite(double x) { return std::isfinite(x); }
bool isPositive(double x) { return std::isfinite(x) && x > 0.0; }
bool isNotNegative(double x) { return std::isfinite(x) && x >= 0.0; }

// How a value is shown in a problem: a NaN or an infinity as such, anything
// else in the display unit of its quantity (SI when that unit cannot show it).
class TValueTexts {
public:
    explicit TValueTexts(const TNetwork& network) : network_(network) {}

    std::string Plain(int siUnit, std::uint8_t TSettings::*displayUnit, double x) const {
        if (!std::isfinite(x)) return nonFinite(x);
        const int unit = network_.Settings.*displayUnit;
        try {
            return convertUnitsToDisplayText(siUnit, unit, x) + " " + unitName(unit);
        } catch (const EVelmoraError&) {
            return siText(siUnit, x);
        }
    }

    std::string Pressure(int siUnit, std::uint8_t TSettings::*displayUnit, double x) const {
        if (!std::isfinite(x)) return nonFinite(x);
        const int unit = network_.Settings.*displayUnit;
        try {
            return convertPressureToDisplayText(siUnit, unit, x, network_.Settings.AtmosphericPressure,
                                                network_.Fluid.Density_kg_m3) +
                   " " + unitName(unit);
        } catch (const EVelmoraError&) {
            return siText(siUnit, x);
        }
    }

    static std::string Number(double x) { return std::isfinite(x) ? formatFixed(6, x) : nonFinite(x); }

private:
    static std::string nonFinite(double x) {
        if (std::isnan(x)) return "not a number";
        return x > 0 ? "+infinity" : "-infinity";
    }
    static std::string siText(int siUnit, double x) { return formatFixed(6, x) + " " + unitName(siUnit); }

    const TNetwork& network_;
};

std::string problem(const std::string& item, const std::string& quantity, const std::string& value,
                    const std::string& requirement) {
    return item + ": " + quantity + " " + value + ". " + requirement;
}

// ---- Rules by item ------------------------------------------------------------------------

struct TPipeRule {
    const char* Quantity;
    double TPipe::*Value;
    std::uint8_t TSettings::*DisplayUnit;
    bool (*Holds)(double);
    const char* Requirement;
};

const TPipeRule kPipeRules[] = {
    {"length", &TPipe::Length_m, &TSettings::LengthUnit, isPositive, "A pipe's length must be greater than zero."},
    {"inner diameter", &TPipe::InnerDiameter_m, &TSettings::DiameterUnit, isPositive,
     "A pipe's inner diameter must be greater than zero."},
    {"roughness", &TPipe::InnerRoughness_m, &TSettings::RoughnessUnit, isNotNegative,
     "A pipe's roughness must not be negative."},
};

struct TNodeRule {
    const char* Quantity;
    double TNode::*Value;
    bool IsPressure;
    std::uint8_t TSettings::*DisplayUnit;
    int SiUnit;
};

// A node's values may be of any sign, but a solve with a NaN or an infinity among
// them can only end in NaN heads.
const TNodeRule kNodeRules[] = {
    {"elevation", &TNode::Elevation_m, false, &TSettings::ElevationUnit, UNIT_M},
    {"surface pressure", &TNode::SurfacePressure_bar_g, true, &TSettings::SurfacePressureUnit, UNIT_BAR_G},
    {"liquid level", &TNode::LiquidLevel_m, false, &TSettings::LiquidLevelUnit, UNIT_M},
    {"demand flow in", &TNode::JointSupply_m3s, false, &TSettings::FlowRateUnit, UNIT_M3_SEC},
    {"demand flow out", &TNode::JointDischarge_m3s, false, &TSettings::FlowRateUnit, UNIT_M3_SEC},
};

struct TSettingRule {
    const char* Option;
    double TSettings::*Value;
    bool (*Holds)(double);
    const char* Requirement;
};

bool isStepFraction(double x) { return std::isfinite(x) && x > 0.0 && x <= 1.0; }

const TSettingRule kSettingRules[] = {
    {"atmospheric pressure (bar a)", &TSettings::AtmosphericPressure, isPositive, "It must be greater than zero."},
    {"flow balancing tolerance (m³/sec)", &TSettings::FlowBalancingTolerance, isPositive,
     "It must be greater than zero."},
    {"pressure balancing tolerance for the approximate solution (bar)", &TSettings::PressureBalancingToleranceApprox,
     isPositive, "It must be greater than zero."},
    {"pressure balancing tolerance for the final solution (bar)", &TSettings::PressureBalancingToleranceFinal,
     isPositive, "It must be greater than zero."},
    {"final iterations delta reduction factor", &TSettings::DeltaQReductionFactor, isStepFraction,
     "It must be greater than zero and at most 1."},
    {"min velocity for discharge estimates (m/sec)", &TSettings::MinVelocityDischarge, isNotNegative,
     "It must not be negative."},
    {"max velocity for discharge estimates (m/sec)", &TSettings::MaxVelocityDischarge, isPositive,
     "It must be greater than zero."},
};

// ---- Checks -----------------------------------------------------------------------------------

void checkFluid(const TNetwork& network, std::vector<std::string>& problems) {
    const TFluid& fluid = network.Fluid;
    const std::string item = "Fluid " + fluid.Name;
    if (!isPositive(fluid.Density_kg_m3)) {
        problems.push_back(problem(item, "density", TValueTexts(network).Plain(UNIT_KG_M3, &TSettings::DensityUnit,
                                                                               fluid.Density_kg_m3),
                                   "A fluid's density must be greater than zero."));
    }
    if (!isPositive(fluid.DynamicViscosity_cP)) {
        problems.push_back(problem(item, "viscosity", TValueTexts::Number(fluid.DynamicViscosity_cP) + " cP",
                                   "A fluid's viscosity must be greater than zero."));
    }
}

void checkSettings(const TNetwork& network, std::vector<std::string>& problems) {
    for (const TSettingRule& rule : kSettingRules) {
        const double value = network.Settings.*rule.Value;
        if (rule.Holds(value)) continue;
        problems.push_back(std::string("Calculation option ") + rule.Option + ": " + TValueTexts::Number(value) + ". " +
                           rule.Requirement);
    }
    for (std::size_t field = 0; field < TSettings::UnitFieldCount; ++field) {
        const std::uint8_t unit = network.Settings.*TSettings::UnitFields[field];
        if (TSettings::UnitFitsField(field, unit)) continue;
        const std::string unitText = isUnitIndex(unit) ? " (" + unitName(unit) + ")" : "";
        problems.push_back(problem("Display units", std::string("unit of ") + TSettings::UnitFieldQuantity(field),
                                   std::to_string(unit) + unitText,
                                   "It must be a unit of that quantity."));
    }
}

std::string nodeItem(const TNetwork& network, std::int32_t nodeId) {
    const std::string& name = network.GetNode(nodeId).Name;
    return "Node " + (name.empty() ? "Id " + std::to_string(nodeId) : name);
}

void checkNodes(const TNetwork& network, std::vector<std::string>& problems) {
    const TValueTexts texts(network);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        for (const TNodeRule& rule : kNodeRules) {
            const double value = node.*rule.Value;
            if (isFinite(value)) continue;
            const std::string valueText = rule.IsPressure ? texts.Pressure(rule.SiUnit, rule.DisplayUnit, value)
                                                          : texts.Plain(rule.SiUnit, rule.DisplayUnit, value);
            problems.push_back(problem(nodeItem(network, id), rule.Quantity, valueText,
                                       std::string("A node's ") + rule.Quantity + " must be a finite number."));
        }
    }
}

void checkFittings(const std::string& item, const TPipe& pipe, std::vector<std::string>& problems) {
    for (int index = 1; index <= pipe.Fittings.Count(); ++index) {
        const TFitting& fitting = pipe.Fittings.GetFitting(index);
        if (isNotNegative(fitting.KValue)) continue;
        problems.push_back(problem(item, "fitting " + fitting.Description + " K value",
                                   TValueTexts::Number(fitting.KValue), "A fitting's K value must not be negative."));
    }
}

void checkPump(const TNetwork& network, const std::string& item, const TPipe& pipe,
               std::vector<std::string>& problems) {
    if (!pipe.HasPump) return;
    const TPump& pump = pipe.Pump;
    for (int pointNo = 1; pointNo <= pump.PointCount(); ++pointNo) {
        const TPumpCurvePoint& point = pump.Point(pointNo);
        for (double value : {point.Flow_m3s, point.Head_mH2O, point.Efficiency, point.NPSHr_mH2O}) {
            if (isFinite(value)) continue;
            problems.push_back(problem(item, "pump curve point " + std::to_string(pointNo), TValueTexts::Number(value),
                                       "A pump curve must hold finite numbers only."));
            break;
        }
    }
    const TValueTexts texts(network);
    if (!isFinite(pump.SetFlowRate_m3s)) {
        problems.push_back(problem(item, "pump set flow rate",
                                   texts.Plain(UNIT_M3_SEC, &TSettings::FlowRateUnit, pump.SetFlowRate_m3s),
                                   "A pump's set flow rate must be a finite number."));
    }
    if (!isFinite(pipe.PumpElevation_m)) {
        problems.push_back(problem(item, "pump elevation",
                                   texts.Plain(UNIT_M, &TSettings::ElevationUnit, pipe.PumpElevation_m),
                                   "A pump's elevation must be a finite number."));
    }
}

void checkComponent(const std::string& item, const TPipe& pipe, std::vector<std::string>& problems) {
    if (!pipe.HasComponentPressure) return;
    const TComponentPressure& component = pipe.ComponentPressure;
    for (int pointNo = 1; pointNo <= component.PointCount(); ++pointNo) {
        const TComponentCurvePoint& point = component.Point(pointNo);
        if (isFinite(point.Flow_m3s) && isFinite(point.Loss_mH2O)) continue;
        problems.push_back(problem(item, "component curve point " + std::to_string(pointNo),
                                   TValueTexts::Number(isFinite(point.Flow_m3s) ? point.Loss_mH2O : point.Flow_m3s),
                                   "A component curve must hold finite numbers only."));
    }
    if (!isFinite(component.FixedLoss_bar)) {
        problems.push_back(problem(item, "component fixed loss", TValueTexts::Number(component.FixedLoss_bar) + " bar",
                                   "A component's fixed loss must be a finite number."));
    }
}

void checkFlowControl(const TNetwork& network, const std::string& item, const TPipe& pipe,
                      std::vector<std::string>& problems) {
    if (!pipe.HasFlowControl || isFinite(pipe.FlowControlSetFlow_m3s)) return;
    problems.push_back(problem(item, "flow control set flow",
                               TValueTexts(network).Plain(UNIT_M3_SEC, &TSettings::FlowRateUnit,
                                                          pipe.FlowControlSetFlow_m3s),
                               "A flow control's set flow must be a finite number."));
}

void checkPipe(const TNetwork& network, std::int32_t pipeId, std::vector<std::string>& problems) {
    const TPipe& pipe = network.GetPipe(pipeId);
    const std::string item = "Pipe " + (pipe.Name.empty() ? "Id " + std::to_string(pipeId) : pipe.Name);
    const TValueTexts texts(network);
    for (const TPipeRule& rule : kPipeRules) {
        const double value = pipe.*rule.Value;
        if (rule.Holds(value)) continue;
        problems.push_back(problem(item, rule.Quantity, texts.Plain(UNIT_M, rule.DisplayUnit, value), rule.Requirement));
    }
    checkFittings(item, pipe, problems);
    checkPump(network, item, pipe, problems);
    checkComponent(item, pipe, problems);
    checkFlowControl(network, item, pipe, problems);
}

std::string refusalBoxText(const std::vector<std::string>& problems) {
    std::string text = std::string(kRefusalHeading) + "\r";
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShownInBox; ++i) text += "\r" + problems[i];
    if (problems.size() > kProblemsShownInBox) {
        text += "\r... and " + std::to_string(problems.size() - kProblemsShownInBox) +
                " more (see the results log).";
    }
    return text + "\r\r" + kRefusalClosing;
}

}  // namespace

std::vector<std::string> FindPhysicalProblems(const TNetwork& network) {
    std::vector<std::string> problems;
    checkFluid(network, problems);
    checkSettings(network, problems);
    checkNodes(network, problems);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) checkPipe(network, network.GetNodeLink(k).PipeId, problems);
    return problems;
}

bool AcceptPhysicalData(const TNetwork& network, std::vector<std::string>& log) {
    const std::vector<std::string> problems = FindPhysicalProblems(network);
    if (problems.empty()) return true;
    log.insert(log.end(), {" ", ">>> PROBLEM:", kRefusalHeading});
    log.insert(log.end(), problems.begin(), problems.end());
    log.push_back(kRefusalClosing);
    if (network.UserMessages != nullptr) network.UserMessages->ShowInformation(refusalBoxText(problems));
    return false;
}
