#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"

// Small random networks, drawn well or badly: no supply, isolated nodes, pipes
// from a node to itself, loops of pumps, pipes without length or bore, closed
// pipes cutting the network in two, flow controls that cannot be met, pumps
// at a fixed flow, components. The same seed always draws the same network.
class TDressedRandomNetwork {
public:
    explicit TDressedRandomNetwork(std::uint32_t seed) : random_(seed) {}

    void Draw(TNetwork& network) {
        TNetworkBuilder build(network);
        const int nodeCount = Between(2, 6);
        for (int i = 0; i < nodeCount; ++i) AddNode(network, build);
        const int pipeCount = Between(1, 8);
        for (int i = 0; i < pipeCount; ++i) {
            const std::int32_t from = Between(1, nodeCount);
            // Now and then a pipe from a node to itself.
            const std::int32_t to = Chance(0.1) ? from : Between(1, nodeCount);
            const std::int32_t pipeId = build.AddPipe(from, to, "P" + std::to_string(i + 1), Length(), Bore());
            DressPipe(network.GetPipe(pipeId));
        }
        for (std::int32_t pipeId = 1; pipeId <= pipeCount; ++pipeId) {
            if (Chance(0.15)) network.RemoveNodeLinkAddClosedPipeLink(pipeId);
        }
        TNetworkSettings& settings = network.Settings;
        // Short phases keep a hundred failing attempts quick; the driver is the same.
        settings.MaxIterationsApproxSolution = 30;
        settings.MaxIterationsFinalSolution = 300;
    }

    bool Chance(double probability) { return std::bernoulli_distribution(probability)(random_); }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

    double Length() { return Chance(0.1) ? 0.0 : Uniform(1.0, 500.0); }
    double Bore() { return Chance(0.1) ? 0.0 : Uniform(0.02, 0.3); }

    void AddNode(TNetwork& network, TNetworkBuilder& build) {
        const double elevation_m = Uniform(0.0, 50.0);
        switch (Between(0, 2)) {
            case 0: build.AddTank(0, 0, elevation_m, Uniform(-0.5, 2.0), Uniform(0.0, 10.0)); break;
            case 1: build.AddDemandPressure(0, 0, Uniform(-0.5, 2.0), elevation_m); break;
            default: {
                TNode& joint = network.GetNode(build.AddJoint(0, 0, elevation_m));
                if (Chance(0.4)) joint.JointSupply_m3s = Uniform(0.0, 0.05);
                if (Chance(0.4)) joint.JointDischarge_m3s = Uniform(0.0, 0.05);
            }
        }
    }

    void DressPipe(TPipe& pipe) {
        if (Chance(0.2)) {
            pipe.HasFlowControl = true;
            pipe.FlowControlSetFlow_m3s = Uniform(0.0, 0.1);
        }
        if (Chance(0.2)) {
            pipe.HasPump = true;
            pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
            pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
            pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 3.0);
            pipe.Pump.RunsAtSetFlowRate = Chance(0.3) ? 1 : 0;
            pipe.Pump.SetFlowRate_m3s = Uniform(0.0, 0.05);
        }
        if (Chance(0.2)) {
            pipe.HasComponentPressure = true;
            pipe.ComponentPressure.FixedLoss_bar = Uniform(0.0, 1.0);
        }
    }

    std::mt19937 random_;
};
