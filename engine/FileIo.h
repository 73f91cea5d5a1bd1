#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dnl {

// The engine's one door to the operating system's files. Every open, read, write, seek and close
// the engine makes goes through the installed FileLayer, so that tests can put a layer of their
// own in its place and fail any single call. Handles are plain integers; -1 means "no file".
class FileLayer {
public:
    enum class Access { ReadOnly, ReadWrite };

    virtual ~FileLayer() = default;

    // Opens an existing regular file, without creating, truncating or locking it. Returns a
    // handle, or -1 with LastError() set; a folder, FIFO or device is refused the same way, so
    // that nothing waits on a pipe or reads a device forever.
    virtual int OpenExisting(const std::string& path, Access access) = 0;

    // Opens `path` for writing only, creating it readable and writable when absent and emptying it
    // when present. Returns a handle, or -1 with LastError() set. Never waits on a FIFO.
    virtual int Create(const std::string& path) = 0;

    // One read of at most `count` bytes: the count read, 0 at the end of the file, -1 on failure.
    virtual std::ptrdiff_t Read(int handle, void* buffer, std::size_t count) = 0;

    // One write of at most `count` bytes: the count the system took (maybe fewer), -1 on failure.
    virtual std::ptrdiff_t Write(int handle, const void* buffer, std::size_t count) = 0;

    // Moves the position by `offset` from where it is: 0, or -1 with the position unchanged.
    virtual int Seek(int handle, std::int64_t offset) = 0;

    // The size in bytes of the file open on `handle`, or -1 with LastError() set.
    virtual std::int64_t Size(int handle) = 0;

    // Whether `path` names the very file open on `handle` (same device and inode); false when
    // `path` does not exist.
    virtual bool IsSameFile(int handle, const std::string& path) = 0;

    // Closes the handle once; never retried. 0, or -1 when the system reports a failure.
    virtual int Close(int handle) = 0;

    // The error number of the last failed call.
    virtual int LastError() = 0;
};

// The layer currently in use: the operating system's, unless a test installed another.
FileLayer& Files();

// Puts `layer` in use and returns the one it replaces; nullptr puts the system's layer back.
FileLayer* InstallFileLayer(FileLayer* layer);

// Writes all `count` bytes, going on after short writes. False when a write fails or makes no
// progress (a full disk), leaving what was written so far in place.
bool WriteAll(int handle, const void* bytes, std::size_t count);

}  // namespace dnl
