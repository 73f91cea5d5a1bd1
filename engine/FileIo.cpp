#include "FileIo.h"

#include <cerrno>

namespace dnl {
namespace {

// Every file call goes through here, so it is one load, not a test and a branch.
FileLayer* currentLayer = &SystemFiles();

}  // namespace

FileLayer& Files() {
    return *currentLayer;
}

FileLayer* InstallFileLayer(FileLayer* layer) {
    FileLayer* previous = currentLayer;
    currentLayer = layer != nullptr ? layer : &SystemFiles();
    return previous;
}

int FindFile(const std::string& path) {
    const FileHandle file(Files().OpenExisting(path, FileLayer::Access::ReadOnly));
    if (file.IsOpen()) {
        return 1;
    }
    return Files().LastError() == ENOENT ? 0 : -1;
}

int LastErrorOr(int fallback) {
    const int error = Files().LastError();
    return error != 0 ? error : fallback;
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

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

int FileHandle::Close() {
    if (m_handle < 0) {
        return 0;
    }
    const int handle = m_handle;
    m_handle = -1;
    return Files().Close(handle);
}

}  // namespace dnl
