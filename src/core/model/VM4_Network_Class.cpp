#include "model/VM4_Network_Class.h"

#include <algorithm>
#include <utility>

#include "foundations/VM4_Units.h"

namespace {

const char* const kRemoveLinkFailed = "TNetwork.RemoveLink Failed: Specified PipeId may not be valid";
const char* const kRemoveLinkClosedPipeFailed =
    "TNetwork.RemoveLinkClosedPipe Failed: Specified PipeId may not be valid";
// Reading past the used entries would hand out stale or out-of-table links.
const char* const kGetNodeLinkFailed = "TNetwork.GetNodeLink Failed: Specified link index may not be valid";
const char* const kGetNodeLinkClosedPipeFailed =
    "TNetwork.GetNodeLinkClosedPipe Failed: Specified link index may not be valid";
const char* const kGetFreeTextFailed = "TNetwork.GetFreeText Failed: Specified FreeText index may not be valid";
const char* const kLoopIdInvalid = "TNetwork.GetPipeLoop Failed: Specified LoopId may not be valid";

constexpr std::size_t kLinkSlots = TNetwork::MaxLinks + 1;
constexpr std::size_t kLoopSlots = TNetwork::MaxLoops + 1;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

// The name without leading and trailing blanks (and control characters).
std::string trimmed(const std::string& text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

}  // namespace

TNetwork::TNetwork()
    : NodeLinks(kLinkSlots),
      ClosedPipeLinks(kLinkSlots),
      FlowControlLinks(kLinkSlots),
      SetFlowPumpLinks(kLinkSlots),
      FreeTexts(static_cast<std::size_t>(MaxFreeTexts) + 1),
      PipeLoopPipes(kLoopSlots),
      PipeLoopPipeCount(kLoopSlots, 0) {
    Clear();
}

// ---- Life cycle and settings ----------------------------------------------------

void TNetwork::Clear() {
    clearSolverResultState();
    Nodes.Clear();
    Pipes.Clear();
    clearLinkTables();
    clearLoopTable();
    Settings.Clear();
    ResetDefaultPipeValues();
    FillDischargeVelocityEstimates();
    clearFreeTexts();
}

void TNetwork::clearSolverResultState() {
    CurrentDischargeVelocity = 0.0;
    SolveStatusText.clear();
    StopCalculating = false;
    RefinementFailed = false;
    CalculationFailedCount = 0;
    WarningCount = 0;
    resetMatrixEquations();
}

// An empty system with the engine's defaults and counters, as after creation.
void TNetwork::resetMatrixEquations() {
    TMatrixEquations& engine = MatrixEquations;
    engine.FlowTolerance = TMatrixEquations::DefaultFlowTolerance_m3s;
    engine.HeadToleranceApprox = TMatrixEquations::DefaultHeadToleranceApprox_mHd;
    engine.HeadToleranceFinal = TMatrixEquations::DefaultHeadToleranceFinal_mHd;
    engine.MaxIterationsApprox = TMatrixEquations::DefaultMaxIterationsApprox;
    engine.MaxIterationsFinal = TMatrixEquations::DefaultMaxIterationsFinal;
    engine.DeltaQReductionFactor = TMatrixEquations::DefaultDeltaQReductionFactor;
    engine.ClearResults(0, 0);
    engine.IterationCount = 0;
    engine.IterationCountTotal = 0;
    engine.LastSmallValuesReport = 0;
}

void TNetwork::clearLinkTables() {
    for (TLinkTable* table : {&NodeLinks, &ClosedPipeLinks, &FlowControlLinks, &SetFlowPumpLinks}) {
        std::fill(table->begin(), table->end(), TNodeLink{});
    }
    NodeLinkCount = 0;
    ClosedPipeLinkCount = 0;
    FlowControlLinkCount = 0;
    SetFlowPumpLinkCount = 0;
}

void TNetwork::clearLoopTable() {
    for (auto& loop : PipeLoopPipes) loop.fill(0);
    std::fill(PipeLoopPipeCount.begin(), PipeLoopPipeCount.end(), 0);
    PipeLoopCount = 0;
}

void TNetwork::clearFreeTexts() {
    for (TFreeText& text : FreeTexts) text.Clear();
    FreeTextCount = 0;
}

void TNetwork::ResetDefaultPipeValues() {
    DefaultPipe.Clear();
    DefaultPipe.Name = "Default Pipe";
    DefaultPipe.Length_m = 3.048;  // 10 ft
    DefaultPipe.InnerDiameter_m = 0.10226;
    DefaultPipe.InnerRoughness_m = 0.000046;
    DefaultPipe.Material = "Steel";
    DefaultPipe.SizeClass = 100;
    DefaultPipe.NominalSize = "4\"";  // 4 inch
    DefaultPipe.Schedule = "Sch. 40";
    DefaultPipe.OuterDiameter_m = 0.1143;
    DefaultPipe.WallThickness_m = 0.00602;
    DefaultPipe.WeightPerLength_kg_m = 16.0751;
}

bool TNetwork::IsNetworkOkToCalculate() const { return NodeLinkCount != 0 && GetNodeCount() != 0; }

void TNetwork::FillDischargeVelocityEstimates() {
    const double min_ms = Settings.MinVelocityDischarge;
    const double max_ms = Settings.MaxVelocityDischarge;
    // v_i = min + (i - 1) * (max - min) / 100: the largest is one step below max.
    for (std::int32_t i = 1; i <= DischargeVelocityCount; ++i) {
        DischargeVelocityEstimates[slot(i)] = min_ms + (i - 1) * (max_ms - min_ms) / 100;
    }
}

// ---- Pipes ------------------------------------------------------------------------

std::int32_t TNetwork::AddPipe(const TPipe& pipe) { return Pipes.AddPipe(pipe); }

void TNetwork::RemovePipe(std::int32_t pipeId) { Pipes.RemovePipe(pipeId); }

TPipe& TNetwork::GetPipe(std::int32_t pipeId) { return Pipes.GetPipe(pipeId); }

const TPipe& TNetwork::GetPipe(std::int32_t pipeId) const { return Pipes.GetPipe(pipeId); }

std::int32_t TNetwork::GetPipeCount() const { return Pipes.GetPipeCount(); }

std::int32_t TNetwork::GetNextPipeId(std::int32_t pipeId) const {
    if (pipeId == 0) return NodeLinkCount > 0 ? NodeLinks[1].PipeId : 0;
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    return k != 0 && k < NodeLinkCount ? NodeLinks[slot(k + 1)].PipeId : 0;
}

std::int32_t TNetwork::GetPreviousPipeId(std::int32_t pipeId) const {
    if (pipeId == 0) return GetHighestPipeId();
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    return k > 1 ? NodeLinks[slot(k - 1)].PipeId : 0;
}

std::int32_t TNetwork::GetHighestPipeId() const {
    return NodeLinkCount > 0 ? NodeLinks[slot(NodeLinkCount)].PipeId : 0;
}

// ---- Link tables ----------------------------------------------------------------------

std::int32_t TNetwork::findLink(const TLinkTable& table, std::int32_t count, std::int32_t pipeId) {
    for (std::int32_t k = 1; k <= count; ++k) {
        if (table[slot(k)].PipeId == pipeId) return k;
    }
    return 0;
}

bool TNetwork::appendLink(TLinkTable& table, std::int32_t& count, const TNodeLink& link) {
    if (count >= MaxLinks) return false;
    ++count;
    table[slot(count)] = link;
    return true;
}

void TNetwork::removeLinkAt(TLinkTable& table, std::int32_t& count, std::int32_t k) {
    for (std::int32_t i = k; i < count; ++i) table[slot(i)] = table[slot(i + 1)];
    table[slot(count)] = TNodeLink{};
    --count;
}

bool TNetwork::AddLink(std::int32_t fromNodeId, std::int32_t toNodeId, std::int32_t pipeId) {
    return appendLink(NodeLinks, NodeLinkCount, TNodeLink{fromNodeId, toNodeId, pipeId});
}

void TNetwork::RemoveLink(std::int32_t pipeId) {
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    if (k != 0) {
        removeLinkAt(NodeLinks, NodeLinkCount, k);
    } else if (IsPipeClosed(pipeId)) {
        RemoveLinkClosedPipe(pipeId);
    } else {
        throw ENetworkClass(kRemoveLinkFailed);
    }
}

std::int32_t TNetwork::AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe) {
    const std::int32_t pipeId = AddPipe(pipe);
    if (!AddLink(fromNodeId, toNodeId, pipeId)) {
        // A pipe without a link would be invisible yet counted: take it back.
        RemovePipe(pipeId);
        return -1;
    }
    return pipeId;
}

