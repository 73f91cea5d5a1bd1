// Times the window's Execute (backup off) on a DNL file of 10^5 MISC records against the engine's
// run alone with its lines kept in a std::vector<std::string>, and measures the heap the status
// memo takes for each line it is given. Eleven repetitions, the two interleaved; medians of the
// time on the clock and of the time the thread spent on a processor, which other work on a busy
// machine disturbs less. Run it on the offscreen platform, as scripts/bench does.

#include <malloc.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "EngineAlone.h"
#include "TestSupport.h"
#include "TfrmMain.h"

namespace dnl::bench {
namespace {

constexpr int kMiscRecords = 100'000;
constexpr int kLinesPerRun = kMiscRecords + 4;  // "Start...", the NAME's two, "Finished"
constexpr int kRepetitions = 11;

// Bytes the C heap has handed out and not taken back.
std::size_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

double Seconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Time on the clock and time on a processor since it was made.
class Stopwatch {
public:
    struct Times {
        double wall;
        double cpu;
    };
    Times Elapsed() const {
        return {Seconds(CLOCK_MONOTONIC) - m_wall, Seconds(CLOCK_THREAD_CPUTIME_ID) - m_cpu};
    }

private:
    double m_wall = Seconds(CLOCK_MONOTONIC);
    double m_cpu = Seconds(CLOCK_THREAD_CPUTIME_ID);
};

// TNWQ8, "1080/50i", GBR, as the window below converts it.
Stopwatch::Times EngineRun(const std::string& path) {
    VectorLog log;
    StillCursor cursor;
    const Stopwatch stopwatch;
    ConversionRun(path, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, log, cursor);
    return stopwatch.Elapsed();
}

struct WindowRun {
    Stopwatch::Times times;
    double bytesPerLine;
};

// A fresh window on screen with the file opened, TNWQ8 chosen ("1080/50i", GBR) and the backup
// box cleared: the time one press of Execute takes, and the heap it leaves taken per line.
WindowRun WindowExecute(const std::string& path) {
    TfrmMain window;
    window.show();
    window.SetFileChooser([&] { return QFile::decodeName(path.c_str()); });
    window.findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
    window.SelectModule(3);
    window.findChild<QCheckBox*>(QStringLiteral("cbBackupDnl"))->setChecked(false);
    QApplication::processEvents();

    const std::size_t heapBefore = HeapInUse();
    const Stopwatch stopwatch;
    window.findChild<QPushButton*>(QStringLiteral("btnConvert"))->click();
    const Stopwatch::Times times = stopwatch.Elapsed();
    QApplication::processEvents();  // the memo as the user then sees it
    return {times, static_cast<double>(HeapInUse() - heapBefore) / kLinesPerRun};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace
}  // namespace dnl::bench

int main(int argc, char** argv) {
    using namespace dnl::bench;
    const QApplication application(argc, argv);
    // The offscreen platform warns about window hints it ignores: nothing measured here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const dnl::test::TempDir folder;
    const std::string path = folder.File("misc.dnl");
    WriteMiscFile(path, kMiscRecords);

    std::vector<double> engineWall;
    std::vector<double> engineCpu;
    std::vector<double> windowWall;
    std::vector<double> windowCpu;
    std::vector<double> bytesPerLine;
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        const Stopwatch::Times engine = EngineRun(path);
        engineWall.push_back(engine.wall);
        engineCpu.push_back(engine.cpu);
        const WindowRun window = WindowExecute(path);
        windowWall.push_back(window.times.wall);
        windowCpu.push_back(window.times.cpu);
        bytesPerLine.push_back(window.bytesPerLine);
    }
    std::printf("Execute on %d MISC records, median of %d runs:  clock  processor\n", kMiscRecords,
                kRepetitions);
    std::printf("  engine alone, lines in a vector     %7.1f ms %7.1f ms\n",
                Median(engineWall) * 1e3, Median(engineCpu) * 1e3);
    std::printf("  window's Execute, backup off        %7.1f ms %7.1f ms\n",
                Median(windowWall) * 1e3, Median(windowCpu) * 1e3);
    std::printf("  window / engine                     %7.2f    %7.2f\n",
                Median(windowWall) / Median(engineWall), Median(windowCpu) / Median(engineCpu));
    std::printf("  memo's heap per line                %7.0f bytes\n", Median(bytesPerLine));
    return 0;
}
