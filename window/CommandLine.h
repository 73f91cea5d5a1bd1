#pragma once

#include <QStringList>
#include <optional>

namespace dnl {

// Reads the window's command line, `arguments` with the program first: the file it names, if
// any. --help and --version print their answer and end the program, as does a wrong option or a
// second file, with a line saying why.
std::optional<QString> FileFromCommandLine(const QStringList& arguments);

}  // namespace dnl
