// A resize beyond an address-space limit.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/map/size_fields.h"
#include "core/text/failures.h"

namespace {

// Exit code 0 when a resize beyond an address-space limit raises the out-of-memory
// failure and leaves the map as it was.
int resizeBeyondMemoryLimit() {
    core::TileMap map(4, 4, 9);
    const rlimit limit{256u << 20, 256u << 20};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    bool raised = false;
    try {
        core::resizeMap(map, 20000, 20000);  // 800 MB
    } catch (const core::OutOfMemoryFailure&) {
        raised = true;
    }
    return raised && map.size() == 4 && map[3].size() == 4 && map[3][3] == 9 ? 0 : 1;
}

// Run in a child, so the limit and the failed allocation stay there.
TEST(ResizeMapDeathTest, NoMemoryRaisesTheOutOfMemoryFailureAndKeepsTheMap) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's allocator ends the process on a failed allocation instead of raising bad_alloc";
#endif
    EXPECT_EXIT(std::exit(resizeBeyondMemoryLimit()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
