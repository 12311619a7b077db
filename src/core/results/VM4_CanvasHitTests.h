#pragma once

class TNetwork;

// What lies under a point of the drawing. Each test takes the raw drawing point
// (px, py), in drawing units before any zoom or pan, and answers the id of the
// item found there: a node id, a pipe id or a free-text index; 0 when nothing
// matches (-1 for the pipe tests, as stated).
//
// Items are matched by their anchor point within a box of ±9 units (strictly
// inside ±10); pipes by the capture band of TNetwork::IsPointOnLine. Where
// several items match, the rule of each test decides which one answers.

// px - 10 < x < px + 10 and py - 10 < y < py + 10.
bool CheckXYMatch(int x, int y, int px, int py);

// The first node in id order at the point.
int CheckNodeClick(const TNetwork& network, int px, int py);
// The last open pipe (link order) under the point; when there is none, the
// answer of CheckClosedPipeClick.
int CheckPipeClick(const TNetwork& network, int px, int py);
// The last closed pipe under the point; -1 when none.
int CheckClosedPipeClick(const TNetwork& network, int px, int py);

// The first open pipe (link order) that carries the item and whose symbol is
// at the point.
int CheckPumpClick(const TNetwork& network, int px, int py);
int CheckPipeFittingClick(const TNetwork& network, int px, int py);
int CheckPipeComponentPressureClick(const TNetwork& network, int px, int py);
int CheckPipeFlowControlClick(const TNetwork& network, int px, int py);
// The first open pipe whose text label is at the point.
int CheckPipeTextClick(const TNetwork& network, int px, int py);

// The first node in id order with a non-zero supply (in) or demand (out) whose
// arrow end, node position plus the arrow's offset, is at the point.
int CheckNodeDemandInClick(const TNetwork& network, int px, int py);
int CheckNodeDemandOutClick(const TNetwork& network, int px, int py);
// The first node in id order whose name label (node position plus the label
// offset) is at the point.
int CheckNodeTextClick(const TNetwork& network, int px, int py);
// The last free text whose anchor is at the point.
int CheckFreeTextClick(const TNetwork& network, int px, int py);
