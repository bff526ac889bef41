// libFuzzer target: any bytes, opened as a project the way the editor and
// quarvel-export open one, either give a consistent document that saves and reads
// back the same, or raise one of the reader's own failures and change nothing.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/map/editor_state.h"
#include "core/map/windowless_size_fields.h"
#include "core/project/integer_syntax.h"
#include "core/project/project_file.h"
#include "core/text/failures.h"

namespace {

// A map of a few million cells takes milliseconds to allocate and fill; small inputs
// may declare 4096 x 4096, so those above a million cells are skipped to keep the
// fuzzer's pace. The reader's own limits stay as they are.
constexpr std::int64_t kMaxFuzzedCells = std::int64_t{1} << 20;

// A file in memory, emptied and rewritten for every input, named by its /proc path.
struct MemoryFile {
    int fd;
    std::string path;
    explicit MemoryFile(const char* name)
        : fd(::memfd_create(name, MFD_CLOEXEC)), path("/proc/self/fd/" + std::to_string(fd)) {
        if (fd < 0) std::abort();
    }
    void hold(std::string_view bytes) const {
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            std::abort();
    }
};

// Lines 3 and 4 roughly as the reader takes them (up to LF, without CR, up to 0x1A).
bool declaresHugeMap(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::int64_t size[2] = {0, 0};
    for (int line = 0; line < 4; ++line) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        if (line >= 2) {
            std::string text(bytes.substr(0, end));
            std::erase(text, '\r');
            const auto value = core::tryParseInteger(text);
            size[line - 2] = value ? std::min<std::int64_t>(*value, core::kMaxMapSize) : 0;
        }
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return size[0] * size[1] > kMaxFuzzedCells;
}

bool sameDocument(const core::EditorState& a, const core::EditorState& b) {
    return a.ImagePath == b.ImagePath && a.MapName == b.MapName && a.MapWidth == b.MapWidth &&
           a.MapHeight == b.MapHeight && a.Map == b.Map;
}

bool consistent(const core::EditorState& state) {
    if (state.MapWidth < 0 || state.MapWidth > core::kMaxMapSize || state.MapHeight < 0 ||
        state.MapHeight > core::kMaxMapSize || state.Map.size() != static_cast<std::size_t>(state.MapHeight))
        return false;
    for (const core::MapRow& row : state.Map)
        if (row.size() != static_cast<std::size_t>(state.MapWidth)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MemoryFile input("project");
    static const MemoryFile saved("saved");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (declaresHugeMap(bytes)) return 0;
    input.hold(bytes);

    core::EditorState state;
    core::WindowlessSizeFields fields(state);
    const core::EditorState before = state;
    try {
        core::openProject(input.path, state, fields);
    } catch (const core::Failure&) {
        if (!sameDocument(state, before)) std::abort();
        return 0;
    }
    if (!consistent(state)) std::abort();

    core::writeProject(saved.path, state, fields);
    core::EditorState reopened;
    core::WindowlessSizeFields reopenedFields(reopened);
    core::openProject(saved.path, reopened, reopenedFields);
    if (!sameDocument(state, reopened)) std::abort();
    return 0;
}
