// The largest map's block on Linux: on a huge-page boundary and advised for them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "core/map/tile_map.h"

namespace {

// The VmFlags line of the mapping that holds `address`, from /proc/self/smaps.
std::string mappingFlags(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t start = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-') inside = start <= at && at < end;
        if (inside && line.rfind("VmFlags:", 0) == 0) return line;
    }
    return {};
}

TEST(TileMap, TheLargestMapIsAdvisedForHugePages) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "under AddressSanitizer the map comes from the sanitizer's own allocator";
#endif
    const core::TileMap map(4096, 4096, 7);
    const core::Cell* block = map[0].data();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (2u << 20), 0u);
    if (!std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"))
        GTEST_SKIP() << "this kernel has no transparent huge pages to advise";
    EXPECT_NE(mappingFlags(block).find(" hg"), std::string::npos) << mappingFlags(block);
}

}  // namespace
