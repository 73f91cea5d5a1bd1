#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dnl::cli {

enum class Command { Help, Version, Info, Convert, Restore, Modules };

// The target of a conversion: the same four choices the window's selection holds.
struct ConvertChoice {
    std::uint8_t moduleIndex = 0;
    std::int16_t miscValue = 0;
    bool gbr = false;
    bool backup = true;
    // Converts even a file whose examination says the run would not end well, as the window does.
    bool force = false;
    // Says what each file's conversion would do, and changes nothing.
    bool dryRun = false;
};

struct Arguments {
    Command command = Command::Help;
    ConvertChoice choice;
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
