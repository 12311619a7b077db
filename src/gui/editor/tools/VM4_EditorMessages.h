#pragma once

// The exact texts of the drawing tools' refusals and questions, in one place.
// '\r' is the box's line break.
namespace EditorMessages {

inline constexpr const char* MaxNodesReached = "Node cannot be added. Maximum number of Nodes reached. ";
inline constexpr const char* TankOnPipe = "Node container cannot be added on top of an existing pipe.";
inline constexpr const char* NodeOnPipe = "Node cannot be added on top of an existing pipe.";
inline constexpr const char* ChangeToTank = "Do you wish to change the type of the node to a tank?\r";
inline constexpr const char* ChangeToEndPressure =
    "Do you wish to change the type of the node to an end demand pressure?\r";
inline constexpr const char* ChangeToJoint = "Do you wish to change the type of the node to a joint?\r";
inline constexpr const char* CannotConvertToEndPressure =
    "The node cannot be converted to an End Pressure node.\r\rDemand Pressure nodes must be at the end of a single "
    "pipe.";
inline constexpr const char* MultipleLinesIntersect =
    "A Node cannot be added on a point where multiple lines already intersect. \r\rIf you wish to connect the pipes "
    "at this point then please remove the \rexisting pipes, then add a joint at this point and then re-connect the "
    "pipes \rto the joint.";
inline constexpr const char* SplitPipeQuestion =
    "A Node cannot be added on top of an existing pipe line on the Network \rwithout splitting the pipe into two "
    "sections. \r\rIf the pipe is split you will need to reset the pipe details manually. \r\rDo you wish to add the "
    "node and split the pipe?";
inline constexpr const char* NoOutFlowFromEndPressure =
    "Demand pressure nodes cannot have any out flow pipes. \r\rIf you wish to draw a pipe from this node then you "
    "will first\rneed to change the node type to either a Joint or a tank.";
inline constexpr const char* PipeThroughNodes =
    "Pipe cannot be added. \r\rThe pipe would pass through other nodes on the drawing \rand then some nodes would "
    "appear to be connected when \rthey were not. This is not allowed so as to avoid confusion. \r\rIn order to "
    "create a flow between the chosen points, \rfirst add a separate joint elsewhere and then connect \rthe nodes via "
    "the joint.";
inline constexpr const char* PipeBackAlongPipe =
    "Pipe cannot be added. \r\rCannot draw a pipe line back along a pipe alrady connecting to \rto this node.";
inline constexpr const char* EndPressureSecondPipe =
    "Pipe cannot be added. \r\rCannot connect more than one pipe to a End Pressure Demand node.\r";
inline constexpr const char* MaxPipesReachedStart = "Pipe cannot be added. Maximum number of ";
inline constexpr const char* MaxPipesReachedEnd = " pipes reached. ";
inline constexpr const char* NodesAlreadyConnected =
    "The nodes are already connected. \r\rIf you need to create another flow between these nodes \rthen first add a "
    "joint at a different location and then \rconnect the nodes again via the joint.\r\rIf you were trying to "
    "highlight this node to draw from \rthen you first need to unselect the current node \rby clicking on the yellow "
    "highlight.";
inline constexpr const char* PipeAddFailed = "Pipe cannot be added. \r\rThe maximum number of pipes may have been reached.";

inline constexpr const char* NodeOnNode = "The node cannot be moved on top of another node. ";
inline constexpr const char* NodeOnPipeMove = "The node cannot be moved on top of an exisiting pipe. ";
inline constexpr const char* NodePipeCrossesNode =
    "The node cannot be moved to a position which would cause a joining \rpipe to cross over another node that is "
    "not connected to the pipe. ";
inline constexpr const char* PumpsNotMovable = "Pumps cannot be moved when in results mode.";
inline constexpr const char* FittingsNotMovable = "Fittings cannot be moved when in results mode.";
inline constexpr const char* ComponentsNotMovable = "Components cannot be moved when in results mode.";
inline constexpr const char* FlowControlsNotMovable = "Flow Controls cannot be moved when in results mode.";

inline constexpr const char* SelectionCannotMove =
    "Selection cannot be moved to this position. \r\rEither a node has been placed on top of an existing node or \ra "
    "pipe from one of the nodes now crosses over an unconnected node.\r\rThe operation is disallowed to avoid "
    "confusion with the drawing.";
inline constexpr const char* NothingSelected =
    "No Items are selected. \r\rHighlight a pipe or node and then click on delete or\r\rUse the selection tool to "
    "draw a rectangle around a group\rof items you wish to delete and then click on delete.";
inline constexpr const char* DeletePipeQuestion = "Are you sure you wish to delete the current highlighted pipe? ";
inline constexpr const char* DeleteNodeQuestion =
    "Are you sure you wish to delete the current highlighted node \rand all pipes that connect to the highlighted "
    "node?\r\rYou will not be able to undo this action.";
inline constexpr const char* DeleteSelectionQuestion =
    "Are you sure you wish to delete the selected Nodes \rand all pipes that connect to these nodes?\r\rYou will not "
    "be able to undo this action.";
inline constexpr const char* NothingToCut = "Nothing to Cut. No Items are selected. ";
inline constexpr const char* OnlySingleItems =
    "Items can be moved or deleted as a group but \rCut, Copy and Paste can only be used on individual "
    "items.\r\rPlease reselect a single item.";
inline constexpr const char* CutQuestion =
    "Pipes attached to the selected node will be permanently removed.\r\rDo you still wish to Cut the item?";
inline constexpr const char* NothingToCopy =
    "Nothing to Copy. No Node is selected. \r\rThe selection rectangle must enclose a single node\rbefore the Copy "
    "function can be used.";
inline constexpr const char* NothingToPaste =
    "Nothing to Paste. No Node has been selected. \r\rFirst highlight a node and then use the Cut or Copy function.";
inline constexpr const char* NoRoomToPaste =
    "Could not find an empty area to pase the item. \r\rPlease scroll the window so there is a blank area towards "
    "the\rtop left corner and then try pasting again.";

}  // namespace EditorMessages
