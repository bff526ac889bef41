// Export of the largest map: the three formats through the file sink into a file and
// into /dev/null, and quarvel-export as a whole process (read + C array).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/editor_state.h"
#include "core/export_formats.h"
#include "core/text_file_writer.h"
#include "core/windowless_size_fields.h"
#include "core/project_file.h"

namespace {

constexpr char kExportPath[] = "/tmp/quarvel_bench_export.h";
constexpr char kProjectPath[] = "/tmp/quarvel_bench_export.quarvel";
constexpr char kToolOutputPath[] = "/tmp/quarvel_bench_export_tool.h";
constexpr double kMegabyte = 1024.0 * 1024.0;

double peakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0 / kMegabyte;
}

// Taken before the map exists, so that what an export adds can be told apart.
const double kPeakBeforeMap = peakResidentMegabytes();

const core::EditorState& largestRandomMap() {
    static const core::EditorState state = [] {
        core::EditorState built;
        built.MapWidth = core::kMaxMapSize;
        built.MapHeight = core::kMaxMapSize;
        built.Map = core::TileMap(core::kMaxMapSize, core::kMaxMapSize);
        std::mt19937 random(20261208);
        for (const core::MapRow row : built.Map)
            for (auto& cell : row) cell = static_cast<core::Cell>(random());
        return built;
    }();
    return state;
}

double mapMegabytes() { return static_cast<double>(core::kMaxMapSize) * core::kMaxMapSize * sizeof(core::Cell) / kMegabyte; }

void exportLargestMap(benchmark::State& bench, core::ExportFormat format) {
    const core::EditorState& state = largestRandomMap();
    for (auto _ : bench) core::exportToFile(format, state, kExportPath);
    std::FILE* written = std::fopen(kExportPath, "rb");
    std::fseek(written, 0, SEEK_END);
    bench.counters["file_MB"] = static_cast<double>(std::ftell(written)) / kMegabyte;
    std::fclose(written);
    // An upper bound: everything above the map that the process ever held.
    bench.counters["peak_beyond_map_MB"] = peakResidentMegabytes() - kPeakBeforeMap - mapMegabytes();
    std::remove(kExportPath);
}

void BM_ExportCarray(benchmark::State& bench) { exportLargestMap(bench, core::ExportFormat::CArray); }
void BM_ExportGas(benchmark::State& bench) { exportLargestMap(bench, core::ExportFormat::Gas); }
void BM_ExportDragonBasic(benchmark::State& bench) { exportLargestMap(bench, core::ExportFormat::DragonBasic); }

BENCHMARK(BM_ExportCarray)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportGas)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportDragonBasic)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The generators through the file sink into the line writer, as an export to a file
// runs them, with /dev/null behind the writer: what the file itself adds (the
// temporary file, its pages, the sync and the rename) is the difference to the
// benchmarks above.
void generateLargestMap(benchmark::State& bench, core::ExportFormat format) {
    const core::EditorState& state = largestRandomMap();
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    for (auto _ : bench) {
        core::TextFileWriter writer = core::TextFileWriter::toDescriptor(devNull);
        core::writeExport(format, state, writer);
        writer.commit();
    }
    ::close(devNull);
}

void BM_GenerateCarray(benchmark::State& bench) { generateLargestMap(bench, core::ExportFormat::CArray); }
void BM_GenerateGas(benchmark::State& bench) { generateLargestMap(bench, core::ExportFormat::Gas); }
void BM_GenerateDragonBasic(benchmark::State& bench) { generateLargestMap(bench, core::ExportFormat::DragonBasic); }

BENCHMARK(BM_GenerateCarray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateGas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateDragonBasic)->Unit(benchmark::kMillisecond);

#ifdef QUARVEL_EXPORT_EXE
void writeLargestProject() {
    core::EditorState state;
    core::WindowlessSizeFields fields(state);
    fields.setWidthText("4096");
    fields.setHeightText("4096");
    state.Map = largestRandomMap().Map;
    core::writeProject(kProjectPath, state, fields);
}

// Wall time of one whole run, with the child's peak memory.
void BM_QuarvelExportProcess(benchmark::State& bench) {
    writeLargestProject();
    std::string program = QUARVEL_EXPORT_EXE;
    std::string outputFlag = "-o";
    std::string output = kToolOutputPath;
    std::string project = kProjectPath;
    char* argv[] = {program.data(), outputFlag.data(), output.data(), project.data(), nullptr};
    char* environment[] = {nullptr};
    long childPeakKilobytes = 0;
    for (auto _ : bench) {
        pid_t child = 0;
        if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv, environment) != 0) {
            bench.SkipWithError("cannot start quarvel-export");
            break;
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            bench.SkipWithError("quarvel-export failed");
            break;
        }
        childPeakKilobytes = std::max(childPeakKilobytes, usage.ru_maxrss);
    }
    bench.counters["child_peak_MB"] = static_cast<double>(childPeakKilobytes) * 1024.0 / kMegabyte;
    std::remove(kToolOutputPath);
    std::remove(kProjectPath);
}
BENCHMARK(BM_QuarvelExportProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
#endif

}  // namespace

BENCHMARK_MAIN();
