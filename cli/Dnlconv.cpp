#include "Dnlconv.h"

#include "Arguments.h"
#include "ConvertCommand.h"
#include "ExitCodes.h"
#include "FileArguments.h"
#include "InfoCommand.h"
#include "ModulesCommand.h"
#include "RestoreCommand.h"

namespace dnl::cli {

int RunDnlconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const StopRequest* stop) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.error.empty()) {
        err << "dnlconv: " << parsed.error << '\n';
        return kExitBadArguments;
    }
    const Arguments& arguments = parsed.arguments;
    switch (arguments.command) {
        case Command::Help:
        case Command::Version:
            out << parsed.printed;
            return kExitSuccess;
        case Command::Info:
            return InfoCommand(FilesNamedBy(arguments.files), arguments.json, out, err);
        case Command::Convert:
            return ConvertCommand(FilesNamedBy(arguments.files), arguments.choice,
                                  arguments.options, arguments.json, out, err, stop);
        case Command::Restore:
            return RestoreCommand(FilesNamedBy(arguments.files), out, err);
        case Command::Modules:
            return ModulesCommand(out);
    }
    return kExitBadArguments;
}

int DnlconvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const StopRequest* stop) {
    int exitCode = RunDnlconv(args, out, err, stop);
    // A report that could not be written, to a full disk for instance, is no success.
    if (!out.flush()) {
        err << "dnlconv: cannot write to standard output\n";
        exitCode = exitCode == kExitSuccess ? kExitFailure : exitCode;
    }
    return exitCode;
}

}  // namespace dnl::cli
