#pragma once

#include "StopRequest.h"

namespace dnl::cli {

// Ctrl+C, a request to terminate and the end of the terminal's session ask the conversion under
// way to stop between two records, rather than end the program in the middle of one and leave a
// file half written with nothing said. A second one ends the program at once.

// Catches them from now on; the returned request is set when one comes.
const StopRequest& CatchInterrupts();

// What the program should exit with after an interrupt: 128 plus the signal's number (130 for
// Ctrl+C, 143 for a request to terminate); 0 when none came.
int InterruptExitCode();

}  // namespace dnl::cli
