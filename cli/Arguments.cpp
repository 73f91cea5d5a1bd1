#include "Arguments.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <optional>
#include <string_view>

#include "ModuleProfiles.h"
#include "TextFormat.h"

namespace dnl::cli {
namespace {

// Where the help's descriptions of options start.
constexpr std::size_t kHelpColumn = 16;

constexpr char kDescription[] =
    "Examines DNL files and rewrites them in place for another video module, as the\n"
    "dnl File transfer Tool window does.\n";

constexpr char kInfoDescription[] =
    "Shows what each FILE holds: its records, the module its NAME record names, its\n"
    "MISC values and the formats they mean, and any problem in its structure; the\n"
    "files are only read.\n";

constexpr char kConvertDescription[] =
    "Rewrites each FILE for the module: the NAME record and every MISC record; first\n"
    "a backup X.~NL is made beside the file X.dnl. A file that the rewrite would\n"
    "leave half done or not a file for the module (a broken structure, no end\n"
    "record, no NAME record, or a NAME record that the module's name does not fit)\n"
    "is left untouched, with the reason.\n";

constexpr char kRestoreDescription[] =
    "Puts each FILE's backup X.~NL back as the file X.dnl: it is copied beside the\n"
    "file and renamed over it, so X.dnl is either as it was or the whole backup.\n"
    "The backup stays until you delete it. X.dnl holds its original again, so the\n"
    "marker of an unfinished conversion, .X.dnl.~unfinished, is removed too.\n"
    "Refused when X.dnl has no backup, when another conversion holds it, or when\n"
    "another DNL file (X.DNL) has the same backup name.\n";

constexpr char kJsonHelp[] = "one JSON object per file, one a line, instead of the text";

constexpr char kExitStatus[] = R"(Exit status:
  0  every file was read and well formed (info), or every conversion finished
  1  a file could not be read or has a problem (info), or a conversion did not
     finish or a file was left untouched (convert; with --dry-run, would
     not), or a file was not restored (restore); each such file also gets
     a line on standard error saying why
  2  wrong arguments, a missing file, or two files that would write the same
     file (convert); nothing was touched)";

// The options of convert as given, before they are checked against each other.
struct GivenOptions {
    int module = kNoModule;
    std::string format;
    bool gbr = false;
    bool noBackup = false;
    bool force = false;
    bool dryRun = false;
};

// A code such as 0x0801: the 16 bits are written as they are, whichever list they come from.
std::optional<std::int16_t> FormatCode(std::string_view text) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    if (!hex || text.size() < 3 || text.size() > 6) {
        return std::nullopt;
    }
    unsigned code = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 2, end, code, 16);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(code);
}

// The modules that take the GBR bit: "TNWQ8", or "A or B".
std::string GbrModules() {
    return ModuleList(" or ", [](const ModuleProfile& module) { return module.gbrCapable; });
}

// Takes a module's name in any case, or its index, and hands on the index.
CLI::Validator ModuleChoice() {
    const std::string choices =
        ModuleList(", ") + ", or an index from 0 to " + std::to_string(kModuleCount - 1);
    return {[choices](std::string& text) {
                const std::uint8_t module = ModuleCalled(text);
                if (module == kNoModule) {
                    return "unknown module '" + text + "'; choose " + choices;
                }
                text = std::to_string(module);
                return std::string();
            },
            "", "module"};
}

// The module's code for `format`, or the line that says why there is none.
std::optional<std::int16_t> FormatValue(const ModuleProfile& profile, const std::string& format,
                                        std::string& error) {
    const std::string moduleName(profile.selectorText);
    if (profile.miscList.empty()) {
        error = "--format: " + moduleName + " has no formats";
        return std::nullopt;
    }
    std::optional<std::int16_t> value = MiscValueCalled(profile.index, format);
    if (!value) {
        value = FormatCode(format);
    }
    if (!value) {
        error = "--format: '" + format + "' is not a format of " + moduleName + "; choose " +
                FormatList(profile.index) + ", or a code from 0x0000 to 0xFFFF";
    }
    return value;
}

// Turns the options of convert into the window's choice, or says why they cannot be.
std::string ResolveConvert(const GivenOptions& given, bool formatGiven, Arguments& arguments) {
    const auto module = static_cast<std::uint8_t>(given.module);
    const ModuleProfile& profile = *ProfileFor(module);
    std::optional<std::int16_t> miscValue = MiscValue(module, 0);
    std::string error;
    if (formatGiven) {
        miscValue = FormatValue(profile, given.format, error);
    }
    if (error.empty() && given.gbr && !profile.gbrCapable) {
        error = "--gbr: only for " + GbrModules();
    }
    if (error.empty()) {
        arguments.choice = {.moduleIndex = module, .miscValue = *miscValue, .gbr = given.gbr};
        arguments.options = {
            .backup = !given.noBackup, .force = given.force, .dryRun = given.dryRun};
    }
    return error;
}

