// Times the engine against the least work its file format allows, in the same run: a conversion
// against a loop that makes only the calls the format forces, and a backup against a plain
// 512-byte copy loop, on synthetic DNL files of 10^3, 10^5 and 10^6 records. Prints each ratio
// and the peak memory of a conversion and a backup of the smallest and the largest file, and
// that of `dnlconv info` and of an examination of files of 10^3 and 10^7 records.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Backup.h"
#include "ConversionRun.h"
#include "Examination.h"
#include "FloorLoops.h"
#include "SyntheticDnl.h"
#include "TestSupport.h"

namespace dnl::bench {
namespace {

const std::vector<std::size_t> kSizes = {1'000, 100'000, 1'000'000};
// An examination is only measured for its memory, on a file ten times the largest above.
const std::vector<std::size_t> kExaminedSizes = {1'000, 10'000'000};

// The run's lines are made as usual but not kept: the memo is not what is measured.
class DiscardingLog final : public StatusLog {
public:
    void AddLine(const std::string& /*text*/) override {}
};

class StillCursor final : public BusyCursor {
public:
    void ShowBusy() override {}
    void ShowNormal() override {}
};

// "name/records", built by appending: gcc 12 warns wrongly about a literal added to a string.
std::string Named(std::string name, std::size_t records) {
    return name.append("/").append(std::to_string(records));
}

std::string DnlPath(std::size_t records) {
    return std::string("synthetic-").append(std::to_string(records)).append(".dnl");
}

// TNWQ8, "1080/50i", GBR: the example conversion, rewriting every MISC record.
bool EngineConversion(const std::string& path) {
    DiscardingLog log;
    StillCursor cursor;
    return ConversionRun(path, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, log, cursor)
               .end == RunEnd::Finished;
}

bool EngineBackup(const std::string& path) {
    DiscardingLog log;
    return MakeBackup(path, log).result == 0;
}

template <typename Operation>
void Measure(benchmark::State& state, const std::string& path, Operation operation) {
    for (auto _ : state) {
        if (!operation(path)) {
            state.SkipWithError("the operation failed");
            return;
        }
    }
}

// The benchmark of an engine operation and that of its floor, by name.
struct Comparison {
    std::string engine;
    std::string floor;
};

// Median time per run of each benchmark, by name.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((single || median) && !run.error_occurred) {
                m_seconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const Comparison& names) const {
        const auto e = m_seconds.find(names.engine);
        const auto f = m_seconds.find(names.floor);
        if (e != m_seconds.end() && f != m_seconds.end()) {
            std::printf("%-26s %9.3f ms  %-26s %9.3f ms  ratio %.3f\n", names.engine.c_str(),
                        e->second * 1e3, names.floor.c_str(), f->second * 1e3,
                        e->second / f->second);
        }
    }

private:
    std::map<std::string, double> m_seconds;
};

// Peak resident memory, in KiB, of a fresh process that does `work` once. The process starts
// as a copy of this small one, which sets the floor of what it can show.
template <typename Work>
long PeakMemoryOf(Work work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    rusage usage{};
    return ::wait4(child, &status, 0, &usage) == child ? usage.ru_maxrss : -1;
}

// The real dnlconv, its report thrown away.
void DnlconvInfo(const std::string& path) {
    const int discard = ::open("/dev/null", O_WRONLY);
    ::dup2(discard, STDOUT_FILENO);
    ::execl(DNL_DNLCONV, DNL_DNLCONV, "info", path.c_str(), static_cast<char*>(nullptr));
}

// Runs the benchmarks with these defaults unless the command line says otherwise: five
// repetitions in random order, so that drift hits engine and floor alike, and medians only.
std::vector<char*> WithDefaults(int argc, char** argv) {
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    std::vector<char*> arguments = {argv[0], repetitions, interleaving, aggregates};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    return arguments;
}

}  // namespace
}  // namespace dnl::bench

int main(int argc, char** argv) {
    using namespace dnl::bench;
    std::vector<char*> arguments = WithDefaults(argc, argv);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }

    const dnl::test::TempDir folder;  // the DNL files and their backups
    for (const std::size_t records : kSizes) {
        const std::string path = DnlPath(records);
        WriteSyntheticDnl(path, records);
        const auto add = [&](const std::string& name, auto operation) {
            benchmark::RegisterBenchmark(
                Named(name, records).c_str(),
                [=](benchmark::State& state) { Measure(state, path, operation); })
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        };
        add("ConversionRun", EngineConversion);
        add("ConversionFloor", FloorConversion);
        add("MakeBackup", EngineBackup);
        add("BackupFloor", [](const std::string& p) { return FloorBackup(p, "floor.~NL"); });
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nMedian time per run, engine against floor:\n");
    for (const std::size_t records : kSizes) {
        reporter.PrintRatio({Named("ConversionRun", records), Named("ConversionFloor", records)});
        reporter.PrintRatio({Named("MakeBackup", records), Named("BackupFloor", records)});
    }
    std::printf("\nPeak memory of a backup and a conversion in a fresh process:\n");
    for (const std::size_t records : {kSizes.front(), kSizes.back()}) {
        const std::string path = DnlPath(records);
        std::printf("%9zu records: %ld KiB\n", records, PeakMemoryOf([&] {
                        EngineBackup(path);
                        EngineConversion(path);
                    }));
    }
    std::printf("\nPeak memory of dnlconv info and of an examination in a fresh process:\n");
    for (const std::size_t records : kExaminedSizes) {
        const std::string path = DnlPath(records);
        WriteSyntheticDnl(path, records);
        std::printf("%9zu records: info %ld KiB, examination %ld KiB\n", records,
                    PeakMemoryOf([&] { DnlconvInfo(path); }),
                    PeakMemoryOf([&] { dnl::ExamineDnl(path); }));
    }
    benchmark::Shutdown();
    return 0;
}
