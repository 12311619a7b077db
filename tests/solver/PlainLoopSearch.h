#pragma once

#include "model/VM4_Network_Class.h"

// The loop and path generation as the straightforward search makes it: from every
// node in id order, one breadth-first search per open link touching it, each step
// scanning the whole link table for the current node's links and every node id for
// the nearest unvisited node (lowest id on equal distances). Written against the
// network's public tables and loop operations, it is the oracle the product's
// loop table is compared with: the same loops, in the same order, each with its
// pipes in the same order. The rank test (TLoopIndependence) and the spanning-tree
// completion are the program's own (one implementation each), called where the
// search calls them.
//
// Adds to the network's loop table as PipeLoopsGenerateAllLoops does.
void GeneratePlainLoopTable(TNetwork& network);

// The searches from one node alone, one per open link touching it, storing what
// they find; for the tests of the transcription itself.
void GeneratePlainLoopsFromNode(TNetwork& network, std::int32_t nodeId);

// The tests on the last loop of the table, for the tests of the transcription:
// removed when an earlier loop holds exactly the same pipes; removed unless it is
// independent of the earlier ones (as pipe sets: it adds an equation they do not
// imply), a single loop and a loop with a pipe no earlier loop holds always kept.
void RemovePlainLastLoopIfDuplicate(TNetwork& network);
void RemovePlainLastLoopUnlessIndependent(TNetwork& network);
