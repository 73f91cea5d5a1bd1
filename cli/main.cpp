#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Dnlconv.h"
#include "ExitCodes.h"

int main(int argc, char* argv[]) {
    // A reader that goes away early, such as `head`, must not kill a conversion halfway through a
    // file: the failed output is reported once the files are done.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    int exitCode = dnl::cli::RunDnlconv(args, std::cout, std::cerr);
    // A report that could not be written, to a full disk for instance, is no success.
    if (!std::cout.flush()) {
        std::cerr << "dnlconv: cannot write to standard output\n";
        exitCode = exitCode == dnl::cli::kExitSuccess ? dnl::cli::kExitFailure : exitCode;
    }
    return exitCode;
}
