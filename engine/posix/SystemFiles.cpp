#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "FileIo.h"
#include "PathSyntax.h"

namespace dnl {
namespace {

// O_NONBLOCK keeps open() from waiting for the other end of a FIFO; on a regular file, the only
// kind the engine reads, it changes nothing.
constexpr int kCommonFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr mode_t kPermissionBits = 0777;

// Keeps errno as it was when a failed call set it, across the clean-up calls that follow.
int Fail(int error) {
    errno = error;
    return -1;
}

// Makes a folder's list of names durable, so that a renamed file is found after a power cut.
int FlushFolder(const std::string& path) {
    const std::string_view folder = FolderPart(path);
    const std::string name = folder.empty() ? std::string(".") : std::string(folder);
    const int handle = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) {
        return -1;
    }
    const int result = ::fsync(handle);
    const int error = errno;
    ::close(handle);
    return result == 0 ? 0 : Fail(error);
}

// A backup that root makes of another user's file belongs to that user, who could otherwise not
// read it. A refusal (a file system that keeps no owners, root squashed on NFS) leaves root the
// owner: the copy is still good, so it does not fail the backup.
void TakeOwner(int handle, const struct stat& like) {
    if (::geteuid() == 0) {
        [[maybe_unused]] const int refused = ::fchown(handle, like.st_uid, like.st_gid);
    }
}

class PosixFiles final : public FileLayer {
public:
    int OpenExisting(const std::string& path, Access access) override {
        const int mode = access == Access::ReadOnly ? O_RDONLY : O_RDWR;
        const int handle = ::open(path.c_str(), mode | kCommonFlags);
        if (handle < 0) {
            return -1;
        }
        struct stat status {};
        if (::fstat(handle, &status) != 0) {
            const int error = errno;
            ::close(handle);
            return Fail(error);
        }
        if (!S_ISREG(status.st_mode)) {
            ::close(handle);
            return Fail(kNotARegularFile);
        }
        return handle;
    }

    int CheckReplaceable(const std::string& path) override {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            return errno == ENOENT ? 0 : -1;
        }
        if (S_ISDIR(status.st_mode)) {
            return Fail(EISDIR);
        }
        if (S_ISLNK(status.st_mode)) {
            return 0;
        }
        return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : -1;
    }

    int CreateTemporary(const std::string& prefix, int like, std::string& created) override {
        struct stat status {};
        if (::fstat(like, &status) != 0) {
            return -1;
        }
        std::vector<char> name(prefix.begin(), prefix.end());
        for (const char c : std::string_view("XXXXXX")) {
            name.push_back(c);
        }
        name.push_back('\0');
        const int handle = ::mkostemp(name.data(), O_CLOEXEC);
        if (handle < 0) {
            return -1;
        }
        TakeOwner(handle, status);
        if (::fchmod(handle, (status.st_mode & kPermissionBits) | S_IWUSR) != 0) {
            const int error = errno;
            ::close(handle);
            ::unlink(name.data());
            return Fail(error);
        }
        created = name.data();
        return handle;
    }

    int ModificationTime(int handle, FileTime& time) override {
        struct stat status {};
        if (::fstat(handle, &status) != 0) {
            return -1;
        }
        time = {status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
        return 0;
    }

    // The time of the last access is left as it is.
    int SetModificationTime(int handle, const FileTime& time) override {
        const struct timespec times[] = {{0, UTIME_OMIT}, {time.seconds, time.fraction}};
        return ::futimens(handle, times) == 0 ? 0 : -1;
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

    int Flush(int handle) override { return ::fsync(handle) == 0 ? 0 : -1; }

    int Replace(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? FlushFolder(to) : -1;
    }

    int Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : -1; }

    int ListFolder(const std::string& folder, std::vector<std::string>& names) override {
        DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
        if (listing == nullptr) {
            return -1;
        }
        names.clear();
        errno = 0;
        while (const dirent* entry = ::readdir(listing)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
        }
        const int error = errno;
        ::closedir(listing);
        return error == 0 ? 0 : Fail(error);
    }

    bool SameName(std::string_view first, std::string_view second) override {
        return first == second;
    }

    int Identify(const std::string& path, FileId& id) override {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            return -1;
        }
        id = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
        return 0;
    }

    // flock() locks belong to the open file, not to the process, so a second open of the same
    // file, even in this process, is refused too; and closing another handle of the file does
    // not drop the lock, as it would with fcntl() locks.
    int Lock(int handle) override {
        int result = 0;
        do {
            result = ::flock(handle, LOCK_EX | LOCK_NB);
        } while (result < 0 && errno == EINTR);
        if (result == 0) {
            return 0;
        }
        return errno == EWOULDBLOCK ? 1 : -1;
    }

    int Close(int handle) override { return ::close(handle) == 0 ? 0 : -1; }

    int LastError() override { return errno; }
};

}  // namespace

std::string FileErrorText(int error) {
    return error == kNotARegularFile ? std::string("not a regular file") : std::strerror(error);
}

FileLayer& SystemFiles() {
    static PosixFiles layer;
    return layer;
}

}  // namespace dnl
