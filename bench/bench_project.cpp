// Writing and reading a 4096 x 4096 project of random cells, with the read's peak
// memory above what the process held before it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>

#include <stdlib.h>
#include <unistd.h>

#include "core/map/editor_state.h"
#include "core/map/windowless_size_fields.h"
#include "core/project/project_file.h"
#include "peak_memory.h"

namespace {

constexpr int kSide = 4096;

struct BenchFolder {
    std::string path;
    BenchFolder() {
        std::string pattern = "/tmp/quarvel-bench-XXXXXX";
        path = ::mkdtemp(pattern.data()) ? pattern : "/tmp";
    }
    ~BenchFolder() {
        ::unlink((path + "/bench.quarvel").c_str());
        ::rmdir(path.c_str());
    }
    std::string project() const { return path + "/bench.quarvel"; }
};

BenchFolder& folder() {
    static BenchFolder instance;
    return instance;
}

void fillRandom(core::EditorState& state, core::WindowlessSizeFields& fields) {
    fields.setWidthText(std::to_string(kSide));
    fields.setHeightText(std::to_string(kSide));
    std::mt19937 random(12345);
    for (const core::MapRow row : state.Map)
        for (auto& cell : row) cell = static_cast<core::Cell>(random());
}

const std::string& projectOnDisk() {
    static const std::string path = [] {
        core::EditorState state;
        core::WindowlessSizeFields fields(state);
        fillRandom(state, fields);
        core::writeProject(folder().project(), state, fields);
        return folder().project();
    }();
    return path;
}

void BM_WriteProject(benchmark::State& run) {
    core::EditorState state;
    core::WindowlessSizeFields fields(state);
    fillRandom(state, fields);
    const std::string path = folder().path + "/written.quarvel";
    for (auto _ : run) core::writeProject(path, state, fields);
    std::ifstream written(path, std::ios::binary | std::ios::ate);
    run.counters["file_MB"] = static_cast<double>(written.tellg()) / (1 << 20);
    run.SetBytesProcessed(run.iterations() * static_cast<std::int64_t>(written.tellg()));
    ::unlink(path.c_str());
}

void BM_ReadProject(benchmark::State& run) {
    const std::string& path = projectOnDisk();
    {
        const bool reset = bench::resetPeakMemory();
        const long before = bench::statusKilobytes("VmRSS:");
        core::EditorState state;
        core::WindowlessSizeFields fields(state);
        core::readProject(path, state, fields);
        const long peak = bench::statusKilobytes("VmHWM:");
        const long after = bench::statusKilobytes("VmRSS:");
        if (reset) {
            run.counters["peak_MB_above_start"] = static_cast<double>(peak - before) / 1024;
            run.counters["peak_MB_above_map"] = static_cast<double>(peak - after) / 1024;
        }
    }
    for (auto _ : run) {
        core::EditorState state;
        core::WindowlessSizeFields fields(state);
        core::readProject(path, state, fields);
        benchmark::DoNotOptimize(state.Map.front().data());
    }
}

}  // namespace

BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