ParsedArguments Failure(std::string error) {
    return {{}, std::move(error), {}};
}

CLI::App* AddFilesCommand(CLI::App& app, const std::string& name, const std::string& description,
                          std::vector<std::string>& files) {
    CLI::App* command = app.add_subcommand(name, description);
    command->add_option("FILE", files, "a DNL file")->type_name("")->required();
    return command;
}

// The options of convert, described from the module table.
void AddConvertOptions(CLI::App& convert, GivenOptions& options) {
    convert
        .add_option(
            "--module", options.module,
            ModuleList(" or ") + " (in any case), or 0 to " + std::to_string(kModuleCount - 1))
        ->type_name("MODULE")
        ->required()
        ->transform(ModuleChoice());
    convert
        .add_option(
            "--format", options.format,
            "a format of the module's list (in any case), or a code\n"
            "such as 0x0801; the list's first format when not given;\n"
            "not for " +
                ModuleList(" or ",
                           [](const ModuleProfile& module) { return module.miscList.empty(); }))
        ->type_name("FORMAT");
    convert
        .add_flag("--gbr", options.gbr,
                  "mark the GBR signal (adds 0x1000 to the code); " + GbrModules() + " only")
        ->disable_flag_override();
    convert.add_flag("--no-backup", options.noBackup, "make no backup")->disable_flag_override();
    convert
        .add_flag("--force", options.force,
                  "rewrite even a file that would be left untouched, as\nthe window does")
        ->disable_flag_override();
    convert
        .add_flag("--dry-run", options.dryRun,
                  "say what each file's conversion would do (its NAME and\n"
                  "MISC code, its backup) and change nothing; the exit\n"
                  "status is the one the conversion would give")
        ->disable_flag_override();
}

void AddJsonFlag(CLI::App& command, bool& json) {
    command.add_flag("--json", json, kJsonHelp)->disable_flag_override();
}

// Asking for help beats any mistake in the other arguments.
bool HelpAsked(CLI::App& app) {
    const auto asked = [](CLI::App* command) { return command->get_help_ptr()->count() > 0; };
    return asked(&app) || !app.get_subcommands(asked).empty();
}

// The line for arguments that do not start with a command, naming the commands there are.
std::string NoCommandError(CLI::App& app, const std::vector<std::string>& args) {
    std::string commands;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        commands += (commands.empty() ? "" : ", ") + command->get_name();
    }
    if (args.empty()) {
        return "no command given; choose " + commands;
    }
    const std::string kind = args.front().starts_with('-') ? "option" : "command";
    return "unknown " + kind + " '" + args.front() + "'; choose " + commands;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CLI::App app(kDescription, "dnlconv");
    app.set_version_flag("--version", std::string("dnlconv ") + DNL_VERSION);
    app.require_subcommand(1);
    // A command passes the options it does not know, --version among them, to dnlconv itself.
    app.fallthrough();
    // A path such as /data/x.dnl is a file on Windows too, never an option.
    app.allow_windows_style_options(false);
    app.footer(kExitStatus);
    app.get_formatter()->column_width(kHelpColumn);

    Arguments arguments;
    GivenOptions options;
    CLI::App* info = AddFilesCommand(app, "info", kInfoDescription, arguments.files);
    AddJsonFlag(*info, arguments.json);
    CLI::App* convert = AddFilesCommand(app, "convert", kConvertDescription, arguments.files);
    AddConvertOptions(*convert, options);
    AddJsonFlag(*convert, arguments.json);
    CLI::App* modules =
        app.add_subcommand("modules", "Lists the modules with their formats and codes.\n");
    CLI::App* restore = AddFilesCommand(app, "restore", kRestoreDescription, arguments.files);
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForVersion& version) {
        return {{Command::Version, {}, {}, {}}, {}, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        if (dynamic_cast<const CLI::CallForHelp*>(&error) != nullptr || HelpAsked(app)) {
            return {{Command::Help, {}, {}, {}}, {}, app.help("", CLI::AppFormatMode::All)};
        }
        return Failure(app.get_subcommands().empty() ? NoCommandError(app, args) : error.what());
    }
    arguments.command = info->parsed()      ? Command::Info
                        : modules->parsed() ? Command::Modules
                        : restore->parsed() ? Command::Restore
                                            : Command::Convert;
    if (arguments.command == Command::Convert) {
        const bool formatGiven = convert->get_option("--format")->count() > 0;
        if (std::string error = ResolveConvert(options, formatGiven, arguments); !error.empty()) {
            return Failure(std::move(error));
        }
    }
    return {std::move(arguments), {}, {}};
}

}  // namespace dnl::cli
