#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ConverterState.h"
#include "StatusLog.h"

namespace dnl {

// Whether `path` names a DNL file: the text after the last "." anywhere in the path (all of it
// when there is none), upper-cased, is "DNL". A dot in a folder name counts when the file name
// has none.
bool HasDnlExtension(std::string_view path);

// What the window shows after a confirmed choice in the open dialog.
struct ChosenFileShown {
    bool executeEnabled = false;
};

// A confirmed choice of `path` (UTF-8, a full path) in the open dialog: the chosen file's folder
// becomes the working directory, where relative names are found, whatever the extension; the
// path is stored only when it names a DNL file. Execute is enabled either way, and stays so.
ChosenFileShown AcceptChosenFile(ConverterState& state, const std::string& path);

// A file named to the window from outside (on its command line): taken as a confirmed choice in
// the open dialog once a relative name is made full, since the choice moves the working
// directory. A taken DNL file that cannot be opened gets the line Execute's backup would give.
ChosenFileShown AcceptNamedFile(ConverterState& state, const std::string& path, StatusLog& log);

// Files dropped on the window (UTF-8), in the order the system gives them: the first is taken as a
// file named from outside, and one line says how many others were not. Nothing when none is.
std::optional<ChosenFileShown> AcceptDroppedFiles(ConverterState& state,
                                                  std::span<const std::string> paths,
                                                  StatusLog& log);

// The window's title: the program's name alone until a DNL file is taken, then that file's name
// first, in the usual "document - program" form.
std::string WindowTitle(const ConverterState& state);

}  // namespace dnl
