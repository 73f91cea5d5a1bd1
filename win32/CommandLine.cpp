#include "CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include "WideText.h"
#include "WindowDesign.h"

namespace dnl::win32 {

namespace {

bool IsHelp(const std::wstring& argument) {
    return argument == L"--help" || argument == L"-h" || argument == L"/?";
}

bool IsOption(const std::wstring& argument) {
    return argument.size() > 1 && argument.front() == L'-';
}

}  // namespace

CommandLineRequest ReadCommandLine(const std::vector<std::wstring>& arguments) {
    using Kind = CommandLineRequest::Kind;
    CommandLineRequest request;
    for (const std::wstring& argument : arguments) {
        if (IsHelp(argument)) {
            return {.kind = Kind::Help, .file = {}};
        }
        if (argument == L"--version") {
            return {.kind = Kind::Version, .file = {}};
        }
        if (IsOption(argument) || !request.file.empty() || argument.empty()) {
            return {.kind = Kind::Wrong, .file = {}};
        }
        request.file = Utf8FromWide(argument);
    }
    return request;
}

std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) {
        return {};
    }
    std::vector<std::wstring> afterName(arguments + (count > 0 ? 1 : 0), arguments + count);
    LocalFree(static_cast<HLOCAL>(arguments));
    return afterName;
}

std::string CommandLineAnswer(CommandLineRequest::Kind kind) {
    if (kind == CommandLineRequest::Kind::Version) {
        return std::string("dnltransfer ") + DNL_VERSION + "\r\n";
    }
    return std::string("Usage: dnltransfer [--help] [--version] [FILE]\r\n") +
           std::string(kWindowTitle) + ": rewrites a DNL file for another module.\r\n" +
           "FILE, the DNL file to open, is taken as File > Open takes it.\r\n";
}

void ShowAnswer(const std::string& text, bool wrong) {
    const HANDLE output = GetStdHandle(wrong ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (output != nullptr && output != INVALID_HANDLE_VALUE &&
        WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0) {
        return;
    }
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(kWindowTitle).c_str(),
                MB_OK | (wrong ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace dnl::win32
