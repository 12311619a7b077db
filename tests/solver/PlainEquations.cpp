#include "PlainEquations.h"

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

class TPlainEquations {
public:
    explicit TPlainEquations(const TNetwork& network) : network_(network) {
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links_.push_back(network.GetNodeLink(k));
    }

    TEquationTable Run() {
        addContinuityEquations();
        addLoopEquations();
        return table_;
    }

private:
    std::vector<std::uint8_t>& newRow() {
        table_.Codes.emplace_back(links_.size(), 0);
        table_.Knowns.push_back(0.0);
        return table_.Codes.back();
    }

    // Inflow code 1, outflow code 2 (a link from a node to itself ends as 2); a join
    // point that no link touches has no equation.
    void addContinuityEquations() {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            const TNode& node = network_.GetNode(nodeId);
            if (node.NodeType != TNodeType::JoinPoint) continue;
            std::vector<std::uint8_t> row(links_.size(), 0);
            bool touched = false;
            for (std::size_t k = 0; k < links_.size(); ++k) {
                if (links_[k].ToNodeId == nodeId) row[k] = TMatrixEquations::CodeFlowEnters;
                if (links_[k].FromNodeId == nodeId) row[k] = TMatrixEquations::CodeFlowLeaves;
                touched = touched || links_[k].Touches(nodeId);
            }
            if (!touched) continue;
            newRow() = row;
            table_.Knowns.back() = node.JointDischarge_m3s - node.JointSupply_m3s;
        }
    }

    // Code 3 for a pipe walked from its from-node, 4 against its direction; the
    // constant is the total head at the walk's start less that at its end.
    void addLoopEquations() {
        for (std::int32_t loopId = 1; loopId <= network_.GetPipeLoopCount(); ++loopId) {
            if (!everyPipeHasALink(loopId)) {
                table_.WalkFailed = true;
                return;
            }
            std::vector<std::uint8_t>& row = newRow();
            const std::int32_t startNodeId = loopStartNodeId(loopId);
            std::int32_t currentNodeId = startNodeId;
            for (std::int32_t position = 1; position <= network_.GetPipeLoopPipeCount(loopId); ++position) {
                const std::int32_t pipeId = network_.GetPipeLoopPipe(loopId, position);
                const TNodeLink link = linkOf(pipeId);
                const std::size_t column = slot(indexOf(pipeId) - 1);
                if (currentNodeId == link.FromNodeId) {
                    row[column] = TMatrixEquations::CodeWalkedForward;
                    currentNodeId = link.ToNodeId;
                } else if (currentNodeId == link.ToNodeId) {
                    row[column] = TMatrixEquations::CodeWalkedBackward;
                    currentNodeId = link.FromNodeId;
                } else {
                    table_.WalkFailed = true;
                    return;
                }
            }
            table_.Knowns.back() = totalHead_mHd(startNodeId) - totalHead_mHd(currentNodeId);
        }
    }

    bool everyPipeHasALink(std::int32_t loopId) const {
        const std::int32_t pipeCount = network_.GetPipeLoopPipeCount(loopId);
        for (std::int32_t position = 1; position <= pipeCount; ++position) {
            if (indexOf(network_.GetPipeLoopPipe(loopId, position)) < 1) return false;
        }
        return pipeCount > 0;
    }

    // The position of the pipe's last link, 1-based; -1 when it has none.
    std::int32_t indexOf(std::int32_t pipeId) const {
        std::int32_t index = -1;
        for (std::size_t k = 0; k < links_.size(); ++k) {
            if (links_[k].PipeId == pipeId) index = static_cast<std::int32_t>(k) + 1;
        }
        return index;
    }

    TNodeLink linkOf(std::int32_t pipeId) const { return links_[slot(indexOf(pipeId) - 1)]; }

    // A path starts at its fixed-pressure node; one that runs on through a second
    // such node leaves its first pipe where the second pipe joins it.
    std::int32_t loopStartNodeId(std::int32_t loopId) const {
        const TNodeLink first = linkOf(network_.GetPipeLoopPipe(loopId, 1));
        const bool toNodeFixed = isFixedPressure(first.ToNodeId);
        const std::int32_t start = toNodeFixed ? first.ToNodeId : first.FromNodeId;
        const std::int32_t other = toNodeFixed ? first.FromNodeId : first.ToNodeId;
        if (network_.GetPipeLoopPipeCount(loopId) < 2) return start;
        const TNodeLink second = linkOf(network_.GetPipeLoopPipe(loopId, 2));
        if (!second.Touches(other) && second.Touches(start)) return other;
        return start;
    }

    bool isFixedPressure(std::int32_t nodeId) const {
        const TNodeType type = network_.GetNode(nodeId).NodeType;
        return type == TNodeType::Tank || type == TNodeType::DemandPressure;
    }

    double totalHead_mHd(std::int32_t nodeId) const {
        return network_.GetNode(nodeId).getPressure_mHd_Fluid(network_.Settings.AtmosphericPressure,
                                                               network_.Fluid.Density_kg_m3);
    }

    const TNetwork& network_;
    std::vector<TNodeLink> links_;
    TEquationTable table_;
};

}  // namespace

TEquationTable PlainEquationTable(const TNetwork& network) { return TPlainEquations(network).Run(); }

TEquationTable EquationTableOf(const TNetwork& network) {
    const TMatrixEquations& engine = network.MatrixEquations;
    TEquationTable table;
    for (std::int32_t equation = 1; equation <= engine.NumberOfEquations; ++equation) {
        std::vector<std::uint8_t> row;
        for (std::int32_t k = 1; k <= engine.NumberOfQVariables; ++k) row.push_back(engine.QMatrix[equation][k]);
        table.Codes.push_back(row);
        table.Knowns.push_back(engine.QKnowns[equation]);
    }
    return table;
}
