// Times the Win32 window's Execute (backup off) on a DNL file of 10^5 MISC records against the
// engine's run alone with its lines kept in a std::vector<std::string>, both in the same process
// under Wine. Eleven repetitions, the two interleaved, each window a fresh one; medians of the time
// on the clock and of the time the thread spent on a processor. Then it times the memo alone given
// as many lines, in a fresh window. Run it through scripts/bench-windows, which gives it a virtual
// display.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "EngineAlone.h"
#include "StatusMemo.h"
#include "TestSupport.h"
#include "WindowDriver.h"
#include "resource.h"

namespace dnl::bench {
namespace {

constexpr int kMiscRecords = 100'000;
constexpr int kRepetitions = 11;
constexpr int kMemoRepetitions = 3;
constexpr const char* kMiscLine = "Modified the MISC record to 6145";

double ClockSeconds() {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ProcessorSeconds() {
    FILETIME created{};
    FILETIME ended{};
    FILETIME kernel{};
    FILETIME user{};
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;  // 100 ns ticks
}

// Time on the clock and time on a processor since it was made.
class Stopwatch {
public:
    struct Times {
        double wall;
        double cpu;
    };
    Times Elapsed() const { return {ClockSeconds() - m_wall, ProcessorSeconds() - m_cpu}; }

private:
    double m_wall = ClockSeconds();
    double m_cpu = ProcessorSeconds();
};

// TNWQ8, "1080/50i", GBR, as the window below converts it.
Stopwatch::Times EngineRun(const std::string& path) {
    VectorLog log;
    StillCursor cursor;
    const Stopwatch stopwatch;
    ConversionRun(path, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, log, cursor);
    return stopwatch.Elapsed();
}

// A fresh window on screen with the file opened, TNWQ8 chosen ("1080/50i", GBR) and the backup
// box cleared: the time one press of Execute takes, until the memo has shown the last line.
Stopwatch::Times WindowExecute(const std::wstring& path) {
    const test::WindowUnderTest ui;
    ui.OpenThroughDialog(path);
    ui.Pick(IDC_cbModule, 3);
    ui.Pick(IDC_cbMiscRec, 1);
    SendMessageW(ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
    SendMessageW(ui.Control(IDC_cbBackupDnl), BM_CLICK, 0, 0);
    test::Pump(ui.window);

    const Stopwatch stopwatch;
    SendMessageW(ui.Control(IDC_btnConvert), BM_CLICK, 0, 0);
    UpdateWindow(ui.window);
    return stopwatch.Elapsed();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window's own memo given a line for every record, as a run gives them, until it has shown the
// last one: the memo's share of the window's Execute.
Stopwatch::Times MemoFed() {
    const test::WindowUnderTest ui;
    HWND memo = ui.Control(IDC_mmStatus);
    test::Pump(ui.window);

    const Stopwatch stopwatch;
    win32::StatusMemo lines(memo);
    for (int line = 0; line < kMiscRecords; ++line) {
        lines.AddLine(kMiscLine);
    }
    lines.ShowAddedLines();
    RedrawWindow(memo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Stopwatch::Times fed = stopwatch.Elapsed();
    if (GetWindowTextLengthW(memo) <= kMiscRecords) {
        std::fprintf(stderr, "the memo did not take every line\n");
        std::exit(1);
    }
    return fed;
}

}  // namespace
}  // namespace dnl::bench

int main() {
    using namespace dnl::bench;
    const dnl::test::TempDir folder;
    const std::string path = folder.File("misc.dnl");
    WriteMiscFile(path, kMiscRecords);

    std::vector<double> engineWall;
    std::vector<double> engineCpu;
    std::vector<double> windowWall;
    std::vector<double> windowCpu;
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        const Stopwatch::Times engine = EngineRun(path);
        engineWall.push_back(engine.wall);
        engineCpu.push_back(engine.cpu);
        const Stopwatch::Times window = WindowExecute((folder.Path() / "misc.dnl").wstring());
        windowWall.push_back(window.wall);
        windowCpu.push_back(window.cpu);
    }
    std::printf("Execute on %d MISC records under Wine, median of %d runs:  clock  processor\n",
                kMiscRecords, kRepetitions);
    std::printf("  engine alone, lines in a vector     %7.1f ms %7.1f ms\n",
                Median(engineWall) * 1e3, Median(engineCpu) * 1e3);
    std::printf("  Win32 window's Execute, backup off  %7.1f ms %7.1f ms\n",
                Median(windowWall) * 1e3, Median(windowCpu) * 1e3);
    std::printf("  window / engine                     %7.2f    %7.2f\n",
                Median(windowWall) / Median(engineWall), Median(windowCpu) / Median(engineCpu));

    std::vector<double> memoWall;
    std::vector<double> memoCpu;
    for (int repetition = 0; repetition < kMemoRepetitions; ++repetition) {
        const Stopwatch::Times fed = MemoFed();
        memoWall.push_back(fed.wall);
        memoCpu.push_back(fed.cpu);
    }
    std::printf("  the memo alone, given the lines      %7.1f ms %7.1f ms (median of %d)\n",
                Median(memoWall) * 1e3, Median(memoCpu) * 1e3, kMemoRepetitions);
    return 0;
}
