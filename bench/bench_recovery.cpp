// The recovery copy of the largest map: the snapshot the user-interface thread takes
// (all of a copy that holds the editing up) and the whole copy the worker writes,
// with the memory the copy adds while it is written.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include <stdlib.h>
#include <unistd.h>

#include "core/map/editor_state.h"
#include "core/map/windowless_size_fields.h"
#include "core/recovery/recovery_copy.h"
#include "peak_memory.h"

namespace {

constexpr int kSide = 4096;

core::EditorState& largestDocument() {
    static core::EditorState state = [] {
        core::EditorState s;
        core::WindowlessSizeFields fields(s);
        fields.setWidthText(std::to_string(kSide));
        fields.setHeightText(std::to_string(kSide));
        std::mt19937 random(2026);
        for (const core::MapRow row : s.Map)
            for (auto& cell : row) cell = static_cast<core::Cell>(random());
        return s;
    }();
    return state;
}

core::RecoverySnapshot snapshotOf(const core::EditorState& document) {
    return core::snapshotOf(document, std::to_string(kSide), std::to_string(kSide));
}

void BM_RecoverySnapshotOfTheLargestMap(benchmark::State& state) {
    const core::EditorState& document = largestDocument();
    for (auto _ : state) {
        core::RecoverySnapshot snapshot = snapshotOf(document);
        benchmark::DoNotOptimize(snapshot.document.Map[kSide - 1][kSide - 1]);
    }
}
BENCHMARK(BM_RecoverySnapshotOfTheLargestMap)->Unit(benchmark::kMillisecond);

void BM_RecoveryCopyOfTheLargestMap(benchmark::State& state) {
    const core::EditorState& document = largestDocument();
    std::string pattern = "/tmp/quarvel-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern.data()) ? pattern + "/recovery" : "/tmp/quarvel-bench-recovery";
    long extraKilobytes = 0;
    for (auto _ : state) {
        bench::resetPeakMemory();
        const long before = bench::statusKilobytes("VmRSS:");
        core::writeRecoveryCopy(folder, "largest.quarvel", snapshotOf(document));
        extraKilobytes = std::max(extraKilobytes, bench::statusKilobytes("VmHWM:") - before);
    }
    state.counters["peak_above_MiB"] = static_cast<double>(extraKilobytes) / 1024;
    ::unlink((folder + "/largest.quarvel").c_str());
    ::rmdir(folder.c_str());
    ::rmdir(pattern.c_str());
}
BENCHMARK(BM_RecoveryCopyOfTheLargestMap)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
