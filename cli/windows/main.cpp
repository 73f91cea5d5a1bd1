#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "Dnlconv.h"
#include "Interrupts.h"
#include "Utf8Output.h"
#include "WideText.h"

// wmain receives the arguments as UTF-16, so a file named in any script reaches the engine intact
// as UTF-8; the arguments main() would get are in the ANSI code page.
int wmain(int argc, wchar_t* argv[]) {
    const dnl::cli::Utf8Output out(std::cout, stdout, STD_OUTPUT_HANDLE);
    const dnl::cli::Utf8Output err(std::cerr, stderr, STD_ERROR_HANDLE);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(dnl::Utf8FromWide(argv[i]));
    }
    const dnl::StopRequest& stop = dnl::cli::CatchInterrupts();
    const int exitCode = dnl::cli::DnlconvMain(args, std::cout, std::cerr, &stop);
    return dnl::cli::InterruptExitCode() != 0 ? dnl::cli::InterruptExitCode() : exitCode;
}
