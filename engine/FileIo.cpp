#include "FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dnl {
namespace {

// O_NONBLOCK keeps open() from waiting for the other end of a FIFO; on a regular file, the only
// kind the engine reads, it changes nothing.
constexpr int kCommonFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

class SystemFileLayer final : public FileLayer {
public:
    int OpenExisting(const std::string& path, Access access) override {
        const int mode = access == Access::ReadOnly ? O_RDONLY : O_RDWR;
        const int handle = ::open(path.c_str(), mode | kCommonFlags);
        if (handle < 0) {
            return -1;
        }
        struct stat status {};
        if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
            const int refused = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
            ::close(handle);
            errno = refused;
            return -1;
        }
        return handle;
    }

    int Create(const std::string& path) override {
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | kCommonFlags, 0666);
    }

    std::ptrdiff_t Read(int handle, void* buffer, std::size_t count) override {
        ssize_t result = 0;
        do {
            result = ::read(handle, buffer, count);
        } while (result < 0 && errno == EINTR);
        return result;
    }

    std::ptrdiff_t Write(int handle, const void* buffer, std::size_t count) override {
        ssize_t result = 0;
        do {
            result = ::write(handle, buffer, count);
        } while (result < 0 && errno == EINTR);
        return result;
    }

    int Seek(int handle, std::int64_t offset) override {
        return ::lseek(handle, static_cast<off_t>(offset), SEEK_CUR) < 0 ? -1 : 0;
    }

    std::int64_t Size(int handle) override {
        struct stat status {};
        return ::fstat(handle, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : -1;
    }

    bool IsSameFile(int handle, const std::string& path) override {
        struct stat open {};
        struct stat named {};
        return ::fstat(handle, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
               open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }

    int Close(int handle) override { return ::close(handle) == 0 ? 0 : -1; }

    int LastError() override { return errno; }
};

SystemFileLayer systemLayer;
FileLayer* currentLayer = &systemLayer;

}  // namespace

FileLayer& Files() {
    return *currentLayer;
}

FileLayer* InstallFileLayer(FileLayer* layer) {
    FileLayer* previous = currentLayer;
    currentLayer = layer != nullptr ? layer : &systemLayer;
    return previous;
}

bool WriteAll(int handle, const void* bytes, std::size_t count) {
    const auto* next = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const std::ptrdiff_t written = Files().Write(handle, next, count);
        if (written <= 0) {
            return false;
        }
        next += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace dnl
