#include "Arguments.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "ModuleProfiles.h"
#include "TextFormat.h"

namespace dnl::cli {
namespace {

// The options of convert, as given, before they are checked against each other.
struct ConvertOptions {
    std::optional<std::string> module;
    std::optional<std::string> format;
    bool gbr = false;
    bool noBackup = false;
    bool force = false;
};

ParsedArguments Error(std::string text) {
    return {{}, std::move(text)};
}

std::optional<Command> CommandNamed(std::string_view name) {
    if (name == "info") {
        return Command::Info;
    }
    if (name == "convert") {
        return Command::Convert;
    }
    if (name == "modules") {
        return Command::Modules;
    }
    return std::nullopt;
}

// An unsigned number that fills all of `text`, in base `base`.
std::optional<unsigned> WholeNumber(std::string_view text, int base) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool IsHexCode(std::string_view text) {
    return text.starts_with("0x") || text.starts_with("0X");
}

// A code such as 0x0801: the 16 bits are written as they are, whichever list they come from.
std::optional<std::int16_t> FormatCode(std::string_view text) {
    const std::string_view digits = text.substr(2);
    const std::optional<unsigned> code =
        digits.size() <= 4 ? WholeNumber(digits, 16) : std::nullopt;
    if (!code) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*code);
}

bool TakesValue(std::string_view option) {
    return option == "--module" || option == "--format";
}

bool IsSwitch(std::string_view option) {
    return option == "--gbr" || option == "--no-backup" || option == "--force";
}

// Records one option of convert; an error text when it cannot be taken.
std::string TakeOption(std::string_view option, const std::optional<std::string>& value,
                       ConvertOptions& options) {
    if (IsSwitch(option)) {
        if (value) {
            return "option '" + std::string(option) + "' takes no value";
        }
        bool& flag = option == "--gbr"         ? options.gbr
                     : option == "--no-backup" ? options.noBackup
                                               : options.force;
        flag = true;
        return {};
    }
    if (!value) {
        return "option '" + std::string(option) + "' needs a value";
    }
    std::optional<std::string>& slot = option == "--module" ? options.module : options.format;
    if (slot) {
        return "option '" + std::string(option) + "' is given twice";
    }
    slot = *value;
    return {};
}

// Turns the options of convert into the window's four choices.
ParsedArguments ResolveConvert(const ConvertOptions& options, Arguments arguments) {
    if (!options.module) {
        return Error("convert needs --module");
    }
    const std::uint8_t module = ModuleCalled(*options.module);
    if (module == kNoModule) {
        return Error("unknown module '" + *options.module + "'; choose " + ModuleList(", ") +
                     ", or an index from 0 to " + std::to_string(kModuleCount - 1));
    }
    const ModuleProfile& profile = *ProfileFor(module);
    const std::string moduleName(profile.selectorText);
    std::optional<std::int16_t> miscValue = MiscValue(module, 0);
    if (options.format) {
        if (profile.miscList.empty()) {
            return Error(moduleName + " has no formats; --format is not for it");
        }
        miscValue = IsHexCode(*options.format) ? FormatCode(*options.format)
                                               : MiscValueCalled(module, *options.format);
        if (!miscValue) {
            return Error("'" + *options.format + "' is neither a format of " + moduleName +
                         " nor a code from 0x0000 to 0xFFFF; see 'dnlconv modules'");
        }
    }
    if (options.gbr && !profile.gbrCapable) {
        return Error("--gbr is only for " + ModuleList(" or ", [](const ModuleProfile& module) {
                         return module.gbrCapable;
                     }));
    }
    if (arguments.files.empty()) {
        return Error("convert needs at least one FILE");
    }
    arguments.choice = {module, *miscValue, options.gbr, !options.noBackup, options.force};
    return {std::move(arguments), {}};
}

ParsedArguments CheckFiles(Arguments arguments) {
    if (arguments.command == Command::Modules && !arguments.files.empty()) {
        return Error("modules takes no FILE");
    }
    if (arguments.command == Command::Info && arguments.files.empty()) {
        return Error("info needs at least one FILE");
    }
    return {std::move(arguments), {}};
}

// The command's options and files. Options may stand anywhere before "--"; everything after it
// is a file.
ParsedArguments ParseCommand(Command command, std::string_view commandName,
                             const std::vector<std::string>& args) {
    Arguments arguments{command, {}, {}};
    ConvertOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            arguments.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string option = arg.substr(0, equals);
        if (command != Command::Convert || !(TakesValue(option) || IsSwitch(option))) {
            return Error(std::string(commandName) + " has no option '" + option + "'");
        }
        std::optional<std::string> value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (TakesValue(option) && i + 1 < args.size()) {
            value = args[++i];
        }
        if (std::string error = TakeOption(option, value, options); !error.empty()) {
            return Error(std::move(error));
        }
    }
    if (command == Command::Convert) {
        return ResolveConvert(options, std::move(arguments));
    }
    return CheckFiles(std::move(arguments));
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    // Asking for help or the version beats every other argument before "--".
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            return {{Command::Help, {}, {}}, {}};
        }
        if (arg == "--version") {
            return {{Command::Version, {}, {}}, {}};
        }
    }
    if (args.empty()) {
        return Error("no command given; try 'dnlconv --help'");
    }
    const std::optional<Command> command = CommandNamed(args.front());
    if (!command) {
        const bool isOption = args.front().starts_with('-');
        return Error((isOption ? "unknown option '" : "unknown command '") + args.front() +
                     "'; try 'dnlconv --help'");
    }
    return ParseCommand(*command, args.front(), args);
}

}  // namespace dnl::cli
