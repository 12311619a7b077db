#include "IrregularNetworks.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

class TIrregularBuilder {
public:
    TIrregularBuilder(TNetwork& network, const TIrregularNetworkPlan& plan)
        : network_(network), random_(plan.Seed) {
        // A c × r grid has (c−1)·r + c·(r−1) streets; about an eighth are left out.
        const double streets = std::max(20, plan.Pipes) * 1.12;
        columns_ = std::max(3, static_cast<std::int32_t>(std::sqrt(streets / 2.0) * uniform(0.8, 1.25)));
        rows_ = std::max(3, static_cast<std::int32_t>(streets / (2.0 * columns_)) + 1);
        while (gridStreets() > std::min(980, static_cast<std::int32_t>(streets)) + 8 && rows_ > 3) --rows_;
    }

    void Build() {
        addJoinPoints();
        addStreets();
        addTanks();
        addEndPressureNodes();
        addDemands();
        closeSomePipes();
    }

private:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
    std::int32_t between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
    }
    bool chance(double share) { return uniform(0.0, 1.0) < share; }
    std::int32_t gridStreets() const { return (columns_ - 1) * rows_ + columns_ * (rows_ - 1); }
    std::int32_t jointAt(std::int32_t x, std::int32_t y) const { return joints_[static_cast<std::size_t>(y * columns_ + x)]; }

    std::int32_t addNode(TNodeType type, std::int32_t x, std::int32_t y, double elevation_m) {
        TNode node;
        node.SetType(type);
        node.X = x;
        node.Y = y;
        node.Elevation_m = elevation_m;
        const std::int32_t id = network_.AddNode(node);
        if (id < 1) throw std::runtime_error("the network refused a node");
        network_.GetNode(id).SetName("N" + std::to_string(id));
        return id;
    }

    std::int32_t addPipe(std::int32_t from, std::int32_t to, double length_m, double diameter_m) {
        TPipe pipe;
        pipe.Copy(network_.DefaultPipe);
        pipe.Length_m = length_m;
        pipe.InnerDiameter_m = diameter_m;
        const std::int32_t id = network_.AddPipeLink(from, to, pipe);
        if (id < 1) throw std::runtime_error("the network refused a pipe");
        network_.GetPipe(id).Name = "P" + std::to_string(id);
        return id;
    }

    void addJoinPoints() {
        for (std::int32_t y = 0; y < rows_; ++y) {
            for (std::int32_t x = 0; x < columns_; ++x) {
                joints_.push_back(addNode(TNodeType::JoinPoint, 40 + 60 * x, 40 + 60 * y, uniform(0.0, 10.0)));
            }
        }
    }

    // A random spanning tree keeps the town connected; of the other streets about
    // a quarter are missing. Pipes point either way.
    void addStreets() {
        struct TStreet {
            std::int32_t A, B;
            double Weight;
        };
        std::vector<TStreet> streets;
        for (std::int32_t y = 0; y < rows_; ++y) {
            for (std::int32_t x = 0; x < columns_; ++x) {
                if (x + 1 < columns_) streets.push_back({jointAt(x, y), jointAt(x + 1, y), uniform(0, 1)});
                if (y + 1 < rows_) streets.push_back({jointAt(x, y), jointAt(x, y + 1), uniform(0, 1)});
            }
        }
        std::vector<std::int32_t> part(1001);
        std::iota(part.begin(), part.end(), 0);
        const auto root = [&part](std::int32_t v) {
            while (part[static_cast<std::size_t>(v)] != v) v = part[static_cast<std::size_t>(v)];
            return v;
        };
        std::vector<TStreet> sorted = streets;
        std::sort(sorted.begin(), sorted.end(), [](const TStreet& a, const TStreet& b) { return a.Weight < b.Weight; });
        for (const TStreet& street : sorted) {
            const std::int32_t a = root(street.A);
            const std::int32_t b = root(street.B);
            const bool inTree = a != b;
            if (inTree) part[static_cast<std::size_t>(a)] = b;
            if (!inTree && chance(0.25)) continue;
            const bool forward = chance(0.5);
            const std::int32_t pipe = addPipe(forward ? street.A : street.B, forward ? street.B : street.A,
                                              uniform(50.0, 200.0), uniform(0.1, 0.3));
            if (!inTree) looseStreets_.push_back(pipe);
            if (chance(0.05)) addFittings(pipe);
        }
    }

    void addFittings(std::int32_t pipeId) {
        TFitting fitting;
        fitting.SetFittingData(1, 1, "Elbow", "", "", "Bend", uniform(0.3, 3.0));
        network_.GetPipe(pipeId).Fittings.AddFitting(fitting, between(1, 4));
    }

    std::int32_t boundaryJoint() {
        switch (between(0, 3)) {
            case 0: return jointAt(between(0, columns_ - 1), 0);
            case 1: return jointAt(between(0, columns_ - 1), rows_ - 1);
            case 2: return jointAt(0, between(0, rows_ - 1));
            default: return jointAt(columns_ - 1, between(0, rows_ - 1));
        }
    }

    // Tanks stand 40 to 80 m above the town; half of them feed it through a pump.
    void addTanks() {
        const std::int32_t tanks = between(1, 4);
        for (std::int32_t t = 0; t < tanks; ++t) {
            const std::int32_t tank = addNode(TNodeType::Tank, 10 + 20 * t, 10, uniform(40.0, 70.0));
            TNode& node = network_.GetNode(tank);
            node.LiquidLevel_m = uniform(1.0, 8.0);
            node.SurfacePressure_bar_g = 0.0;
            const std::int32_t feed = addPipe(tank, boundaryJoint(), uniform(20.0, 80.0), 0.35);
            if (chance(0.5)) addPump(feed);
        }
    }

    void addPump(std::int32_t pipeId) {
        TPipe& pipe = network_.GetPipe(pipeId);
        pipe.HasPump = true;
        pipe.CalcPump = true;
        const double design_m3s = uniform(0.1, 0.3);
        pipe.Pump.AddPumpCurvePoint(0.0, 25.0, 0.0, 1.0);
        pipe.Pump.AddPumpCurvePoint(design_m3s, 21.0, 70.0, 2.0);
        pipe.Pump.AddPumpCurvePoint(3.0 * design_m3s, 8.0, 60.0, 4.0);
        pipe.Pump.calcPumpCurves();
        pipe.PumpElevation_m = 5.0;
    }

    // End pressure nodes at 1.5 to 3 bar gauge take what the demands leave,
    // through service pipes of 50 to 100 mm.
    void addEndPressureNodes() {
        const std::int32_t ends = between(1, 5);
        for (std::int32_t e = 0; e < ends; ++e) {
            const std::int32_t end = addNode(TNodeType::DemandPressure, 10 + 20 * e, 20, uniform(0.0, 5.0));
            network_.GetNode(end).SurfacePressure_bar_g = uniform(1.5, 3.0);
            addPipe(boundaryJoint(), end, uniform(20.0, 80.0), uniform(0.05, 0.1));
        }
    }

    void addDemands() {
        std::int32_t supplies = between(0, 3);
        for (const std::int32_t joint : joints_) {
            TNode& node = network_.GetNode(joint);
            if (supplies > 0 && chance(0.05)) {
                node.JointSupply_m3s = uniform(0.001, 0.005);
                --supplies;
            } else if (chance(0.7)) {
                node.JointDischarge_m3s = uniform(0.0002, 0.001);
            }
        }
    }

    // Only streets outside the spanning tree close, so every join point stays fed.
    void closeSomePipes() {
        const std::int32_t closed = std::min<std::int32_t>(between(0, 3), static_cast<std::int32_t>(looseStreets_.size()));
        for (std::int32_t c = 0; c < closed; ++c) {
            const auto n = static_cast<std::size_t>(between(0, static_cast<std::int32_t>(looseStreets_.size()) - 1));
            network_.RemoveNodeLinkAddClosedPipeLink(looseStreets_[n]);
            looseStreets_.erase(looseStreets_.begin() + static_cast<std::ptrdiff_t>(n));
        }
    }

    TNetwork& network_;
    std::mt19937 random_;
    std::int32_t columns_ = 3;
    std::int32_t rows_ = 3;
    std::vector<std::int32_t> joints_;
    std::vector<std::int32_t> looseStreets_;
};

}  // namespace

