#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_FileHeader.h"
#include "model/VM4_FreeText_Class.h"
#include "model/VM4_Fluid_Class.h"
#include "model/VM4_NetworkSettings_Class.h"
#include "model/VM4_NodeLink.h"
#include "model/VM4_Node_Set_Class.h"
#include "model/VM4_Pipe_Class.h"
#include "model/VM4_Pipe_Set_Class.h"
#include "solver/VM4_FastLoopGenerator.h"
#include "solver/VM4_SolverPath.h"

class IUserMessages;

VELMORA_DECLARE_ERROR(ENetworkClass);

// The network document: nodes and pipes in fixed pools, the link table that
// joins pipes to nodes and gives each its flow direction, free texts, the fluid,
// the settings, the values given to new pipes and the solver's working state.
//
// Everything is allocated once, at construction; editing never allocates a
// model object. Node and pipe ids are pool slot numbers 1..1000, link, loop and
// free-text indices are 1-based as well.
//
// Every pipe on the drawing has exactly one link, either in the open link table
// (NodeLinks) or in the closed one. The open table is dense and ordered: the
// position of a pipe's link is the index of its flow unknown during a solve, so
// only the link operations below (and the solver itself) may reorder it.
//
// This unit holds the document and its topology. The solver, the file reader and
// writer and the drawing geometry are further methods of this class, kept in
// sources of their own.
class TNetwork {
public:
    static constexpr std::int32_t MaxLinks = 1000;
    static constexpr std::int32_t MaxFreeTexts = 100;
    static constexpr std::int32_t MaxLoops = 1000;
    static constexpr std::int32_t MaxPipesPerLoop = 1000;
    static constexpr std::int32_t DischargeVelocityCount = 100;

    // Create: every pool and table, the default pipe, then Clear.
    TNetwork();
    TNetwork(const TNetwork&) = delete;
    TNetwork& operator=(const TNetwork&) = delete;

    // ---- Life cycle and settings ---------------------------------------------

    // Empties the document: pools, links, loops, free texts and solver results;
    // settings and default pipe back to their defaults. The fluid and ReservedByte
    // are kept.
    void Clear();
    // DefaultPipe cleared, then the 4" schedule 40 steel pipe new pipes start from.
    void ResetDefaultPipeValues();
    void SetMetricUnits() { Settings.SetMetricUnits(); }
    void SetImperialUnits() { Settings.SetImperialUnits(); }
    // At least one open link and one node.
    bool IsNetworkOkToCalculate() const;
    // The ladder of start velocities: entry i = min + (i - 1) * (max - min) / 100,
    // i = 1..100, from the settings' MinVelocityDischarge and MaxVelocityDischarge.
    void FillDischargeVelocityEstimates();

    // ---- Nodes ----------------------------------------------------------------

    std::int32_t AddNode(const TNode& node) { return Nodes.AddNode(node); }
    void RemoveNode(std::int32_t nodeId) { Nodes.RemoveNode(nodeId); }
    TNode& GetNode(std::int32_t nodeId) { return Nodes.GetNode(nodeId); }
    const TNode& GetNode(std::int32_t nodeId) const { return Nodes.GetNode(nodeId); }
    std::int32_t GetNodeCount() const { return Nodes.GetNodeCount(); }
    std::int32_t GetNextNodeId(std::int32_t nodeId) const { return Nodes.getNextNodeId(nodeId); }
    std::int32_t GetPreviousNodeId(std::int32_t nodeId) const { return Nodes.getPreviousNodeId(nodeId); }
    std::int32_t GetHighestNodeId() const { return Nodes.getHighestNodeId(); }
    std::int32_t ExistsNodeWithSamePosition(std::int32_t x, std::int32_t y) const {
        return Nodes.ExistsNodeWithSamePosition(x, y);
    }

    // ---- Pipes ----------------------------------------------------------------

    std::int32_t AddPipe(const TPipe& pipe);
    void RemovePipe(std::int32_t pipeId);
    TPipe& GetPipe(std::int32_t pipeId);
    const TPipe& GetPipe(std::int32_t pipeId) const;
    std::int32_t GetPipeCount() const;

    // Pipe iteration follows the open link table, not the id order. Start from 0;
    // 0 ends the walk (and is the answer for a pipe without an open link).
    std::int32_t GetNextPipeId(std::int32_t pipeId) const;
    std::int32_t GetPreviousPipeId(std::int32_t pipeId) const;
    // The pipe of the last open link; 0 when there is none.
    std::int32_t GetHighestPipeId() const;

    // ---- Links ----------------------------------------------------------------

