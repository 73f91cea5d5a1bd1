#include <csignal>

#include "Interrupts.h"

namespace dnl::cli {
namespace {

StopRequest interruptRequest;
volatile std::sig_atomic_t interruptSignal = 0;

// The handler does only what is safe in one: it notes the signal and asks the run to stop. It
// is reset to the default on the way in, so a second signal ends the program.
void OnInterrupt(int signal) {
    interruptSignal = signal;
    interruptRequest.Request();
}

}  // namespace

const StopRequest& CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    return interruptRequest;
}

int InterruptExitCode() {
    return interruptSignal != 0 ? 128 + interruptSignal : 0;
}

}  // namespace dnl::cli
