#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Node_Class.h"
#include "model/VM4_Node_Set_Class.h"
#include "solver/VM4_LinkLookup.h"
#include "solver/VM4_NodeIdSet.h"

class TNetwork;
class TPipe;

// The start-flow estimates of TNetwork::SetAllInitialFlowGuesses. They are
// defined by the plain procedure (kept in the solver tests, which compare the
// estimates bit for bit): the same pipes get the same values, computed with the
// same operations in the same order.
//
// The plain procedure asks again and again for "the first join point whose
// out-pipes all have estimates and that has an in-pipe without one", and for
// "the first node with an out-pipe without an estimate"; every question scans
// every node, and every node's answer scans the whole link table, so a network of
// 1000 pipes costs about a billion steps per estimate. Here each node keeps its
// numbers of out- and in-pipes without an estimate, updated as estimates are set,
// and the nodes that answer each question are kept in a set that gives its lowest
// id at once. The links of each node are listed once, in link-table order, which
// is the order the plain procedure meets them in.
//
// The estimates are written into the pipes as the plain procedure writes them.
// The network must not change between Prepare and SetAllInitialFlowGuesses.
class TInitialFlowEstimates {
public:
    TInitialFlowEstimates();

    // Takes in the open links, the node types and demands, and starts every
    // estimate as not set (the caller has just cleared them). False when the
    // table holds a node id outside 1..1000, or a pipe id outside 1..1000 or on
    // two links: the caller then refuses the table.
    bool Prepare(TNetwork& network);
    // The supply chains, the discharge pipes and the backward fill, at the
    // network's CurrentDischargeVelocity.
    void SetAllInitialFlowGuesses(TNetwork& network);

private:
    struct TNodeFlows {
        TNodeType Type = TNodeType::NotSet;
        bool Used = false;
        double Supply_m3s = 0.0;
        double Discharge_m3s = 0.0;
        std::int32_t OutPipes = 0;
        std::int32_t InPipes = 0;
        std::int32_t OutPipesNotSet = 0;
        std::int32_t InPipesNotSet = 0;
        std::int32_t LastOutLink = 0;  // 0 when none
    };

    // One link as the estimates use it: its ends and its pipe.
    struct TLinkEnds {
        std::int32_t FromNodeId = 0;
        std::int32_t ToNodeId = 0;
        TPipe* Pipe = nullptr;
    };

    void takeInLinks(TNetwork& network);
    void takeInNodes(const TNetwork& network);
    void refreshQuestions(std::int32_t nodeId);

    void setFlowGuess(std::int32_t k, double flow_m3s);
    bool isSet(std::int32_t k) const;

    void setSupplyChains();
    void setDischargeFlowGuesses(double velocity_ms);
    void fillBackwardFromKnownOutFlows(double velocity_ms);
    void setInFlowGuessesFromOutFlows(std::int32_t nodeId);
    void setOutFlowGuessesNotSet(std::int32_t nodeId, double velocity_ms);
    void carryThroughSingleInAndOutFlowNodes(std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s);

    std::vector<TNodeFlows> nodes_;  // indexed by node id
    std::vector<TLinkEnds> links_;   // indexed by link, 1..linkCount_
    std::int32_t linkCount_ = 0;
    TLinkLookup lookup_;
    // Join points whose out-pipes all have estimates, with an in-pipe without one
    // (a dead end only with a net demand).
    TNodeIdSet<TNodeSet::MaxNodes> outFlowsKnown_;
    // Nodes other than tanks with an out-pipe without an estimate.
    TNodeIdSet<TNodeSet::MaxNodes> outFlowsUnknown_;
};
