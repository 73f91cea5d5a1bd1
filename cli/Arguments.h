#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dnl::cli {

enum class Command { Help, Version, Info, Convert, Modules };

// The target of a conversion: the same four choices the window's selection holds.
struct ConvertChoice {
    std::uint8_t moduleIndex = 0;
    std::int16_t miscValue = 0;
    bool gbr = false;
    bool backup = true;
    // Converts even a file whose examination says the run would not end well, as the window does.
    bool force = false;
};

struct Arguments {
    Command command = Command::Help;
    ConvertChoice choice;
    std::vector<std::string> files;
};

// Good arguments, or the one line that says what is wrong with them.
struct ParsedArguments {
    Arguments arguments;
    std::string error;  // empty when the arguments are good
};

// Reads the arguments that follow the program's name. Looks at no file.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

}  // namespace dnl::cli
