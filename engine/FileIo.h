#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dnl {

// What tells a file or folder apart from every other on its system, whatever names lead to it.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};

// When a file was last written, in the system's own terms; a layer takes back only what it gave.
struct FileTime {
    std::int64_t seconds = 0;
    std::int64_t fraction = 0;  // of a second, in the system's own unit
};

// The engine's one door to the operating system's files. Every call the engine makes on a file
// goes through the installed FileLayer, so that tests can put a layer of their own in its place
// and fail any single call. Handles are plain integers; -1 means "no file". Paths are UTF-8.
class FileLayer {
public:
    enum class Access { ReadOnly, ReadWrite };

    virtual ~FileLayer() = default;

    // Opens an existing regular file, without creating, truncating or locking it. Returns a
    // handle, or -1 with LastError() set; a folder, FIFO or device is refused the same way, with
    // kNotARegularFile, so that nothing waits on a pipe or reads a device forever.
    virtual int OpenExisting(const std::string& path, Access access) = 0;

    // 0 when nothing is at `path`, or what is there may be replaced by a new file (a link is
    // replaced, never followed); -1 with LastError() set when it is a folder or a file the user
    // may not write.
    virtual int CheckReplaceable(const std::string& path) = 0;

    // Creates a new, empty file whose name is `prefix` (a path) followed by six letters or digits
    // that make it unique, open for writing only, and sets `created` to its path. It is never
    // read-only: on Linux it gets the permission bits of the file open on `like` and the owner's
    // write bit, and, made by root, that file's owner and group. Returns the handle, or -1 with
    // LastError() set.
    virtual int CreateTemporary(const std::string& prefix, int like, std::string& created) = 0;

    // One read of at most `count` bytes: the count read, 0 at the end of the file, -1 on failure.
    virtual std::ptrdiff_t Read(int handle, void* buffer, std::size_t count) = 0;

    // One write of at most `count` bytes: the count the system took (maybe fewer), -1 on failure.
    virtual std::ptrdiff_t Write(int handle, const void* buffer, std::size_t count) = 0;

    // Moves the position by `offset` from where it is: 0, or -1 with the position unchanged.
    virtual int Seek(int handle, std::int64_t offset) = 0;

    // The size in bytes of the file open on `handle`, or -1 with LastError() set.
    virtual std::int64_t Size(int handle) = 0;

    // Whether `path` names the very file open on `handle`; false when `path` does not exist.
    virtual bool IsSameFile(int handle, const std::string& path) = 0;

    // Sets `time` to when the file open on `handle` was last written: 0, or -1 with LastError()
    // set.
    virtual int ModificationTime(int handle, FileTime& time) = 0;

    // Makes `time` the time when the file open on `handle` was last written: 0, or -1 with
    // LastError() set.
    virtual int SetModificationTime(int handle, const FileTime& time) = 0;

    // Makes what was written to the file durable on the disk: 0, or -1 with LastError() set.
    virtual int Flush(int handle) = 0;

    // Puts the file at `from` in the place of `to`, replacing what is there, and makes the change
    // of name durable: 0, or -1 with LastError() set.
    virtual int Replace(const std::string& from, const std::string& to) = 0;

    // Removes the file at `path`: 0, or -1 with LastError() set.
    virtual int Remove(const std::string& path) = 0;

    // Sets `names` to the names in the folder at `folder` (a path, "" for the working directory,
    // with or without a separator at its end), "." and ".." left out: 0, or -1 with LastError()
    // set.
    virtual int ListFolder(const std::string& folder, std::vector<std::string>& names) = 0;

    // Whether two names name one file in a folder, by the system's rule: byte for byte on Linux,
    // in any case on Windows.
    virtual bool SameName(std::string_view first, std::string_view second) = 0;

    // Sets `id` to the identity of the file or folder at `path`, a link followed: 0, or -1 with
    // LastError() set when nothing is there.
    virtual int Identify(const std::string& path, FileId& id) = 0;

    // Takes an exclusive advisory lock on the file open on `handle`, without waiting; it lasts
    // until the handle is closed. 0 when taken; 1 when held through another handle (another
    // program, or another open of the same file); -1 when the file system cannot lock.
    virtual int Lock(int handle) = 0;

    // Closes the handle once; never retried. 0, or -1 when the system reports a failure.
    virtual int Close(int handle) = 0;

    // The error number of the last failed call.
    virtual int LastError() = 0;
};

// The error number a layer gives for a file that exists but is no regular file: a folder, a FIFO
// or a device. It lies beyond the system's own numbers.
inline constexpr int kNotARegularFile = 10000;

// Says what an error number of the file layer means, in words.
std::string FileErrorText(int error);

// The operating system's own layer.
FileLayer& SystemFiles();

// Whether the system's Replace can rename over a file that is open, as Linux can; Windows cannot
// while any handle to it is open, one of this program's own included.
bool ReplacesOpenFiles();

// The layer currently in use: the operating system's, unless a test installed another.
FileLayer& Files();

// Puts `layer` in use and returns the one it replaces; nullptr puts the system's layer back.
FileLayer* InstallFileLayer(FileLayer* layer);

// 1 when a regular file is at `path`, 0 when nothing is, -1 when that cannot be told or something
// else is there (LastError() set).
int FindFile(const std::string& path);

// The error number of the call that just failed, or `fallback` when it set none (a write that
// made no progress).
int LastErrorOr(int fallback);

// Writes all `count` bytes, going on after short writes. False when a write fails or makes no
// progress (a full disk), leaving what was written so far in place.
bool WriteAll(int handle, const void* bytes, std::size_t count);

// Owns a handle from the installed layer and closes it when it goes, unless it was closed before.
class FileHandle {
public:
    explicit FileHandle(int handle = -1) : m_handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept;

    int Get() const { return m_handle; }
    bool IsOpen() const { return m_handle >= 0; }

    // Closes the handle now: the layer's result, or 0 when nothing was open.
    int Close();

private:
    int m_handle;
};

}  // namespace dnl
