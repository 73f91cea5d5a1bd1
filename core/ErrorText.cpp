#include "ErrorText.h"

#include <algorithm>

#include "AsciiText.h"
#include "PathSyntax.h"

namespace dnl {

std::string ApplicationTitle(std::string_view executablePath) {
    const std::string_view fileName = FileNamePart(executablePath);
    std::string title(fileName.substr(0, fileName.find('.')));
    if (!title.empty()) {
        std::transform(title.begin() + 1, title.end(), title.begin() + 1, AsciiLower);
    }
    return title;
}

std::string ErrorText(std::string_view message) {
    std::string text(message);
    // A character outside ASCII ends in a byte above 0x7F, so it too comes after ".".
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

}  // namespace dnl
