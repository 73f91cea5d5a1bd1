#include "ErrorBox.h"

#include <string>

#include "ErrorText.h"
#include "WideText.h"

namespace dnl::win32 {
namespace {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Utf8FromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

void ShowError(HWND owner, std::string_view message) {
    const std::wstring caption = Wide(ApplicationTitle(ExecutablePath()));
    MessageBoxW(owner, Wide(ErrorText(message)).c_str(), caption.c_str(), MB_ICONERROR | MB_OK);
}

}  // namespace dnl::win32
