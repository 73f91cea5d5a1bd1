// Forms backup names from arbitrary bytes. The name must be the path's file name without its
// extension, cut to at most 255 bytes only between UTF-8 characters, followed by ".~NL", and
// must never hold a folder separator of the system it runs on.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Backup.h"
#include "PathSyntax.h"

namespace {

constexpr std::string_view kSuffix = ".~NL";
constexpr std::size_t kLongestName = 255;

void Require(bool holds, const char* what, std::string_view path) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s (path of %zu bytes)\n", what, path.size());
        std::abort();
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void CheckName(std::string_view path, std::string_view backup) {
    Require(backup.size() >= kSuffix.size() && backup.ends_with(kSuffix), "no .~NL ending", path);
    const std::string_view name = backup.substr(0, backup.size() - kSuffix.size());
    Require(dnl::FileNamePart(name) == name, "a separator or drive in the name", path);
    Require(name.size() <= kLongestName, "a name longer than 255 bytes", path);

    const std::string_view fileName = dnl::FileNamePart(path);
    const std::string_view stem = fileName.substr(0, fileName.rfind('.'));
    if (stem.size() <= kLongestName) {
        Require(name == stem, "the name is not the file name without its extension", path);
        return;
    }
    // A cut backs up from the 256th byte over continuation bytes only, so the name ends right
    // before the first byte of a character.
    Require(stem.starts_with(name), "the name is not where the file name starts", path);
    for (std::size_t i = name.size() + 1; i <= kLongestName; ++i) {
        Require(IsContinuation(static_cast<unsigned char>(stem[i])),
                "the name was cut shorter than it had to be", path);
    }
    Require(name.empty() || !IsContinuation(static_cast<unsigned char>(stem[name.size()])),
            "a character was split", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    CheckName(path, dnl::BackupName(path));
    return 0;
}
