#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Dnlconv.h"
#include "Interrupts.h"

int main(int argc, char* argv[]) {
    // A reader that goes away early, such as `head`, must not kill a conversion halfway through a
    // file: the failed output is reported once the files are done.
    std::signal(SIGPIPE, SIG_IGN);
    const dnl::StopRequest& stop = dnl::cli::CatchInterrupts();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int exitCode = dnl::cli::DnlconvMain(args, std::cout, std::cerr, &stop);
    return dnl::cli::InterruptExitCode() != 0 ? dnl::cli::InterruptExitCode() : exitCode;
}