void TNetwork::RemovePipeLink(std::int32_t pipeId) {
    RemoveLink(pipeId);
    RemovePipe(pipeId);
}

void TNetwork::RemovePipeLinkBetweenNodes(std::int32_t fromNodeId, std::int32_t toNodeId) {
    for (std::int32_t k = NodeLinkCount; k >= 1; --k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if (link.FromNodeId == fromNodeId && link.ToNodeId == toNodeId) {
            RemovePipeLink(link.PipeId);
            return;
        }
    }
    throw ENetworkClass(kRemoveLinkFailed);
}

std::int32_t TNetwork::findPipeTouching(const TLinkTable& table, std::int32_t count, std::int32_t nodeId) {
    for (std::int32_t k = 1; k <= count; ++k) {
        if (table[slot(k)].Touches(nodeId)) return table[slot(k)].PipeId;
    }
    return 0;
}

void TNetwork::RemoveAllPipeLinksFromToNode(std::int32_t nodeId) {
    // Each removal shifts the later links down, so every search starts afresh.
    for (std::int32_t pipeId = findPipeTouching(NodeLinks, NodeLinkCount, nodeId); pipeId != 0;
         pipeId = findPipeTouching(NodeLinks, NodeLinkCount, nodeId)) {
        RemovePipeLink(pipeId);
    }
    for (std::int32_t pipeId = findPipeTouching(ClosedPipeLinks, ClosedPipeLinkCount, nodeId); pipeId != 0;
         pipeId = findPipeTouching(ClosedPipeLinks, ClosedPipeLinkCount, nodeId)) {
        RemovePipeLink(pipeId);
    }
}

