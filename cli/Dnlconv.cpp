#include "Dnlconv.h"

#include "Arguments.h"
#include "ConvertCommand.h"
#include "ExitCodes.h"
#include "InfoCommand.h"
#include "ModulesCommand.h"
#include "TextFormat.h"

namespace dnl::cli {
namespace {

constexpr char kHelpStart[] = R"(Usage: dnlconv info FILE...
       dnlconv convert --module M [--format F] [--gbr] [--no-backup] [--force]
                       FILE...
       dnlconv modules
       dnlconv --help | --version

Examines DNL files and rewrites them in place for another video module, as the
dnl File transfer Tool window does.

Commands:
  info      show what each file holds: its records, the module its NAME record
            names, its MISC values and the formats they mean, and any problem in
            its structure; the files are only read
  convert   rewrite each file for module M: the NAME record and every MISC
            record; first a backup X.~NL is made beside the file X.dnl. A file
            that the rewrite would leave half done or not a file for M (a
            broken structure, no end record, no NAME record, or a NAME record
            that M's name does not fit) is left untouched, with the reason
  modules   list the modules with their formats and codes

Options of convert:
)";

constexpr char kHelpEnd[] = R"(  --no-backup   make no backup
  --force       rewrite even a file that would be left untouched, as the
                window does
  --            everything after it is a FILE

Exit status:
  0  every file was read and well formed (info), or every conversion finished
  1  a file could not be read or has a problem (info), or a conversion did not
     finish or a file was left untouched (convert); each such file also gets
     a line on standard error saying why
  2  wrong arguments, a missing file, or two files that would write the same
     file (convert); nothing was touched
)";

// The help, with the module names and indexes that the module table holds.
std::string HelpText() {
    std::string help = kHelpStart;
    help += "  --module M    " + ModuleList(" or ") + " (in any case), or 0 to " +
            std::to_string(kModuleCount - 1) + "\n";
    help +=
        "  --format F    a format of the module's list (in any case), or a code such as\n"
        "                0x0801; the list's first format when not given; not for " +
        ModuleList(" or ", [](const ModuleProfile& module) { return module.miscList.empty(); }) +
        "\n";
    help += "  --gbr         mark the GBR signal (adds 0x1000 to the code); " +
            ModuleList(" or ", [](const ModuleProfile& module) { return module.gbrCapable; }) +
            " only\n";
    return help + kHelpEnd;
}

}  // namespace

int RunDnlconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.error.empty()) {
        err << "dnlconv: " << parsed.error << '\n';
        return kExitBadArguments;
    }
    const Arguments& arguments = parsed.arguments;
    switch (arguments.command) {
        case Command::Help:
            out << HelpText();
            return kExitSuccess;
        case Command::Version:
            out << "dnlconv " << DNL_VERSION << '\n';
            return kExitSuccess;
        case Command::Info:
            return InfoCommand(arguments.files, out, err);
        case Command::Convert:
            return ConvertCommand(arguments.files, arguments.choice, out, err);
        case Command::Modules:
            return ModulesCommand(out);
    }
    return kExitBadArguments;
}

int DnlconvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitCode = RunDnlconv(args, out, err);
    // A report that could not be written, to a full disk for instance, is no success.
    if (!out.flush()) {
        err << "dnlconv: cannot write to standard output\n";
        exitCode = exitCode == kExitSuccess ? kExitFailure : exitCode;
    }
    return exitCode;
}

}  // namespace dnl::cli
