// Export of the largest map: the three formats through the file sink into a file and
// into /dev/null. quarvel-export as a whole process is bench_one_pass's.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "core/export/export_formats.h"
#include "core/map/editor_state.h"
#include "core/project/text_file_writer.h"
#include "peak_memory.h"

namespace {

// One file per process: another run of this benchmark may be writing its own.
const std::string kExportPath = "/tmp/quarvel_bench_export." + std::to_string(::getpid()) + ".h";
constexpr double kMegabyte = 1024.0 * 1024.0;

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

void exportLargestMap(benchmark::State& bench, core::ExportFormat format) {
    const core::EditorState& state = largestRandomMap();
    // What an export holds beyond the document: the peak of the first one above what
    // the process held just before it (later ones reuse memory the process keeps).
    static std::map<core::ExportFormat, double> beyondMap;
    if (!beyondMap.contains(format) && bench::resetPeakMemory()) {
        const long before = bench::statusKilobytes("VmRSS:");
        core::exportToFile(format, state, kExportPath);
        beyondMap[format] = static_cast<double>(bench::statusKilobytes("VmHWM:") - before) / 1024;
    }
    if (beyondMap.contains(format)) bench.counters["peak_beyond_map_MB"] = beyondMap[format];
    for (auto _ : bench) core::exportToFile(format, state, kExportPath);
    std::FILE* written = std::fopen(kExportPath.c_str(), "rb");
    std::fseek(written, 0, SEEK_END);
    bench.counters["file_MB"] = static_cast<double>(std::ftell(written)) / kMegabyte;
    std::fclose(written);
    std::remove(kExportPath.c_str());
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


}  // namespace

BENCHMARK_MAIN();
