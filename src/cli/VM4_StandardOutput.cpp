#include "VM4_StandardOutput.h"

#include "VM4_ExitCodes.h"

int ExitCodeAfterOutput(int commandCode, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return commandCode;
    err << "velmora-cli: the standard output could not be written\n";
    return kExitFailed;
}
