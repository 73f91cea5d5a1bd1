#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "FileIo.h"
#include "WideText.h"

namespace dnl {
namespace {

// Other programs may read, write, rename and delete the file while the tool has it open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Windows' byte-range locks are mandatory: a locked byte cannot be read or written through any
// other handle. The lock is therefore taken on one byte far past the end of any real file, where
// it keeps out other lockers and nobody's reads and writes.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// Larger reads and writes are split by the caller's loop anyway; a DWORD holds this one.
constexpr std::size_t kLargestTransfer = 1U << 30;
constexpr int kTemporaryNameAttempts = 100;
// A FILETIME counts tenths of a microsecond.
constexpr std::uint64_t kTicksPerSecond = 10'000'000;

// The error numbers the tool prints, from the system's own: 2 for a missing file or folder or a
// bad name, 5 for denied access, 28 for a full disk; any other number stays the system's.
int ErrorNumber(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return 2;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
            return 5;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return 28;
        default:
            return static_cast<int>(error);
    }
}

// The system's own words for an error it reported.
std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : Utf8FromWide(message);
}

// The engine's integer handles stand for Windows HANDLEs through this table.
class HandleTable {
public:
    int Add(HANDLE file) {
        for (std::size_t slot = 0; slot < m_files.size(); ++slot) {
            if (m_files[slot] == INVALID_HANDLE_VALUE) {
                m_files[slot] = file;
                return static_cast<int>(slot);
            }
        }
        m_files.push_back(file);
        return static_cast<int>(m_files.size() - 1);
    }

    HANDLE Get(int handle) const {
        const bool known = handle >= 0 && static_cast<std::size_t>(handle) < m_files.size();
        return known ? m_files[static_cast<std::size_t>(handle)] : INVALID_HANDLE_VALUE;
    }

    void Forget(int handle) { m_files[static_cast<std::size_t>(handle)] = INVALID_HANDLE_VALUE; }

private:
    std::vector<HANDLE> m_files;
};

