#pragma once

#include "model/VM4_Network_Class.h"

// The start-flow estimates as the straightforward procedure makes them: every
// question scans the nodes in id order and every answer scans the whole link
// table. Written against the network's public tables, it is the oracle the
// product's estimates are compared with bit for bit, so the scan orders and the
// order of every sum are kept exactly: which start velocity of the solve's ladder
// converges depends on these numbers.
//
// Clears every estimate, then sets FlowGuessUncompressed_m3s and FlowGuessSet of
// the pipes of the open links, from one discharge velocity in m/s.
void SetPlainStartFlows(TNetwork& network, double dischargeVelocity_ms);

// The chain step on its own, for the tests of the transcription: carries the flow
// unchanged through nodes of exactly one inflow (supply or in-pipe) and one
// outflow (demand or out-pipe), overwriting what their out-pipes held, counting
// the pipes set in chainCounter; does nothing once the counter reaches 1000.
void CarryPlainChain(TNetwork& network, std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s);
