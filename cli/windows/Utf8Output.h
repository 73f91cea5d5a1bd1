#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <streambuf>

namespace dnl::cli {

// Makes `stream`, the C++ stream over the C `file` and the standard handle `which`, show the
// program's UTF-8 text as Windows expects it: as UTF-16 on a console, whatever its code page,
// and as the UTF-8 bytes unchanged, without "\r\n" translation, in a pipe or a file. The stream
// gets its own buffer back when this goes.
class Utf8Output {
public:
    Utf8Output(std::ostream& stream, std::FILE* file, DWORD which);
    ~Utf8Output();
    Utf8Output(const Utf8Output&) = delete;
    Utf8Output& operator=(const Utf8Output&) = delete;

private:
    std::ostream& m_stream;
    std::unique_ptr<std::streambuf> m_console;
    std::streambuf* m_previous = nullptr;
};

}  // namespace dnl::cli
