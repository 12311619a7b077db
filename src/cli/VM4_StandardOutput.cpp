#include "VM4_StandardOutput.h"

namespace {

constexpr int kExitOutputLost = 2;

}  // namespace

int ExitCodeAfterOutput(int commandCode, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return commandCode;
    err << "velmora-cli: the standard output could not be written\n";
    return kExitOutputLost;
}
