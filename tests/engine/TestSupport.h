#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "FileIo.h"
#include "StatusLog.h"

namespace dnl::test {

using Bytes = std::vector<unsigned char>;

// The engine's failure lines, spelled here once for every test.
inline constexpr char kOpenFailed[] = "dnlファイルをopenできませんでした";
inline constexpr char kHeaderError[] = "dnl Header read error";
inline constexpr char kOverwriteFailed[] = "モジュール名の上書きに失敗しました";
inline constexpr char kBackupWriteError[] = "Write error eas occurred during backing up a dnl file";
inline constexpr char kBackupReadError[] = "Read error occurred during backing up a dnl file";

// Keeps every line it is given, in order.
class RecordingLog : public StatusLog {
public:
    void AddLine(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

// Counts the cursor changes and remembers the last one.
class CountingCursor : public BusyCursor {
public:
    void ShowBusy() override {
        ++busyCalls;
        busy = true;
    }
    void ShowNormal() override {
        ++normalCalls;
        busy = false;
    }
    int busyCalls = 0;
    int normalCalls = 0;
    bool busy = false;
};

// A fresh folder that is removed, with all it holds, when the object goes. While it lives it is
// also the working directory, so that no test depends on where it was started.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The UTF-8 path of `name` inside the folder.
    std::string File(const std::string& name) const;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previousWorkingDirectory;
};

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

// What the engine logs for one Execute of `choice` on a file `fileName` holding `bytes`, in a
// folder of its own: the lines a front end given the same file and choice must show.
std::vector<std::string> EngineLines(const std::string& fileName, const Bytes& bytes,
                                     const ConversionChoice& choice, bool backup);

// Builds DNL files record by record: Dnl().Name("RQX4").Misc(0).End().bytes
class Dnl {
public:
    Dnl& Record(std::uint16_t type, const Bytes& payload);
    // A header whose length field says `length`, whatever payload follows.
    Dnl& Header(std::uint16_t type, std::int32_t length);
    Dnl& Name(const std::string& text);  // the text and its zero byte
    Dnl& Misc(std::uint16_t value);
    Dnl& Filler(std::size_t size);  // a record of a type the tool passes over
    Dnl& End();
    Dnl& Raw(std::initializer_list<unsigned char> bytes);

    Bytes bytes;
};

// Offsets of the payloads in a file built by Dnl are easiest to reason about through these.
inline constexpr std::size_t kHeader = 6;

// A file layer over the system's that counts every call, can fail or shorten the n-th call of a
// kind, and knows which handles are still open. Installs itself for its lifetime.
class FaultyFiles : public FileLayer {
public:
    enum class Call {
        Open,
        Check,
        Create,
        Read,
        Write,
        Seek,
        Time,
        Flush,
        Replace,
        Remove,
        List,
        Lock,
        Close
    };
    static constexpr int kCallKinds = static_cast<int>(Call::Close) + 1;

    FaultyFiles();
    ~FaultyFiles() override;
    FaultyFiles(const FaultyFiles&) = delete;
    FaultyFiles& operator=(const FaultyFiles&) = delete;

    // Makes the `nth` (1-based) call of `call` fail with `error`, or from then on when `sticky`.
    void FailAt(Call call, int nth, int error, bool sticky = false);
    // Makes the `nth` write, and every later one when `sticky`, take only half of its bytes
    // (at least one).
    void ShortenWriteAt(int nth, bool sticky = false);

    int Count(Call call) const { return m_counts[static_cast<int>(call)]; }
    bool FaultFired() const { return m_fired; }
    const std::vector<int>& OpenHandles() const { return m_open; }

    int OpenExisting(const std::string& path, Access access) override;
    int CheckReplaceable(const std::string& path) override;
    int CreateTemporary(const std::string& prefix, int like, std::string& created) override;
    std::ptrdiff_t Read(int handle, void* buffer, std::size_t count) override;
    std::ptrdiff_t Write(int handle, const void* buffer, std::size_t count) override;
    int Seek(int handle, std::int64_t offset) override;
    std::int64_t Size(int handle) override;
    bool IsSameFile(int handle, const std::string& path) override;
    int ModificationTime(int handle, FileTime& time) override;
    int SetModificationTime(int handle, const FileTime& time) override;
    int Flush(int handle) override;
    int Replace(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    int ListFolder(const std::string& folder, std::vector<std::string>& names) override;
    bool SameName(std::string_view first, std::string_view second) override;
    int Identify(const std::string& path, FileId& id) override;
    int Lock(int handle) override;
    int Close(int handle) override;
    int LastError() override;

private:
    bool ShouldFail(Call call);
    bool ShouldShorten();
    int Opened(int handle);
    int Passed(int result);

    FileLayer* m_system;
    int m_counts[kCallKinds] = {};
    Call m_failCall = Call::Open;
    int m_failAt = 0;
    bool m_failSticky = false;
    int m_error = 0;
    int m_shortAt = 0;
    bool m_shortSticky = false;
    bool m_fired = false;
    int m_lastError = 0;
    std::vector<int> m_open;
};

}  // namespace dnl::test