void TNetwork::ReversePipeLink(std::int32_t pipeId) {
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    if (k == 0) return;
    TNodeLink& link = NodeLinks[slot(k)];
    std::swap(link.FromNodeId, link.ToNodeId);
}

void TNetwork::GetFromAndToNodeIds(std::int32_t pipeId, std::int32_t& fromNodeId, std::int32_t& toNodeId) const {
    fromNodeId = -1;
    toNodeId = -1;
    GetPipeNodes(pipeId, fromNodeId, toNodeId);
}

bool TNetwork::GetPipeNodes(std::int32_t pipeId, std::int32_t& fromNodeId, std::int32_t& toNodeId) const {
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    if (k == 0) return false;
    fromNodeId = NodeLinks[slot(k)].FromNodeId;
    toNodeId = NodeLinks[slot(k)].ToNodeId;
    return true;
}

bool TNetwork::ExistsPipeLink(std::int32_t nodeIdA, std::int32_t nodeIdB) const {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if ((link.FromNodeId == nodeIdA && link.ToNodeId == nodeIdB) ||
            (link.FromNodeId == nodeIdB && link.ToNodeId == nodeIdA)) {
            return true;
        }
    }
    return false;
}

TNodeLink TNetwork::GetNodeLink(std::int32_t k) const {
    if (k < 1 || k > NodeLinkCount) throw ENetworkClass(kGetNodeLinkFailed);
    return NodeLinks[slot(k)];
}

TNodeLink TNetwork::GetNodeLinkClosedPipe(std::int32_t k) const {
    if (k < 1 || k > ClosedPipeLinkCount) throw ENetworkClass(kGetNodeLinkClosedPipeFailed);
    return ClosedPipeLinks[slot(k)];
}

std::int32_t TNetwork::GetNextUndirectedNodeLinkId(std::int32_t nodeId, std::int32_t k) const {
    for (std::int32_t i = k < 0 ? 1 : k + 1; i <= NodeLinkCount; ++i) {
        if (NodeLinks[slot(i)].Touches(nodeId)) return i;
    }
    return -1;
}

void TNetwork::SortNodeLinksByPipeId() {
    for (std::int32_t i = 1; i < NodeLinkCount; ++i) {
        for (std::int32_t j = i + 1; j <= NodeLinkCount; ++j) {
            TNodeLink& earlier = NodeLinks[slot(i)];
            TNodeLink& later = NodeLinks[slot(j)];
            if (later.PipeId < earlier.PipeId) std::swap(earlier, later);
        }
    }
}

std::int32_t TNetwork::GetNumberOfOutFlowPipes(std::int32_t nodeId) const {
    std::int32_t count = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        if (NodeLinks[slot(k)].FromNodeId == nodeId) ++count;
    }
    return count;
}

std::int32_t TNetwork::GetNumberOfInFlowPipes(std::int32_t nodeId) const {
    std::int32_t count = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        if (NodeLinks[slot(k)].ToNodeId == nodeId) ++count;
    }
    return count;
}

std::int32_t TNetwork::GetNumberOfOutFlowPipesNotSet(std::int32_t nodeId) const {
    std::int32_t count = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if (link.FromNodeId == nodeId && !GetPipe(link.PipeId).FlowGuessSet) ++count;
    }
    return count;
}

