#pragma once

#include <string>
#include <vector>

#include "ConversionRun.h"

namespace dnl::cli {

enum class Command { Help, Version, Info, Convert, Restore, Modules };

// How convert goes about each file.
struct ConvertOptions {
    bool backup = true;
    // Converts even a file whose examination says the run would not end well, as the window does.
    bool force = false;
    // Says what each file's conversion would do, and changes nothing.
    bool dryRun = false;
    bool operator==(const ConvertOptions&) const = default;
};

struct Arguments {
    Command command = Command::Help;
    ConversionChoice choice;  // what convert converts to, as the window's selection holds it
    ConvertOptions options;
    std::vector<std::string> files;
    bool json = false;  // one JSON object per file (info and convert)
};

// Good arguments, or the one line that says what is wrong with them.
struct ParsedArguments {
    Arguments arguments;
    std::string error;    // empty when the arguments are good
    std::string printed;  // the help or the version, for those commands
};

// Reads the arguments that follow the program's name. Looks at no file.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

}  // namespace dnl::cli
