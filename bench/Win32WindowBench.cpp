// Times the Win32 window's Execute (backup off) on a DNL file of 10^5 MISC records against the
// engine's run alone with its lines kept in a std::vector<std::string>, both in the same process
// under Wine. Eleven repetitions, the two interleaved, each window a fresh one; medians of the time
// on the clock and of the time the thread spent on a processor. Then it times the ways tried of
// putting as many lines into the memo's control alone, beside the memo in a fresh window. Run it
// through scripts/bench-windows, which gives it a virtual display.

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "EngineAlone.h"
#include "StatusMemo.h"
#include "TestSupport.h"
#include "WideText.h"
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

// How a candidate control is given the lines a run logs.
enum class Feed {
    Batches,     // as the window gives them: an edit for every 2,000 lines, then the rest
    Hidden,      // the same, the control hidden meanwhile
    RedrawOff,   // the same, with the control's redrawing off meanwhile
    OneSetText,  // the whole text at once
};

struct MemoCandidate {
    const char* name;
    const wchar_t* windowClass;
    DWORD extraStyle;
    Feed feed;
};

const MemoCandidate kMemoCandidates[] = {
    {"EDIT, in batches, as the window", WC_EDITW, 0, Feed::Batches},
    {"EDIT, hidden meanwhile", WC_EDITW, 0, Feed::Hidden},
    {"EDIT, redraw off meanwhile", WC_EDITW, 0, Feed::RedrawOff},
    {"EDIT, one WM_SETTEXT", WC_EDITW, 0, Feed::OneSetText},
    {"EDIT, no wrapping (ES_AUTOHSCROLL)", WC_EDITW, ES_AUTOHSCROLL, Feed::Batches},
    {"RichEdit 5.0, plain text, in batches", MSFTEDIT_CLASS, 0, Feed::Batches},
};

void FeedLines(HWND control, Feed feed) {
    if (feed == Feed::OneSetText) {
        const std::wstring line = Wide(kMiscLine) + L"\r\n";
        std::wstring text = L"\r\n";
        for (int record = 0; record < kMiscRecords; ++record) {
            text += line;
        }
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        const int end = GetWindowTextLengthW(control);
        SendMessageW(control, EM_SETSEL, end, end);
        SendMessageW(control, EM_SCROLLCARET, 0, 0);
        return;
    }
    win32::StatusMemo memo(control);
    for (int line = 0; line < kMiscRecords; ++line) {
        memo.AddLine(kMiscLine);
    }
    memo.ShowAddedLines();
}

// A control of the candidate's kind in place of the window's memo, with its style, bounds and
// font: the time it takes to hold a line for every record and show the last one.
Stopwatch::Times MemoCandidateFed(const MemoCandidate& candidate) {
    const test::WindowUnderTest ui;
    HWND memo = ui.Control(IDC_mmStatus);
    const Rect bounds = test::Bounds(memo);
    HWND control = CreateWindowExW(
        static_cast<DWORD>(GetWindowLongW(memo, GWL_EXSTYLE)), candidate.windowClass, L"",
        static_cast<DWORD>(GetWindowLongW(memo, GWL_STYLE)) | candidate.extraStyle, bounds.left,
        bounds.top, bounds.width, bounds.height, ui.window, nullptr, nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(memo, WM_GETFONT, 0, 0), TRUE);
    SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    // A RichEdit takes these only while empty; an EDIT ignores them.
    SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SetWindowTextW(control, L"\r\n");
    ShowWindow(memo, SW_HIDE);
    test::Pump(ui.window);

    const Stopwatch stopwatch;
    if (candidate.feed == Feed::Hidden) {
        ShowWindow(control, SW_HIDE);
    } else if (candidate.feed == Feed::RedrawOff) {
        SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    }
    FeedLines(control, candidate.feed);
    ShowWindow(control, SW_SHOW);
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const Stopwatch::Times fed = stopwatch.Elapsed();
    if (SendMessageW(control, EM_GETLINECOUNT, 0, 0) <= kMiscRecords) {
        std::fprintf(stderr, "%s did not take every line\n", candidate.name);
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

    LoadLibraryW(L"msftedit.dll");
    std::printf("\nThe memo's control alone, %d lines, median of %d runs:  clock  processor\n",
                kMiscRecords, kMemoRepetitions);
    for (const MemoCandidate& candidate : kMemoCandidates) {
        std::vector<double> wall;
        std::vector<double> cpu;
        for (int repetition = 0; repetition < kMemoRepetitions; ++repetition) {
            const Stopwatch::Times fed = MemoCandidateFed(candidate);
            wall.push_back(fed.wall);
            cpu.push_back(fed.cpu);
        }
        std::printf("  %-36s %7.1f ms %7.1f ms\n", candidate.name, Median(wall) * 1e3,
                    Median(cpu) * 1e3);
    }
    return 0;
}
