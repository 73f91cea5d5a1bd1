#include "FloorLoops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

namespace dnl::bench {

bool FloorConversion(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDWR);
    bool ok = file >= 0;
    unsigned char header[6];
    bool nameDone = false;
    while (::read(file, header, sizeof header) == sizeof header) {
        const auto type = static_cast<std::uint16_t>(header[0] << 8 | header[1]);
        const auto length = static_cast<std::int32_t>(
            std::uint32_t{header[2]} << 24 | std::uint32_t{header[3]} << 16 |
            std::uint32_t{header[4]} << 8 | std::uint32_t{header[5]});
        if ((type & 0x8800) == 0x8800) {
            continue;
        }
        if (type == 0x0805 && !nameDone) {
            nameDone = true;
            ok = ok && ::write(file, "TNW8", 5) == 5;
        } else if (type == 0x0032) {
            const unsigned char value[] = {0x18, 0x01};
            ok = ok && ::write(file, value, sizeof value) == sizeof value;
        } else if (type == 0x0FFF) {
            break;
        } else {
            ok = ok && ::lseek(file, length, SEEK_CUR) >= 0;
        }
    }
    return ::close(file) == 0 && ok;
}

bool FloorBackup(const std::string& path, const std::string& backupPath) {
    const std::string temporary = backupPath + ".new";
    const int source = ::open(path.c_str(), O_RDONLY);
    const int target = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    bool ok = source >= 0 && target >= 0;
    char buffer[512];
    ssize_t count = 0;
    while ((count = ::read(source, buffer, sizeof buffer)) > 0) {
        ok = ok && ::write(target, buffer, static_cast<std::size_t>(count)) == count;
    }
    ok = ok && count == 0 && ::fsync(target) == 0;
    const bool sourceClosed = ::close(source) == 0;
    ok = ::close(target) == 0 && sourceClosed && ok;
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY);
    ok = ok && ::rename(temporary.c_str(), backupPath.c_str()) == 0 && ::fsync(folder) == 0;
    return ::close(folder) == 0 && ok;
}

}  // namespace dnl::bench
