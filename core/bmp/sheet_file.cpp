#include "core/bmp/sheet_file.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "core/bmp/bmp_layout.h"
#include "core/platform/regular_file.h"
#include "core/text/failures.h"

namespace core {
namespace {

// The sheet's file; anything that keeps it from being read is the file-open failure
// naming the sheet as the user gave it.
class SheetFile {
public:
    SheetFile(const std::string& path, const std::string& nameInFailure) : nameInFailure_(nameInFailure) {
        // No file has a name with a NUL in it; the bytes before it would name another.
        if (path.empty() || path.find('\0') != std::string::npos) fail();
        opened([&] { file_ = std::make_unique<RegularFile>(path); });
    }

    std::uint64_t length() const { return file_->length(); }

    // The bytes at `offset`, fewer where the file ends sooner than its length said.
    std::string read(std::uint64_t offset, std::uint64_t length) {
        std::string bytes;
        try {
            bytes.resize(static_cast<std::size_t>(std::min(length, file_->length() - std::min(offset, file_->length()))));
        } catch (const std::bad_alloc&) {
            throw OutOfMemoryFailure();
        }
        opened([&] { bytes.resize(file_->readAt(offset, bytes.data(), bytes.size())); });
        return bytes;
    }

    void close() {
        opened([&] { file_->close(); });
    }

private:
    [[noreturn]] void fail() { throw FileOpenFailure(nameInFailure_); }
    template <typename Step>
    void opened(Step step) {
        try {
            step();
        } catch (const SystemError&) {
            fail();
        } catch (const NotRegularFile&) {
            fail();
        }
    }

    std::unique_ptr<RegularFile> file_;
    const std::string& nameInFailure_;
};

}  // namespace

Bitmap readSheetFile(const std::string& path, const std::string& nameInFailure, const AdmitSize& admit) {
    SheetFile file(path, nameInFailure);
    const std::string head = file.read(0, bmp::kBmpHeadBytes);
    // A file that shrank since it was opened ends where its bytes do.
    const std::uint64_t length = head.size() < bmp::kBmpHeadBytes ? head.size() : file.length();
    const auto fetch = [&file](std::uint64_t offset, std::uint64_t count) { return file.read(offset, count); };
    Bitmap sheet = decodeBmpParts(head, length, fetch, admit);
    file.close();
    return sheet;
}

}  // namespace core
