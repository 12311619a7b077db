#pragma once

#include <ostream>

// A command whose standard output was lost (a full disk, a closed pipe) has
// failed, whatever it did: the exit code then says so (1), with the reason on
// `err`; otherwise it is the command's own. The output is flushed first, as the
// last of it may still be in the stream's buffer.
int ExitCodeAfterOutput(int commandCode, std::ostream& out, std::ostream& err);
