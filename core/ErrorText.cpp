#include "ErrorText.h"

#include "PathSyntax.h"

namespace dnl {

std::string ApplicationTitle(std::string_view executablePath) {
    const std::string_view fileName = FileNamePart(executablePath);
    std::string title(fileName.substr(0, fileName.find('.')));
    for (std::size_t i = 1; i < title.size(); ++i) {
        if (title[i] >= 'A' && title[i] <= 'Z') {
            title[i] = static_cast<char>(title[i] - 'A' + 'a');
        }
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
