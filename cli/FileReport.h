#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "StatusLog.h"

namespace dnl::cli {

// Key order is kept as written, so that every object reads alike.
using Json = nlohmann::ordered_json;

// `value` on one line. Text that is not UTF-8 (a name read from a file, a Linux file name) has
// each bad byte shown as U+FFFD instead of failing.
std::string JsonText(const Json& value);

// Where a command writes: its report, and the lines that say why a file failed.
struct Outputs {
    std::ostream& out;
    std::ostream& err;
};

// Where what becomes of each file is told: under a heading, as lines a person reads, or as one
// JSON object a line for scripts. The lines logged for a file are printed as they come in both.
class FileReport : public StatusLog {
public:
    explicit FileReport(Outputs outputs) : m_out(outputs.out), m_err(outputs.err) {}

    // Starts the report of `file`, as its FILE argument was given.
    virtual void Begin(const std::string& file) = 0;
    // Ends it with the facts that a JSON object carries besides the lines: the text says them in
    // lines of its own.
    virtual void End(const Json& facts) = 0;

    // "dnlconv: 'FILE' REASON" on standard error, after what was reported so far.
    void Explain(const std::string& file, const std::string& reason);

protected:
    std::ostream& m_out;

private:
    std::ostream& m_err;
};

// "==> FILE <==" and the lines, each flushed the moment it is logged.
class TextReport final : public FileReport {
public:
    using FileReport::FileReport;

    void Begin(const std::string& file) override;
    void AddLine(const std::string& text) override;
    void End(const Json& facts) override;
};

// {"file": FILE, "dry_run": ..., "lines": [...], and the facts}, written as it goes, so that a
// long conversion's lines are never all held at once.
class JsonReport final : public FileReport {
public:
    JsonReport(Outputs outputs, bool dryRun) : FileReport(outputs), m_dryRun(dryRun) {}

    void Begin(const std::string& file) override;
    void AddLine(const std::string& text) override;
    void End(const Json& facts) override;

private:
    bool m_dryRun;
    bool m_firstLine = true;
};

}  // namespace dnl::cli