void BuildIrregularNetwork(TNetwork& network, const TIrregularNetworkPlan& plan) {
    TIrregularBuilder(network, plan).Build();
}

namespace {

// One Newton solve of the engine from the start estimates of one velocity, to a
// fine head tolerance. True when it converged.
bool solveOnce(TNetwork& network, double velocity_ms) {
    network.SetAllInitialFlowGuesses(velocity_ms);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        TPipe& pipe = network.GetPipe(network.GetNodeLink(k).PipeId);
        pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
    }
    network.MatrixEquationsGenerate();
    TMatrixEquations& engine = network.MatrixEquations;
    engine.HeadToleranceCurrent = 1e-6;
    engine.MaxIterationsCurrent = 200;
    bool solved = false;
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message;
    engine.SolveQVariables(solved, errorCode, log, message);
    return solved;
}

}  // namespace

// Solves, turns the pipes whose flow ran against them, and solves again until
// none does: turning a pipe changes only signs, so one round is mostly enough.
void DrawPipesAlongFlow(TNetwork& network) {
    for (int round = 0; round < 4; ++round) {
        network.PipeLoopsRemoveAllLoops();
        network.PipeLoopsGenerateAllLoops();
        bool solved = false;
        for (const double velocity_ms : {1.0, 0.3, 3.0, 10.0}) {
            if ((solved = solveOnce(network, velocity_ms))) break;
        }
        if (!solved) break;
        std::vector<std::int32_t> against;
        const TMatrixEquations& engine = network.MatrixEquations;
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
            if (engine.QVariables[k] < 0.0L) against.push_back(network.GetNodeLink(k).PipeId);
        }
        for (const std::int32_t pipeId : against) network.ReversePipeLink(pipeId);
        if (against.empty()) break;
    }
    network.PipeLoopsRemoveAllLoops();
}
