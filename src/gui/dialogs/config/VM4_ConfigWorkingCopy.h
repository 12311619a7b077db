#pragma once

#include "model/VM4_Fluid_Class.h"
#include "model/VM4_NetworkSettings_Class.h"
#include "model/VM4_Pipe_Class.h"

// What the configuration dialog edits: copies of the network's settings, its
// default pipe and its fluid (read for its density only). Nothing reaches the
// network before OK.
struct TConfigWorkingCopy {
    TNetworkSettings Settings;
    TPipe DefaultPipe;
    TFluid Fluid;
};
