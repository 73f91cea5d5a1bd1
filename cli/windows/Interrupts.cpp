#include <windows.h>

#include <atomic>

#include "Interrupts.h"

namespace dnl::cli {
namespace {

// The exit codes a POSIX shell would show for the same requests.
constexpr int kInterruptedCode = 130;
constexpr int kTerminatedCode = 143;

StopRequest interruptRequest;
std::atomic<int> interruptCode{0};

// Runs on a thread of its own. Ctrl+C and Ctrl+Break ask the run to stop; a second one is left
// to the system, which ends the program. Closing the console, logging off and shutting down end
// the program once this handler returns, so it waits for the run to stop and the program to exit.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    if (interrupt && interruptRequest.Requested()) {
        return FALSE;
    }
    interruptCode = interrupt ? kInterruptedCode : kTerminatedCode;
    interruptRequest.Request();
    if (!interrupt) {
        Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

const StopRequest& CatchInterrupts() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    return interruptRequest;
}

int InterruptExitCode() {
    return interruptCode;
}

}  // namespace dnl::cli