    // Appends an open link; false, and nothing changes, when the table is full.
    bool AddLink(std::int32_t fromNodeId, std::int32_t toNodeId, std::int32_t pipeId);
    // Removes the pipe's open link, later links moving down one place; a closed
    // pipe's link is removed from the closed table instead. Raises when neither holds it.
    void RemoveLink(std::int32_t pipeId);
    // AddPipe (raising when the pipe pool is full), then AddLink; when the link
    // table is full the pipe is removed again and the result is -1.
    std::int32_t AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe);
    // RemoveLink, then RemovePipe.
    void RemovePipeLink(std::int32_t pipeId);
    // The pipe of the last open link running exactly from -> to, with its link.
    void RemovePipeLinkBetweenNodes(std::int32_t fromNodeId, std::int32_t toNodeId);
    // Every open and closed pipe touching the node, with its link.
    void RemoveAllPipeLinksFromToNode(std::int32_t nodeId);
    // Swaps the ends of the pipe's open link; nothing for a pipe without one.
    void ReversePipeLink(std::int32_t pipeId);

    // The ends of the pipe's open link; both -1 when it has none.
    void GetFromAndToNodeIds(std::int32_t pipeId, std::int32_t& fromNodeId, std::int32_t& toNodeId) const;
    // The same search, leaving the outputs untouched (and answering false) when
    // the pipe has no open link.
    bool GetPipeNodes(std::int32_t pipeId, std::int32_t& fromNodeId, std::int32_t& toNodeId) const;
    // An open link joins the two nodes, in either direction.
    bool ExistsPipeLink(std::int32_t nodeIdA, std::int32_t nodeIdB) const;

    std::int32_t GetNodeLinkCount() const { return NodeLinkCount; }
    std::int32_t GetClosedPipeLinkCount() const { return ClosedPipeLinkCount; }
    // Entry k, 1 <= k <= the table's count; raises otherwise.
    TNodeLink GetNodeLink(std::int32_t k) const;
    TNodeLink GetNodeLinkClosedPipe(std::int32_t k) const;
    // The first open link index after k whose from- or to-node is the node; -1
    // when none. Start with k = 0.
    std::int32_t GetNextUndirectedNodeLinkId(std::int32_t nodeId, std::int32_t k) const;
    // Exchange sort of the open links by pipe id.
    void SortNodeLinksByPipeId();

    // Open links leaving the node, arriving at it, and leaving it through a pipe
    // that has no start flow estimate yet.
    std::int32_t GetNumberOfOutFlowPipes(std::int32_t nodeId) const;
    std::int32_t GetNumberOfInFlowPipes(std::int32_t nodeId) const;
    std::int32_t GetNumberOfOutFlowPipesNotSet(std::int32_t nodeId) const;

    // ---- Closed pipes ----------------------------------------------------------

    // Closes a pipe: its open link moves to the closed table, and its start
    // estimate and flow become 0 (results recomputed). A pipe without an open
    // link is left alone.
    void RemoveNodeLinkAddClosedPipeLink(std::int32_t pipeId);
    // Opens a pipe: its closed link goes back to the end of the open table.
    // Raises when the pipe is not closed.
    void RestoreNodeLinkForClosedPipe(std::int32_t pipeId);
    // Removes every closed link of the pipe; raises when there is none.
    void RemoveLinkClosedPipe(std::int32_t pipeId);
    bool IsPipeClosed(std::int32_t pipeId) const;

    // ---- Free texts -------------------------------------------------------------

    // Fills the next free-text slot and returns its index; 0 when all 100 are used.
    std::int32_t AddFreeText(const std::vector<std::string>& text, std::int32_t x, std::int32_t y,
                             std::int32_t colour, std::int32_t fontSize, std::uint8_t style);
    // Label `index`, 1 <= index <= GetFreeTextCount(); raises otherwise.
    TFreeText& GetFreeText(std::int32_t index);
    const TFreeText& GetFreeText(std::int32_t index) const;
    // Moves every later label down one place; an index outside the used labels does nothing.
    void RemoveFreeText(std::int32_t index);
    std::int32_t GetFreeTextCount() const { return FreeTextCount; }

    // ---- Loop table (filled by the loop generation before every solve) ------------

    std::int32_t GetPipeLoopCount() const { return PipeLoopCount; }
    std::int32_t GetPipeLoopPipeCount(std::int32_t loopId) const;
    std::int32_t GetPipeLoopPipe(std::int32_t loopId, std::int32_t slot) const;

    // ---- Loop and path generation (solver/VM4_Network_Loops.cpp) ---------------------

    // A new empty loop and its id; -1 when 1000 loops are stored.
    std::int32_t PipeLoopCreate();
    // Empties one loop, keeping the loop count; raises for an id outside 1..1000.
    void PipeLoopClear(std::int32_t loopId);
    // Removes a stored loop, later loops moving down one place; raises for an id
    // that is not stored.
    void PipeLoopRemove(std::int32_t loopId);
    // Appends a pipe to a stored loop and returns its new pipe count; raises for a
    // loop not stored, a pipe id outside 1..1000 or a loop of 1000 pipes.
    std::int32_t PipeLoopAddPipe(std::int32_t loopId, std::int32_t pipeId);
    // Removes the last loop when an earlier loop holds exactly the same pipes.
    void PipeLoopsRemoveLastIfDuplicate();
    // Removes the last loop unless one of its pipes is in no earlier loop; a single
    // loop is always kept.
    void PipeLoopsRemoveLastUnlessAtLeastOneNewPipe();
    // Search scratch: every node without distance, predecessor or visit.
    void PipeLoopsShortestPathClear();
    // Stores the independent loops and paths found by searches from this node, one
    // per open link touching it. Raises when a search does not complete.
    void PipeLoopsGenerateFromNode(std::int32_t nodeId);
    // Every node in ascending id order; sets SolveStatusText and lets the user
    // interface process messages before each.
    void PipeLoopsGenerateAllLoops();
    void PipeLoopsRemoveAllLoops();

    // ---- Initial flow estimates (solver/VM4_Network_InitialFlows.cpp) ----------------

    // Every pipe's FlowGuessUncompressed_m3s (and FlowGuessSet) from one discharge
    // velocity, m/s, over the open links; pipes left without an estimate hold 0.
    void SetAllInitialFlowGuesses(double dischargeVelocity_ms);
    // Estimate 0 and not set, for every slot of the pipe pool.
    void SetAllInitialFlowGuessesToZero();
    // Net supply of a join point with no in-pipe and one out-pipe, carried down the chain.
    void SetAllSingleJointSupplySingleOutFlowGuesses();
    // Area x velocity for every pipe ending at a tank or end pressure node.
    void SetAllDischargeFlowGuesses();
    // The first join point whose out-pipes all have estimates and that has an in-pipe
    // without one (a dead end only with a net demand); -1 when none.
    std::int32_t GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet() const;
    // Shares the inflow the node still needs among its in-pipes without estimates.
    void SetInFlowGuessesFromOutFlows(std::int32_t nodeId);
    // The first node, in id order, not of the excluded type with an out-pipe without
    // an estimate; -1 when none.
    std::int32_t GetNodeIdWithLeastOutFlowsNotSet(TNodeType excludedNodeType) const;
    // Area x velocity for the node's in-pipes without estimates, each carried on
    // from the node as a chain.
    void SetOutFlowGuessesNotSet(std::int32_t nodeId);
    // Carries the flow through nodes of one inflow and one outflow, counting the pipes
    // set in chainCounter; does nothing once the counter reaches 1000.
    void SetSingleInAndOutFlowNode(std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s);

    // ---- Pipe labels and pump conditions -----------------------------------------

    // The text drawn beside a pipe: names and sizes with their units in design
    // mode, the result chosen by the drawing flags (without unit) in results mode.
    std::string GetPipeLabel(std::int32_t pipeId, bool resultsMode) const;
    // Gauge pressure at the pump's inlet, metres of fluid; 0 when the pipe has no
    // pump or no open link.
    double GetPumpSuctionPressure_mFluid(std::int32_t pipeId) const;
    // Net positive suction head available, metres of fluid; 0 when the pipe has no
    // pump or no open link.
    double GetPumpNPSHa_mFluid(std::int32_t pipeId) const;

    // ---- The document's parts ------------------------------------------------------

    TFileHeader FileHeader;
    TNodeSet Nodes;
    TPipeSet Pipes;
    std::uint8_t ReservedByte = 0;  // written after the file header; always 0
    TFluid Fluid;                   // water after construction; Clear keeps it
    TNetworkSettings Settings;
    TPipe DefaultPipe;  // values copied into every newly drawn pipe

    // ---- Solver state --------------------------------------------------------------

    // Start velocities of the solve ladder, m/s, indices 1..100 (0 unused).
    std::array<double, DischargeVelocityCount + 1> DischargeVelocityEstimates{};
    double CurrentDischargeVelocity = 0.0;
    std::string SolveStatusText;      // one line for the calculating panel
    bool StopCalculating = false;     // set by the Stop button, tested by the solve
    bool RefinementFailed = false;    // a refining phase did not converge
    std::int32_t CalculationFailedCount = 0;
    std::int32_t WarningCount = 0;    // warnings of the last result check
    // Where the solver's status and message processing go; none when null.
    IUserMessages* UserMessages = nullptr;
    // Fast in production; Reference runs the plain algorithms, for comparison.
    TSolverPath SolverPath = TSolverPath::Fast;

