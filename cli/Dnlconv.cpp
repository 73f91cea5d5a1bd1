#include "Dnlconv.h"

#include "Arguments.h"
#include "ConvertCommand.h"
#include "ExitCodes.h"
#include "InfoCommand.h"
#include "ModulesCommand.h"

namespace dnl::cli {
namespace {

constexpr char kHelp[] = R"(Usage: dnlconv info FILE...
       dnlconv convert --module M [--format F] [--gbr] [--no-backup] FILE...
       dnlconv modules
       dnlconv --help | --version

Examines DNL files and rewrites them in place for another video module, as the
dnl File transfer Tool window does.

Commands:
  info      show what each file holds: its records, the module its NAME record
            names, its MISC values and the formats they mean, and any problem in
            its structure; the files are only read
  convert   rewrite each file for module M: the NAME record and every MISC
            record; first a backup X.~NL is made beside the file X.dnl
  modules   list the modules with their formats and codes

Options of convert:
  --module M    RQX4, LM5, PZK2, TNWQ8 or JSRY3 (in any case), or 0 to 4
  --format F    a format of the module's list (in any case), or a code such as
                0x0801; the list's first format when not given; not for LM5
  --gbr         mark the GBR signal (adds 0x1000 to the code); TNWQ8 only
  --no-backup   make no backup
  --            everything after it is a FILE

Exit status:
  0  every file was read and well formed (info), or every conversion finished
  1  a file could not be read or has a problem (info), or a conversion did not
     finish (convert)
  2  wrong arguments, a missing file, or two files that would write the same
     file (convert); nothing was touched
)";

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
            out << kHelp;
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
