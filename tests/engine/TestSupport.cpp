#include "TestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "Execute.h"
#include "Utf8Path.h"

namespace dnl::test {

TempDir::TempDir() : m_previousWorkingDirectory(std::filesystem::current_path()) {
    std::mt19937 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::filesystem::path candidate = base / ("dnl-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
        }
    }
    if (m_path.empty()) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    std::filesystem::current_path(m_path);
}

std::string TempDir::File(const std::string& name) const {
    return Utf8FromPath(m_path / PathFromUtf8(name));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::current_path(m_previousWorkingDirectory, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Dnl& Dnl::Header(std::uint16_t type, std::int32_t length) {
    const auto size = static_cast<std::uint32_t>(length);
    return Raw({static_cast<unsigned char>(type >> 8), static_cast<unsigned char>(type),
                static_cast<unsigned char>(size >> 24), static_cast<unsigned char>(size >> 16),
                static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)});
}

Dnl& Dnl::Record(std::uint16_t type, const Bytes& payload) {
    Header(type, static_cast<std::int32_t>(payload.size()));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return *this;
}

Dnl& Dnl::Name(const std::string& text) {
    Bytes payload(text.begin(), text.end());
    payload.push_back(0);
    return Record(0x0805, payload);
}

Dnl& Dnl::Misc(std::uint16_t value) {
    return Record(0x0032,
                  {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)});
}

Dnl& Dnl::Filler(std::size_t size) {
    Bytes payload(size);
    for (std::size_t i = 0; i < size; ++i) {
        payload[i] = static_cast<unsigned char>(0xA0 + i);
    }
    return Record(0x0100, payload);
}

Dnl& Dnl::End() {
    return Record(0x0FFF, {});
}

Dnl& Dnl::Raw(std::initializer_list<unsigned char> raw) {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return *this;
}

FaultyFiles::FaultyFiles() : m_system(InstallFileLayer(this)) {}

FaultyFiles::~FaultyFiles() {
    InstallFileLayer(m_system);
}

void FaultyFiles::FailAt(Call call, int nth, int error, bool sticky) {
    m_failCall = call;
    m_failAt = nth;
    m_error = error;
    m_failSticky = sticky;
}

void FaultyFiles::ShortenWriteAt(int nth, bool sticky) {
    m_shortAt = nth;
    m_shortSticky = sticky;
}

bool FaultyFiles::ShouldFail(Call call) {
    const int count = ++m_counts[static_cast<int>(call)];
    const bool fail = m_failAt > 0 && call == m_failCall &&
                      (count == m_failAt || (m_failSticky && count > m_failAt));
    if (fail) {
        m_fired = true;
        m_lastError = m_error;
    }
    return fail;
}

bool FaultyFiles::ShouldShorten() {
    const int count = m_counts[static_cast<int>(Call::Write)];
    const bool shorten =
        m_shortAt > 0 && (count == m_shortAt || (m_shortSticky && count > m_shortAt));
    m_fired = m_fired || shorten;
    return shorten;
}

int FaultyFiles::Passed(int result) {
    if (result < 0) {
        m_lastError = m_system->LastError();
    }
    return result;
}

int FaultyFiles::Opened(int handle) {
    if (handle >= 0) {
        m_open.push_back(handle);
    } else {
        m_lastError = m_system->LastError();
    }
    return handle;
}

int FaultyFiles::OpenExisting(const std::string& path, Access access) {
    return ShouldFail(Call::Open) ? -1 : Opened(m_system->OpenExisting(path, access));
}

int FaultyFiles::CheckReplaceable(const std::string& path) {
    return ShouldFail(Call::Check) ? -1 : Passed(m_system->CheckReplaceable(path));
}

int FaultyFiles::CreateTemporary(const std::string& prefix, int like, std::string& created) {
    return ShouldFail(Call::Create) ? -1 : Opened(m_system->CreateTemporary(prefix, like, created));
}

std::ptrdiff_t FaultyFiles::Read(int handle, void* buffer, std::size_t count) {
    return ShouldFail(Call::Read) ? -1 : m_system->Read(handle, buffer, count);
}

std::ptrdiff_t FaultyFiles::Write(int handle, const void* buffer, std::size_t count) {
    if (ShouldFail(Call::Write)) {
        return -1;
    }
    if (ShouldShorten()) {
        count = std::max<std::size_t>(1, count / 2);
    }
    return m_system->Write(handle, buffer, count);
}

int FaultyFiles::Seek(int handle, std::int64_t offset) {
    return ShouldFail(Call::Seek) ? -1 : m_system->Seek(handle, offset);
}

std::int64_t FaultyFiles::Size(int handle) {
    return m_system->Size(handle);
}

bool FaultyFiles::IsSameFile(int handle, const std::string& path) {
    return m_system->IsSameFile(handle, path);
}

int FaultyFiles::ModificationTime(int handle, FileTime& time) {
    return ShouldFail(Call::Time) ? -1 : Passed(m_system->ModificationTime(handle, time));
}

int FaultyFiles::SetModificationTime(int handle, const FileTime& time) {
    return ShouldFail(Call::Time) ? -1 : Passed(m_system->SetModificationTime(handle, time));
}

int FaultyFiles::Flush(int handle) {
    return ShouldFail(Call::Flush) ? -1 : Passed(m_system->Flush(handle));
}

int FaultyFiles::Replace(const std::string& from, const std::string& to) {
    return ShouldFail(Call::Replace) ? -1 : Passed(m_system->Replace(from, to));
}

int FaultyFiles::Remove(const std::string& path) {
    return ShouldFail(Call::Remove) ? -1 : Passed(m_system->Remove(path));
}

int FaultyFiles::ListFolder(const std::string& folder, std::vector<std::string>& names) {
    return ShouldFail(Call::List) ? -1 : Passed(m_system->ListFolder(folder, names));
}

bool FaultyFiles::SameName(std::string_view first, std::string_view second) {
    return m_system->SameName(first, second);
}

int FaultyFiles::Identify(const std::string& path, FileId& id) {
    return m_system->Identify(path, id);
}

int FaultyFiles::Lock(int handle) {
    return ShouldFail(Call::Lock) ? -1 : Passed(m_system->Lock(handle));
}

int FaultyFiles::Close(int handle) {
    std::erase(m_open, handle);
    // The handle is closed for real even when the call reports a failure, as close() does.
    const int result = m_system->Close(handle);
    return ShouldFail(Call::Close) ? -1 : result;
}

int FaultyFiles::LastError() {
    return m_lastError;
}

std::vector<std::string> EngineLines(const std::string& fileName, const Bytes& bytes,
                                     const ConversionChoice& choice, bool backup) {
    const TempDir folder;
    const std::string path = folder.File(fileName);
    WriteFile(path, bytes);
    RecordingLog log;
    CountingCursor cursor;
    Execute(path, choice, backup, log, cursor);
    return log.lines;
}

}  // namespace dnl::test