private:
    friend class TFastLoopGenerator;

    using TLinkTable = std::vector<TNodeLink>;

    void clearSolverResultState();
    void clearLinkTables();
    void clearLoopTable();
    void clearFreeTexts();

    // Index of the pipe's first link in a table, 0 when absent.
    static std::int32_t findLink(const TLinkTable& table, std::int32_t count, std::int32_t pipeId);
    static std::int32_t findPipeTouching(const TLinkTable& table, std::int32_t count, std::int32_t nodeId);
    static bool appendLink(TLinkTable& table, std::int32_t& count, const TNodeLink& link);
    static void removeLinkAt(TLinkTable& table, std::int32_t& count, std::int32_t k);

    std::string designLabel(std::int32_t pipeId, const TPipe& pipe) const;
    std::string resultsLabel(const TPipe& pipe) const;
    // The from-node of a pipe with a pump and an open link; null otherwise.
    const TNode* pumpInletNode(std::int32_t pipeId) const;

    // Tables indexed 1..capacity; entry 0 is unused.
    TLinkTable NodeLinks;
    std::int32_t NodeLinkCount = 0;
    TLinkTable ClosedPipeLinks;
    std::int32_t ClosedPipeLinkCount = 0;
    // Filled only during a solve: links taken out for pipes whose flow is held.
    TLinkTable FlowControlLinks;
    std::int32_t FlowControlLinkCount = 0;
    TLinkTable SetFlowPumpLinks;
    std::int32_t SetFlowPumpLinkCount = 0;

    std::vector<TFreeText> FreeTexts;
    std::int32_t FreeTextCount = 0;

    // Pipe ids of each loop in walking order; slots past a loop's pipe count hold 0.
    std::vector<std::array<std::int32_t, MaxPipesPerLoop + 1>> PipeLoopPipes;
    std::vector<std::int32_t> PipeLoopPipeCount;
    std::int32_t PipeLoopCount = 0;

    // ---- Loop generation internals -----------------------------------------------------

    // One node's state in the loop search; indexed by node id 1..1000.
    struct TShortestPathEntry {
        std::int32_t Distance = 0;        // in pipes; the largest int32 means not reached
        std::int32_t PreviousNodeId = 0;
        std::int32_t PreviousPipeId = 0;  // the pipe by which the node was reached
        bool Visited = false;
    };
    static constexpr std::int32_t MaxShortestPathNodes = 1000;
    std::array<TShortestPathEntry, MaxShortestPathNodes + 1> ShortestPath{};
    TFastLoopGenerator FastLoops;

    std::int32_t countEqualLoopPipePairs(std::int32_t loopIdA, std::int32_t loopIdB) const;
    bool isPipeInLoop(std::int32_t pipeId, std::int32_t loopId) const;
    bool isPipeInAnyLoopBefore(std::int32_t pipeId, std::int32_t loopId) const;
    void removeLastLoopIfDuplicateOrDependent();
    void searchFromNodeAcrossLink(std::int32_t startNodeId, std::int32_t closingLink);
    std::int32_t neighbourAcrossLink(const TNodeLink& link, std::int32_t nodeId) const;
    void relaxLinksOfNode(std::int32_t nodeId, std::int32_t distance, std::int32_t startNodeId,
                          std::int32_t closingLink);
    std::int32_t nearestUnvisitedNode(std::int32_t currentDistance) const;
    void addPipesBackToStart(std::int32_t loopId, std::int32_t nodeId, std::int32_t startNodeId);
    void recordPath(std::int32_t reachedNodeId, std::int32_t startNodeId);
    void recordClosedLoop(std::int32_t startNodeId, std::int32_t closingLink);
    void processPendingMessages();

    // ---- Initial flow internals ----------------------------------------------------------

    void fillFlowGuessesBackwardFromKnownOutFlows();
    void shareInFlowAmongUnsetInPipes(std::int32_t nodeId, double requiredInFlow_m3s, double unsetInFlowArea_m2,
                                      std::int32_t unsetInFlowPipes);
    std::int32_t numberOfInFlowPipesNotSet(std::int32_t nodeId) const;
    std::int32_t lastOutFlowLink(std::int32_t nodeId) const;
};