class WindowsFiles final : public FileLayer {
public:
    int OpenExisting(const std::string& path, Access access) override {
        const DWORD rights =
            access == Access::ReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
        const HANDLE file = OpenPath(path, rights, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        if (file == INVALID_HANDLE_VALUE) {
            // Windows opens no folder as a file, and says only that access is denied.
            return IsFolder(path) ? Fail(kNotARegularFile) : -1;
        }
        // Consoles, pipes and devices such as NUL are refused like a folder: nothing waits on
        // them or reads them forever.
        if (GetFileType(file) != FILE_TYPE_DISK) {
            CloseHandle(file);
            return Fail(kNotARegularFile);
        }
        return m_handles.Add(file);
    }

    int CheckReplaceable(const std::string& path) override {
        std::wstring wide;
        if (!SystemPathFromUtf8(path, wide)) {
            return Fail(ERROR_INVALID_NAME);
        }
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : Fail(error);
        }
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return 0;
        }
        if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        // A file another program holds open without delete sharing cannot be renamed over.
        const HANDLE file = CreateFileW(wide.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return Fail(GetLastError());
        }
        CloseHandle(file);
        return 0;
    }

    // The new file takes its folder's permissions, as every new file on Windows does; the
    // read-only flag of `like` is never copied, so that the file can be replaced later.
    int CreateTemporary(const std::string& prefix, int like, std::string& created) override {
        if (m_handles.Get(like) == INVALID_HANDLE_VALUE) {
            return Fail(ERROR_INVALID_HANDLE);
        }
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            const std::string candidate = prefix + RandomSuffix();
            const HANDLE file =
                OpenPath(candidate, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            if (file != INVALID_HANDLE_VALUE) {
                created = candidate;
                return m_handles.Add(file);
            }
            if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS) {
                return -1;
            }
        }
        return -1;
    }

    std::ptrdiff_t Read(int handle, void* buffer, std::size_t count) override {
        DWORD read = 0;
        if (Checked(ReadFile(m_handles.Get(handle), buffer, Transfer(count), &read, nullptr)) !=
            0) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(read);
    }

    std::ptrdiff_t Write(int handle, const void* buffer, std::size_t count) override {
        DWORD written = 0;
        if (Checked(WriteFile(m_handles.Get(handle), buffer, Transfer(count), &written, nullptr)) !=
            0) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(written);
    }

    // A move to before the start fails (ERROR_NEGATIVE_SEEK) and leaves the position as it was.
    int Seek(int handle, std::int64_t offset) override {
        LARGE_INTEGER distance{};
        distance.QuadPart = offset;
        return Checked(SetFilePointerEx(m_handles.Get(handle), distance, nullptr, FILE_CURRENT));
    }

    std::int64_t Size(int handle) override {
        LARGE_INTEGER size{};
        return Checked(GetFileSizeEx(m_handles.Get(handle), &size)) == 0 ? size.QuadPart : -1;
    }

    // The same volume and the same file index: the same file, whatever names lead to it.
    bool IsSameFile(int handle, const std::string& path) override {
        const HANDLE named = OpenPath(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (named == INVALID_HANDLE_VALUE) {
            return false;
        }
        BY_HANDLE_FILE_INFORMATION open{};
        BY_HANDLE_FILE_INFORMATION other{};
        const bool same = GetFileInformationByHandle(m_handles.Get(handle), &open) != FALSE &&
                          GetFileInformationByHandle(named, &other) != FALSE &&
                          open.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
                          open.nFileIndexHigh == other.nFileIndexHigh &&
                          open.nFileIndexLow == other.nFileIndexLow;
        CloseHandle(named);
        return same;
    }

    int ModificationTime(int handle, FileTime& time) override {
        FILETIME written{};
        if (Checked(GetFileTime(m_handles.Get(handle), nullptr, nullptr, &written)) != 0) {
            return -1;
        }
        const std::uint64_t ticks =
            (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
        time = {static_cast<std::int64_t>(ticks / kTicksPerSecond),
                static_cast<std::int64_t>(ticks % kTicksPerSecond)};
        return 0;
    }

    int SetModificationTime(int handle, const FileTime& time) override {
        const auto ticks = static_cast<std::uint64_t>(time.seconds) * kTicksPerSecond +
                           static_cast<std::uint64_t>(time.fraction);
        const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        return Checked(SetFileTime(m_handles.Get(handle), nullptr, nullptr, &written));
    }

    int Flush(int handle) override { return Checked(FlushFileBuffers(m_handles.Get(handle))); }

    // MOVEFILE_WRITE_THROUGH returns only once the new name is on the disk.
    int Replace(const std::string& from, const std::string& to) override {
        std::wstring wideFrom;
        std::wstring wideTo;
        if (!SystemPathFromUtf8(from, wideFrom) || !SystemPathFromUtf8(to, wideTo)) {
            return Fail(ERROR_INVALID_NAME);
        }
        return Checked(MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }

    int Remove(const std::string& path) override {
        std::wstring wide;
        if (!SystemPathFromUtf8(path, wide)) {
            return Fail(ERROR_INVALID_NAME);
        }
        return Checked(DeleteFileW(wide.c_str()));
    }

    int ListFolder(const std::string& folder, std::vector<std::string>& names) override {
        std::wstring pattern;
        if (!SystemPathFromUtf8(folder, pattern)) {
            return Fail(ERROR_INVALID_NAME);
        }
        if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' &&
            pattern.back() != L':') {
            pattern += L'\\';
        }
        pattern += L'*';
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0);
        names.clear();
        if (search == INVALID_HANDLE_VALUE) {
            // Only a drive's top folder has no "." in it, and so can be found empty.
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND ? 0 : Fail(error);
        }
        do {
            const std::wstring_view name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(Utf8FromWide(name));
            }
        } while (FindNextFileW(search, &found) != FALSE);
        const DWORD error = GetLastError();
        FindClose(search);
        return error == ERROR_NO_MORE_FILES ? 0 : Fail(error);
    }

    // The file system's own rule is to ignore case, as the system compares names.
    bool SameName(std::string_view first, std::string_view second) override {
        std::wstring wideFirst;
        std::wstring wideSecond;
        return WideFromUtf8(first, wideFirst) && WideFromUtf8(second, wideSecond) &&
               CompareStringOrdinal(wideFirst.data(), static_cast<int>(wideFirst.size()),
                                    wideSecond.data(), static_cast<int>(wideSecond.size()),
                                    TRUE) == CSTR_EQUAL;
    }

    // The volume's serial number and the file's index on it, as IsSameFile compares them.
    int Identify(const std::string& path, FileId& id) override {
        const HANDLE named = OpenPath(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (named == INVALID_HANDLE_VALUE) {
            return -1;
        }
        BY_HANDLE_FILE_INFORMATION information{};
        const int result = Checked(GetFileInformationByHandle(named, &information));
        CloseHandle(named);
        if (result == 0) {
            id = {information.dwVolumeSerialNumber,
                  (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
        }
        return result;
    }

    // Locks are held per handle, so another open of the file, in this process too, is refused.
    int Lock(int handle) override {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(m_handles.Get(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                       0, 1, 0, &where) != FALSE) {
            return 0;
        }
        Fail(GetLastError());
        return m_error == ERROR_LOCK_VIOLATION ? 1 : -1;
    }

    int Close(int handle) override {
        const HANDLE file = m_handles.Get(handle);
        if (file == INVALID_HANDLE_VALUE) {
            return Fail(ERROR_INVALID_HANDLE);
        }
        m_handles.Forget(handle);
        return Checked(CloseHandle(file));
    }

    int LastError() override { return ErrorNumber(m_error); }

private:
    // Keeps the system's error of a failed call, whatever the clean-up after it does.
    int Fail(DWORD error) {
        m_error = error;
        return -1;
    }

    // 0 when a Win32 call succeeded, or -1 with its error kept.
    int Checked(BOOL succeeded) { return succeeded != FALSE ? 0 : Fail(GetLastError()); }

    static bool IsFolder(const std::string& path) {
        std::wstring wide;
        if (!SystemPathFromUtf8(path, wide)) {
            return false;
        }
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    static DWORD Transfer(std::size_t count) {
        return static_cast<DWORD>(count < kLargestTransfer ? count : kLargestTransfer);
    }

    // CreateFileW on the UTF-16 form of `path`; INVALID_HANDLE_VALUE with the error kept.
    HANDLE OpenPath(const std::string& path, DWORD rights, DWORD disposition, DWORD flags) {
        std::wstring wide;
        if (!SystemPathFromUtf8(path, wide)) {
            Fail(ERROR_INVALID_NAME);
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE file =
            CreateFileW(wide.c_str(), rights, kShareAll, nullptr, disposition, flags, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Fail(GetLastError());
        }
        return file;
    }

    std::string RandomSuffix() {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
        std::string suffix(6, 'x');
        for (char& c : suffix) {
            c = kLetters[pick(m_random)];
        }
        return suffix;
    }

    HandleTable m_handles;
    DWORD m_error = ERROR_SUCCESS;
    std::mt19937 m_random{std::random_device{}()};
};

}  // namespace

// The three numbers the tool maps to are worded as on every system; any other is the system's.
std::string FileErrorText(int error) {
    switch (error) {
        case kNotARegularFile:
            return "not a regular file";
        case 2:
            return "No such file or directory";
        case 5:
            return "Permission denied";
        case 28:
            return "No space left on device";
        default:
            return SystemMessage(static_cast<DWORD>(error));
    }
}

FileLayer& SystemFiles() {
    static WindowsFiles layer;
    return layer;
}

bool ReplacesOpenFiles() {
    return false;
}

}  // namespace dnl
