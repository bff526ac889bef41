// Decoding a 1024 × 1024 24-bit tile sheet held in memory.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/bmp/bmp.h"

namespace {

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string sheet24(std::uint32_t width, std::uint32_t height) {
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    std::string file = "BM";
    putLittleEndian(file, 54 + stride * height, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, 54, 4);
    putLittleEndian(file, 40, 4);
    putLittleEndian(file, width, 4);
    putLittleEndian(file, height, 4);
    putLittleEndian(file, 1, 2);
    putLittleEndian(file, 24, 2);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, stride * height, 4);
    file.append(16, '\0');
    file.reserve(file.size() + std::size_t{stride} * height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < stride; ++x) file += static_cast<char>((x * 7 + y * 13) & 0xFF);
    return file;
}

void BM_DecodeBmp24Bit1024(benchmark::State& state) {
    const std::string file = sheet24(1024, 1024);
    for (auto _ : state) {
        core::Bitmap bitmap = core::decodeBmp(file);
        benchmark::DoNotOptimize(bitmap.pixels.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeBmp24Bit1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
