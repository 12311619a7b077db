#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
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
#include "solver/VM4_InitialFlowEstimates.h"
#include "solver/VM4_LoopGenerator.h"
#include "solver/VM4_LinkLookup.h"
#include "solver/VM4_LoopIndependence.h"
#include "solver/VM4_Matrix_Equations.h"
#include "solver/VM4_SolveTimings.h"
#include "solver/VM4_SpanningTreeLoops.h"
#include "solver/VM4_SystemSummary.h"

class ITableGrid;
class IUserMessages;
class TByteReader;
class TByteWriter;
struct TNetworkFileImage;

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
    // Searches from every node in ascending id order, one per open link touching
    // it, storing the independent loops and paths they find; sets SolveStatusText
    // and lets the user interface process messages before each node. Raises when
    // the open links or the stored loops are not valid tables (a node id outside
    // 1..1000, a pipe id outside 1..1000 or on two links, a stored loop that is
    // empty or holds a pipe twice); the loop table is then left as it was.
    void PipeLoopsGenerateAllLoops();
    // Adds fundamental loops and paths of a spanning tree until the table holds as
    // many independent loops and paths as the open links need (or 1000).
    void PipeLoopsCompleteFromSpanningTree();
    void PipeLoopsRemoveAllLoops();

    // ---- Initial flow estimates (solver/VM4_Network_InitialFlows.cpp) ----------------

    // Every pipe's FlowGuessUncompressed_m3s (and FlowGuessSet) from one discharge
    // velocity, m/s, over the open links; pipes left without an estimate hold 0.
    // Raises, every estimate left at 0, when the open links are not a valid table
    // (a node id outside 1..1000, a pipe id outside 1..1000 or on two links).
    void SetAllInitialFlowGuesses(double dischargeVelocity_ms);
    // Estimate 0 and not set, for every slot of the pipe pool.
    void SetAllInitialFlowGuessesToZero();

    // ---- Equations and node pressures (solver/VM4_Network_Equations.cpp) -------------

    // Fills MatrixEquations from the open links, the stored loops and paths, the
    // pipes and the fluid: one continuity equation per join point touching an open
    // link (ascending id), one head equation per stored loop, one unknown per open
    // link. On failure the user is shown what went wrong and the error is raised
    // again.
    void MatrixEquationsGenerate();
    // Writes the solved flows into the pipes, recomputes them and derives every
    // node's pressure (metres of fluid, gauge) outwards from the tanks and end
    // pressure nodes. Solved becomes false when a connected node gets no pressure;
    // the nodes concerned are logged.
    void ReCalcNetworkFromMatrixQVariables(bool& Solved, std::vector<std::string>& log);
    // The position of the pipe's open link, which is the index of its unknown; -1
    // when it has none.
    std::int32_t getQIndexOfPipeId(std::int32_t pipeId) const;

    // ---- Solve driver (solver/VM4_Network_Solve.cpp, VM4_Network_HeldFlows.cpp) -----

    // The whole calculation; appends to the results log and answers whether the
    // network was solved. Never raises: on any error the link table is put back
    // (sorted by pipe id) and the answer is false.
    bool SolveNetwork(std::vector<std::string>& log);
    // Takes the links of pipes with a switched-on flow control (or a switched-on
    // pump running at its set flow) out of the open table, turning their set flows
    // into a discharge at the from-node and a supply at the to-node.
    void RemoveAllNodeLinksForPipesWithFlowControl();
    void RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    // Puts those links back at the end of the open table, takes the set flows off
    // the nodes again and gives the pipes their set flows.
    void RestoreAllNodeLinksForPipesWithFlowControl();
    void RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate();
    std::int32_t GetFlowControlLinkCount() const { return FlowControlLinkCount; }
    std::int32_t GetSetFlowPumpLinkCount() const { return SetFlowPumpLinkCount; }
    // The pressure drop each flow control must make, and the head each fixed-flow
    // pump must give, from the solved node pressures; a control that would need a
    // negative drop or a pump a negative head makes the result unsolved.
    void SetFlowControlPressureLosses(bool& Solved, std::vector<std::string>& log);
    void SetPumpsSetFlowRatePressureLosses(bool& Solved, std::vector<std::string>& log);
    std::int32_t getIterationCount() const { return MatrixEquations.IterationCount; }
    std::int32_t getIterationCountTotal() const { return MatrixEquations.IterationCountTotal; }

    // ---- Result checks (solver/VM4_Network_ResultChecks.cpp) ------------------------

    // The verdict of one solve attempt, with the engine's iteration count.
    void SolvedMessage(bool Solved, bool FinalPhase, std::vector<std::string>& log, bool SecondPass, bool Negative);
    // Reviews the network and its results, logging every warning; warningCount
    // receives their number. A pump with a negative NPSH available makes Solved false.
    void CheckResults(std::vector<std::string>& log, bool& Solved, std::int32_t& warningCount);
    TSystemSummary GetSystemSummaryData() const;
    // Lowest and highest node pressure, bar gauge; the highest is never below 0.
    // Without nodes: 999999999 and 0.
    void GetMinAndMaxPressureAtAnyNode_bar_g(double& min_bar_g, double& max_bar_g) const;
    // False when an open pipe's outer diameter is not its bore plus twice its wall
    // (within 0.1 mm).
    bool CheckDiameterDataMatchOk() const;

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

    // ---- Network file (VM4_Network_File.cpp) ---------------------------------------

    // Writes the document as a network file, items 1 to 11 in order; the file
    // header becomes version "1.11" with an empty name and date.
    void Save(TByteWriter& writer);
    // Reads a network file. The stream is untrusted: every count, id and link is
    // checked before the document changes, so it is either loaded whole or, on
    // any error, left cleared; ENetworkClass then names what was wrong and the
    // byte offset. Bytes after the free texts are ignored.
    void Load(TByteReader& reader);
    std::string SaveToBytes();
    void LoadFromBytes(const std::string& bytes);
    // Writes a temporary file beside `path` and renames it over `path` only once
    // it is complete: a failed save never destroys the previous file.
    void SaveToFile(const std::filesystem::path& path);
    // A file that cannot be read leaves the document untouched; one that is not
    // a valid network leaves it cleared, as Load does.
    void LoadFromFile(const std::filesystem::path& path);

    // ---- Drawing geometry and selection (VM4_Network_Geometry.cpp) --------------------
    // Coordinates are drawing units; a pipe is the segment between its nodes.

    // The point lies on the segment: within 10 units of a vertical one (y strictly
    // between the ends), or within 15 units plus the integer steepness above or
    // below any other (x strictly between the ends). Ends never count.
    static bool IsPointOnLine(std::int32_t px, std::int32_t py, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                              std::int32_t y2);
    // Moves a point that is on the segment onto it (x to a vertical segment, y to
    // any other). A miss leaves the point alone on a vertical segment and sets it
    // to (0, 0) on any other.
    static void SnapPointToLine(std::int32_t& px, std::int32_t& py, std::int32_t x1, std::int32_t y1,
                                std::int32_t x2, std::int32_t y2);
    // The open pipe under the point; -1 when it is on more than one, 0 when on none.
    std::int32_t IsPointOnAnyNetworkLine(std::int32_t px, std::int32_t py) const;
    // The last open pipe (in link order) under the point among those touching the
    // node, or among those not touching it; 0 when none.
    std::int32_t IsPointOnAnyLineFromThisNode(std::int32_t nodeId, std::int32_t px, std::int32_t py) const;
    std::int32_t IsPointOnAnyLineNotFromThisNode(std::int32_t nodeId, std::int32_t px, std::int32_t py) const;
    // Some node lies on the segment between the two nodes, on the given segment,
    // or on one of the open pipes touching the node.
    bool ExistsNodesOnPipeLinkLine(std::int32_t nodeIdA, std::int32_t nodeIdB) const;
    bool ExistsNodesOnPipeLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const;
    bool ExistsNodesOnAnyLineFromThisNode(std::int32_t nodeId) const;
    // Two nodes share a position, or a node lies on an open pipe.
    bool ExistsAnyNodeOrPipeDrawingIssue() const;

    // Selects the nodes and free texts strictly inside the rectangle (and
    // deselects the rest), remembering where each selected one started.
    void SetSelectedNodes(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Puts every selected node and free text at its selection start plus (dx, dy).
    void MoveSelectedNodes(std::int32_t dx, std::int32_t dy);
    std::int32_t GetNumberOfNodesSelected() const;
    // The lowest selected node id; 0 when none.
    std::int32_t GetSelectedNodeId() const;
    // Removes the selected nodes with all their open and closed pipes; free texts stay.
    void DeleteSelectedNodesAndPipes();

    // From the pump symbol's position: the pump's percentage along the pipe (not
    // limited), its distance from the start in whole metres, then the symbol put
    // back on the pipe. Nothing happens for a pipe without a link.
    void SetPumpPercentagePositionFromXY(std::int32_t pipeId);
    // The symbol on the pipe at the stored percentage, at most 95 % along it and
    // at least 6 units from the from-node when the pipe is long enough.
    void SetPumpXYFromPercentagePosition(std::int32_t pipeId);

    // ---- Result and data tables (results/VM4_Network_*Table*.cpp) -----------------
    // Each writes its column titles in row headerRow, the unit names in the row
    // below and one row per item after them, in the network's display units, and
    // returns the last row it wrote. Cells it does not mention keep what the
    // caller left in them.

    // The open pipes in link order with their results, then the closed pipes.
    int PopulateStringGridPipeResults(ITableGrid& grid, int headerRow) const;
    // Sizes, weights, volumes and areas of the open pipes.
    int PopulateStringGridPipeMaterialResults(ITableGrid& grid, int headerRow) const;
    // Every node in id order with its pressure, grade line and flows.
    int PopulateStringGridNodeResults(ITableGrid& grid, int headerRow) const;
    // The fluid: one data row, in headerRow + 2.
    int PopulateStringGridFluidResults(ITableGrid& grid, int headerRow) const;
    // One row per open pipe that carries a pump, switched on or not.
    int PopulateStringGridPumpResults(ITableGrid& grid, int headerRow) const;
    // No units row: one row per fitting of each open pipe, or one per pipe without fittings.
    int PopulateStringGridFittingResults(ITableGrid& grid, int headerRow) const;
    // Fluid, pipe, fitting, pump and node results under each other, each under its title.
    void PopulateStringGridAllResults(ITableGrid& grid) const;
    // Input data of the open pipes, tanks, end pressure nodes and join points.
    int PopulateStringGridPipeData(ITableGrid& grid, int headerRow) const;
    int PopulateStringGridTankData(ITableGrid& grid, int headerRow) const;
    int PopulateStringGridEndPressureData(ITableGrid& grid, int headerRow) const;
    int PopulateStringGridJointData(ITableGrid& grid, int headerRow) const;

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
    // Where the solve adds the time of each of its phases; none when null.
    TSolveTimings* SolveTimings = nullptr;
    // The equation system and Newton solver, sized once for every link and twice
    // as many equations.
    TMatrixEquations MatrixEquations{TMatrixEquations::MaxQVariables, TMatrixEquations::MaxEquations};

private:
    friend class TInitialFlowEstimates;
    friend class TLoopGenerator;

    using TLinkTable = std::vector<TNodeLink>;

    // Parses and checks the whole stream, then replaces the document; clears it on any error.
    void loadValidated(TByteReader& reader);
    // What Load parses into before the document changes; made on the first load, then reused.
    std::shared_ptr<TNetworkFileImage> fileImage_;

    void clearSolverResultState();
    void resetMatrixEquations();
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

    TLoopGenerator LoopGenerator;
    TLoopIndependence LoopIndependence{TPipeSet::kCapacity};
    TSpanningTreeLoops SpanningTreeLoops{TNodeSet::MaxNodes, MaxLinks};
    std::vector<bool> FixedPressureScratch;
    std::vector<std::int32_t> LoopPipesScratch;
    std::vector<std::int32_t> LinkOfPipeScratch;  // open link of each pipe id during the generation

    // Brings LoopIndependence in line with loops 1..loopCount of the table.
    void holdLoopsForIndependence(std::int32_t loopCount);
    bool isLastLoopIndependentOfEarlier();
    void indexLinksOfPipes();
    bool isLastLoopWalkable() const;
    void processPendingMessages();

    // ---- Initial flow internals ----------------------------------------------------------

    TInitialFlowEstimates InitialFlowEstimates;


    // ---- Solve driver internals ----------------------------------------------------------

    // The local state of one SolveNetwork call.
    struct TSolveState;
    // A join point's demands as the user entered them, kept while a solve adds
    // held flows to them.
    struct TJointDemands {
        double Supply_m3s = 0.0;
        double Discharge_m3s = 0.0;
    };
    std::vector<TJointDemands> JointDemandsBeforeSolve =
        std::vector<TJointDemands>(static_cast<std::size_t>(TNodeSet::MaxNodes) + 1);

    // Equation generation steps; the ids name where a failure happened.
    void clearMatrixEquationsForGeneration();
    void generateContinuityEquations(std::int32_t& equation, std::int32_t& nodeId);
    // Raises when a stored loop is empty or holds a pipe without an open link.
    void checkLoopPipesHaveOpenLinks(std::int32_t& loopId, std::int32_t& pipeId) const;
    void generateLoopEquations(std::int32_t& equation, std::int32_t& loopId, std::int32_t& pipeId);
    TLinkLookup EquationLinks{TNodeSet::MaxNodes, TPipeSet::kCapacity, MaxLinks};
    void generateUnknowns(std::int32_t& pipeId);
    std::int32_t walkStartNodeId(const TNodeLink& first, const TNodeLink* second) const;
    double totalHead_mHd(std::int32_t nodeId) const;
    std::string generationFailureText(std::int32_t phase, std::int32_t nodeId, std::int32_t loopId,
                                      std::int32_t pipeId) const;
    // Pressure recovery steps.
    void writeFlowsIntoPipes();
    std::int32_t setFixedPressureNodes();
    std::int32_t sweepPressuresAlongLinks(std::int32_t alreadyKnown);
    void reportNodesWithoutPressure(std::int32_t known, bool& Solved, std::vector<std::string>& log);

    void holdFlowsOfLinks(TLinkTable& held, std::int32_t& heldCount, bool (*isHeld)(const TPipe&),
                          double (*heldFlow_m3s)(const TPipe&));
    void releaseHeldLinks(TLinkTable& held, std::int32_t& heldCount, double (*heldFlow_m3s)(const TPipe&));
    void keepJointDemands();
    void restoreJointDemands();
    void restoreLinkTablesAfterError(const TSolveState& state);

    // Solve steps.
    void startSolve(TSolveState& state);
    void runLadderPass(TSolveState& state, std::vector<std::string>& log);
    void runAttempt(TSolveState& state, double velocity_ms, std::vector<std::string>& log);
    void startAttempt(double velocity_ms, std::vector<std::string>& log);
    void setApproximatePhase();
    void setFinalPhase();
    void solveQVariables(TSolveState& state, std::vector<std::string>& log, TSolvePhase phase);
    void copyUnknownsIntoPipeFlows();
    void runRefiningPhase(TSolveState& state, std::vector<std::string>& log);
    void refineApproximateSolution(TSolveState& state, std::vector<std::string>& log);
    void decideOnNegativeApproximation(TSolveState& state, std::vector<std::string>& log);
    static bool wasReversedInThisSolve(const TSolveState& state, std::int32_t pipeId);
    void reportFailedApproximation(const TSolveState& state, std::vector<std::string>& log);
    void reversePipesWithNegativeFlow(TSolveState& state, std::vector<std::string>& log);
    bool askToReversePipe(std::int32_t pipeId);
    void finishSolve(TSolveState& state, std::vector<std::string>& log);
    void logFinalSolutionDetails(std::vector<std::string>& log) const;
    void setSolveStatus(const std::string& text);
};