// ---- Closed pipes ------------------------------------------------------------------------

void TNetwork::RemoveNodeLinkAddClosedPipeLink(std::int32_t pipeId) {
    const std::int32_t k = findLink(NodeLinks, NodeLinkCount, pipeId);
    // Without an open link RemoveLink would drop the closed one and lose the pipe.
    if (k == 0) return;
    if (!appendLink(ClosedPipeLinks, ClosedPipeLinkCount, NodeLinks[slot(k)])) return;
    removeLinkAt(NodeLinks, NodeLinkCount, k);
    // The link has moved before the results are recomputed, so that a failing
    // calculation cannot leave the pipe in both tables.
    TPipe& pipe = GetPipe(pipeId);
    pipe.FlowGuessUncompressed_m3s = 0.0;
    pipe.FlowUncompressed_m3s = 0.0;
    pipe.CalcPipeInfo(Fluid);
}

void TNetwork::RestoreNodeLinkForClosedPipe(std::int32_t pipeId) {
    for (std::int32_t k = 1; k <= ClosedPipeLinkCount; ++k) {
        const TNodeLink& link = ClosedPipeLinks[slot(k)];
        if (link.PipeId == pipeId) AddLink(link.FromNodeId, link.ToNodeId, link.PipeId);
    }
    RemoveLinkClosedPipe(pipeId);
}

void TNetwork::RemoveLinkClosedPipe(std::int32_t pipeId) {
    std::int32_t k = findLink(ClosedPipeLinks, ClosedPipeLinkCount, pipeId);
    if (k == 0) throw ENetworkClass(kRemoveLinkClosedPipeFailed);
    while (k != 0) {
        removeLinkAt(ClosedPipeLinks, ClosedPipeLinkCount, k);
        k = findLink(ClosedPipeLinks, ClosedPipeLinkCount, pipeId);
    }
}

bool TNetwork::IsPipeClosed(std::int32_t pipeId) const {
    return findLink(ClosedPipeLinks, ClosedPipeLinkCount, pipeId) != 0;
}

// ---- Free texts -------------------------------------------------------------------------------

std::int32_t TNetwork::AddFreeText(const std::vector<std::string>& text, std::int32_t x, std::int32_t y,
                                   std::int32_t colour, std::int32_t fontSize, std::uint8_t style) {
    if (FreeTextCount >= MaxFreeTexts) return 0;
    ++FreeTextCount;
    TFreeText& label = FreeTexts[slot(FreeTextCount)];
    label.Text = text;
    label.X = x;
    label.Y = y;
    label.Colour = colour;
    label.FontSize = fontSize;
    label.Style = style;
    return FreeTextCount;
}

TFreeText& TNetwork::GetFreeText(std::int32_t index) {
    if (index < 1 || index > FreeTextCount) throw ENetworkClass(kGetFreeTextFailed);
    return FreeTexts[slot(index)];
}

const TFreeText& TNetwork::GetFreeText(std::int32_t index) const {
    if (index < 1 || index > FreeTextCount) throw ENetworkClass(kGetFreeTextFailed);
    return FreeTexts[slot(index)];
}

void TNetwork::RemoveFreeText(std::int32_t index) {
    if (index < 1 || index > FreeTextCount) return;
    for (std::int32_t i = index; i < FreeTextCount; ++i) FreeTexts[slot(i)].CopyFreeText(FreeTexts[slot(i + 1)]);
    // The vacated slot is cleared so that the next label added there starts unrotated.
    FreeTexts[slot(FreeTextCount)].Clear();
    --FreeTextCount;
}

// ---- Loop table ----------------------------------------------------------------------------------

std::int32_t TNetwork::GetPipeLoopPipeCount(std::int32_t loopId) const {
    if (loopId < 1 || loopId > MaxLoops) throw ENetworkClass(kLoopIdInvalid);
    return PipeLoopPipeCount[slot(loopId)];
}

std::int32_t TNetwork::GetPipeLoopPipe(std::int32_t loopId, std::int32_t slotNumber) const {
    if (loopId < 1 || loopId > MaxLoops || slotNumber < 1 || slotNumber > MaxPipesPerLoop) {
        throw ENetworkClass(kLoopIdInvalid);
    }
    return PipeLoopPipes[slot(loopId)][slot(slotNumber)];
}

// ---- Pipe labels and pump conditions --------------------------------------------------------------

std::string TNetwork::GetPipeLabel(std::int32_t pipeId, bool resultsMode) const {
    const TPipe& pipe = GetPipe(pipeId);
    return resultsMode ? resultsLabel(pipe) : designLabel(pipeId, pipe);
}

