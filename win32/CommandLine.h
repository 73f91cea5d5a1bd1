#pragma once

#include <string>
#include <vector>

namespace dnl::win32 {

// What the window's command line asks for: the window, with the file it names if any, or one of
// the answers the program gives and then ends.
struct CommandLineRequest {
    enum class Kind { Window, Help, Version, Wrong };
    Kind kind = Kind::Window;
    std::string file;  // UTF-8; empty when none is named
};

// Reads the arguments after the program's name: --help (or -h, /?), --version, or one FILE.
// Another option or a second file is wrong.
CommandLineRequest ReadCommandLine(const std::vector<std::wstring>& arguments);

// The arguments after the program's name on this process's command line.
std::vector<std::wstring> ProgramArguments();

// The text the program answers `kind` with: usage for help and a wrong command line, its name and
// version for --version.
std::string CommandLineAnswer(CommandLineRequest::Kind kind);

// Shows `text` on the program's standard output when it has one (redirected, say), else in a
// message box: a program with a window has no console of its own.
void ShowAnswer(const std::string& text, bool wrong);

}  // namespace dnl::win32
