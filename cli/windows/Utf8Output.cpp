#include "Utf8Output.h"

#include <fcntl.h>
#include <io.h>

#include <string>

#include "WideText.h"

namespace dnl::cli {
namespace {

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes at the end of `text` are the start of a character still to come.
std::size_t IncompleteTail(const std::string& text) {
    std::size_t start = text.size();
    while (start > 0 && text.size() - start < 3 && IsUtf8Continuation(text[start - 1])) {
        --start;
    }
    if (start == 0) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const std::size_t present = text.size() - start + 1;
    return present < expected ? present : 0;
}

// Collects the UTF-8 bytes written to it and hands each flushed run of whole characters to the
// console as UTF-16.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : m_console(console) {}
    ~ConsoleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            m_pending.push_back(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        m_pending.append(text, static_cast<std::size_t>(count));
        return count;
    }

    int sync() override {
        const std::size_t ready = m_pending.size() - IncompleteTail(m_pending);
        const bool written = WriteWide(Wide(std::string_view(m_pending).substr(0, ready)));
        m_pending.erase(0, ready);
        return written ? 0 : -1;
    }

private:
    bool WriteWide(std::wstring_view wide) const {
        while (!wide.empty()) {
            DWORD written = 0;
            if (WriteConsoleW(m_console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                              nullptr) == FALSE ||
                written == 0) {
                return false;
            }
            wide.remove_prefix(written);
        }
        return true;
    }

    HANDLE m_console;
    std::string m_pending;
};

}  // namespace

Utf8Output::Utf8Output(std::ostream& stream, std::FILE* file, DWORD which) : m_stream(stream) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr &&
        GetConsoleMode(handle, &mode) != FALSE) {
        m_stream.flush();
        m_console = std::make_unique<ConsoleBuffer>(handle);
        m_previous = m_stream.rdbuf(m_console.get());
    } else {
        _setmode(_fileno(file), _O_BINARY);
    }
}

Utf8Output::~Utf8Output() {
    if (m_previous != nullptr) {
        m_stream.flush();
        m_stream.rdbuf(m_previous);
    }
}

}  // namespace dnl::cli