// Items each start with a comma; the first comma is dropped at the end,
// e.g. "(3),Main ,D=102.3mm,L=3.0m".
std::string TNetwork::designLabel(std::int32_t pipeId, const TPipe& pipe) const {
    std::string label;
    if (Settings.ShowPipeId) label += ",(" + std::to_string(pipeId) + ")";
    if (Settings.ShowPipeName) label += "," + trimmed(pipe.Name) + " ";
    if (Settings.ShowPipeDiam) {
        label += ",D=" + convertUnitsToText(UNIT_M, Settings.DiameterUnit, 1, pipe.InnerDiameter_m) +
                 unitName(Settings.DiameterUnit);
    }
    if (Settings.ShowPipeLength) {
        label += ",L=" + convertUnitsToText(UNIT_M, Settings.LengthUnit, 1, pipe.Length_m) +
                 unitName(Settings.LengthUnit);
    }
    return label.empty() ? label : label.substr(1);
}

// Results carry no unit name: the results key names the units once.
std::string TNetwork::resultsLabel(const TPipe& pipe) const {
    std::string label;
    if (Settings.ShowPipeName) label += trimmed(pipe.Name) + ", ";
    if (Settings.ShowFlowRate) {
        label += "f=" + convertUnitsToDisplayText(UNIT_M3_SEC, Settings.FlowRateUnit, pipe.FlowUncompressed_m3s);
    } else if (Settings.ShowVelocity) {
        label += "v=" + convertUnitsToDisplayText(UNIT_M_SEC, Settings.VelocityUnit, pipe.Velocity_ms);
    } else if (Settings.ShowPipePressureLoss) {
        label += "dP=" + convertPressureWithDensityToText(UNIT_M_HD, Settings.PressureLossUnit, 3,
                                                          pipe.TotalPressureLoss_mHd_Fluid, Fluid.Density_kg_m3);
    }
    return label;
}

const TNode* TNetwork::pumpInletNode(std::int32_t pipeId) const {
    std::int32_t fromNodeId = 0;
    std::int32_t toNodeId = 0;
    if (!GetPipe(pipeId).HasPump || !GetPipeNodes(pipeId, fromNodeId, toNodeId)) return nullptr;
    return &GetNode(fromNodeId);
}

double TNetwork::GetPumpSuctionPressure_mFluid(std::int32_t pipeId) const {
    const TNode* from = pumpInletNode(pipeId);
    if (from == nullptr) return 0.0;
    const TPipe& pipe = GetPipe(pipeId);
    // The share of the friction loss up to the pump; a pipe of no length has no friction loss.
    const double shareUpToPump = pipe.Length_m > 0.0 ? pipe.PumpDistanceFromStart_m / pipe.Length_m : 0.0;
    // h = h_from - (distance / length) * h_friction + (z_from - z_pump)
    double head_m = from->Pressure_FluidHead_m - shareUpToPump * pipe.PipeFrictionLoss_mHd_Fluid +
                    (from->Elevation_m - pipe.PumpElevation_m);
    // Items placed before the pump take their loss before the fluid reaches it.
    if (pipe.PumpPositionPercent > pipe.FittingsPositionPercent) head_m -= pipe.FittingsLoss_mHd_Fluid;
    if (pipe.PumpPositionPercent > pipe.ComponentPositionPercent) head_m -= pipe.ComponentLoss_mHd_Fluid;
    if (pipe.PumpPositionPercent > pipe.FlowControlPositionPercent) head_m -= pipe.FlowControlLoss_mHd_Fluid;
    return head_m;
}

double TNetwork::GetPumpNPSHa_mFluid(std::int32_t pipeId) const {
    if (pumpInletNode(pipeId) == nullptr) return 0.0;
    const double atmosphere_bar_a = Settings.AtmosphericPressure;
    const double density_kgm3 = Fluid.Density_kg_m3;
    // NPSHa = absolute suction head - vapour pressure head, both metres of fluid absolute
    const double suction_mHd_a = convertPressure(UNIT_M_HD, UNIT_M_HD_A, GetPumpSuctionPressure_mFluid(pipeId),
                                                 atmosphere_bar_a, density_kgm3);
    const double vapour_mHd_a =
        convertPressure(UNIT_BAR_A, UNIT_M_HD_A, Fluid.VapourPressure_bar_a, atmosphere_bar_a, density_kgm3);
    return suction_mHd_a - vapour_mHd_a;
}
