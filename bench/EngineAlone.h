#pragma once

#include <string>
#include <vector>

#include "StatusLog.h"
#include "TestSupport.h"

// What both window benches need to run the engine alone on the file the window converts.
namespace dnl::bench {

// Keeps the lines as the engine gives them, the cheapest log there is.
class VectorLog final : public StatusLog {
public:
    void AddLine(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

class StillCursor final : public BusyCursor {
public:
    void ShowBusy() override {}
    void ShowNormal() override {}
};

// A file for RQX4 with `miscRecords` MISC records between its NAME record and its end record.
inline void WriteMiscFile(const std::string& path, int miscRecords) {
    test::Dnl dnl;
    dnl.Name("RQX4");
    for (int record = 0; record < miscRecords; ++record) {
        dnl.Misc(0x0000);
    }
    test::WriteFile(path, dnl.End().bytes);
}

}  // namespace dnl::bench
