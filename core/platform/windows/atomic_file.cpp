#include "core/platform/atomic_file.h"

#include <windows.h>
#include <io.h>

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform/os_error_mapping.h"
#include "core/platform/temporary_names.h"
#include "core/platform/windows/wide_path.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr int kMaxTemporaryNameTries = 100;
constexpr std::size_t kMaxWrite = std::size_t{1} << 30;  // WriteFile takes a 32-bit count

[[noreturn]] void raiseLastError() { throw IoFailure(ioFailureNumber(static_cast<int>(::GetLastError()), true)); }

// What the path names now: nothing yet, a file on disk to replace, or a device or
// pipe (NUL, CON, \\.\pipe\...) to write in place through `handle`.
struct Target {
    enum class Kind { Missing, Disk, InPlace };
    Kind kind = Kind::Missing;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// Opening the target for writing, without changing it, finds out at once whether
// it can be written at all: read-only (5), a folder (5), held by another program
// without sharing (32).
Target probe(const std::wstring& path) {
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return {};
        raiseLastError();
    }
    if (::GetFileType(handle) == FILE_TYPE_DISK) {
        // Windows refuses to replace a read-only file; said here at once, and said the
        // same where the system lets the open through (an administrator under Wine).
        BY_HANDLE_FILE_INFORMATION info{};
        const bool readOnly = ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
        ::CloseHandle(handle);
        if (readOnly) throw IoFailure(io::kAccessDenied);
        return {Target::Kind::Disk};
    }
    return {Target::Kind::InPlace, handle};
}

// Characters no Windows file name may hold: refused before anything is made, since
// NTFS would read "a:b" as a stream b of a file a.
bool isValidName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return false;
    return true;
}

std::pair<std::wstring, std::string> splitFolder(const std::wstring& path, const std::string& utf8) {
    const std::size_t separator = path.find_last_of(L"\\/");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    const std::size_t utf8Separator = utf8.find_last_of("\\/");
    const std::string name = utf8Separator == std::string::npos ? utf8 : utf8.substr(utf8Separator + 1);
    return {folder, name};
}

bool setDeleteOnClose(HANDLE handle, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

struct AtomicFile::Impl {
    enum class Mode {
        Descriptor,  // the caller's descriptor, kept open
        InPlace,     // a device or pipe, opened here
        Replacing,   // a temporary file beside the target, removed on close until commit
    };

    HANDLE handle = INVALID_HANDLE_VALUE;
    Mode mode = Mode::Descriptor;
    std::wstring target;
    std::wstring temporary;
    int failedNumber = 0;

    ~Impl() { discard(); }

    // The temporary file goes with its handle; the target stays as it was.
    void discard() noexcept {
        if (handle != INVALID_HANDLE_VALUE && mode != Mode::Descriptor) ::CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }

    [[noreturn]] void failWith(int number) {
        failedNumber = number;
        discard();
        throw IoFailure(number);
    }
    [[noreturn]] void failWithLastError() { failWith(ioFailureNumber(static_cast<int>(::GetLastError()), true)); }

    void createTemporary(const std::wstring& folder, const std::string& name);
    DWORD replaceTarget();
};

// The file is marked for removal as soon as it exists, so a writer that is killed,
// or fails, leaves nothing behind: the system removes it with the last handle.
void AtomicFile::Impl::createTemporary(const std::wstring& folder, const std::string& name) {
    static const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate = temporaryFileName(
            name, static_cast<long>(::GetCurrentProcessId()), (seed + static_cast<unsigned>(attempt) * 7919u) % 1000000007u);
        const std::wstring path = folder + widePath(candidate);
        handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            temporary = path;
            mode = Mode::Replacing;
            if (!setDeleteOnClose(handle, true)) failWithLastError();
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) raiseLastError();
    }
    throw IoFailure(ERROR_FILE_EXISTS);
}

// Renamed through its own handle, so that no other open of it can fail on its
// sharing and the file is never closed while it has its temporary name; where the
// file system cannot do that, it is closed and moved. The new name is the target's
// path as given, absolute or relative to the current folder, both of which the
// rename takes. Gives the error, or 0.
DWORD AtomicFile::Impl::replaceTarget() {
    const std::size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(bytes, 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), rename->FileName);
    if (::SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(bytes))) return 0;
    const DWORD error = ::GetLastError();
    if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED && error != ERROR_CALL_NOT_IMPLEMENTED)
        return error;
    ::CloseHandle(std::exchange(handle, INVALID_HANDLE_VALUE));
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD moveError = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return moveError;
    }
    return 0;
}

AtomicFile::AtomicFile(const std::string& path, TemporaryNameListener* /*listener*/, unsigned /*newFileMode*/)
    : impl_(std::make_unique<Impl>()) {
    Impl& file = *impl_;
    file.target = widePath(path);
    if (file.target.empty()) throw IoFailure(io::kPathNotFound);
    const auto [folder, name] = splitFolder(file.target, path);
    if (!isValidName(name)) throw IoFailure(io::kInvalidName);
    const Target found = probe(file.target);
    if (found.kind == Target::Kind::InPlace) {
        file.handle = found.handle;
        file.mode = Impl::Mode::InPlace;
        return;
    }
    file.createTemporary(folder, name);
}

AtomicFile AtomicFile::onDescriptor(int fd) {
    AtomicFile file;
    file.impl_ = std::make_unique<Impl>();
    file.impl_->handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    return file;
}

AtomicFile::AtomicFile(AtomicFile&&) noexcept = default;
AtomicFile& AtomicFile::operator=(AtomicFile&&) noexcept = default;
AtomicFile::~AtomicFile() = default;

void AtomicFile::checkUsable() const {
    if (impl_->handle == INVALID_HANDLE_VALUE)
        throw IoFailure(impl_->failedNumber != 0 ? impl_->failedNumber : ERROR_INVALID_HANDLE);
}

void AtomicFile::write(const char* data, std::size_t size) {
    checkUsable();
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(impl_->handle, data, static_cast<DWORD>(std::min(size, kMaxWrite)), &written, nullptr))
            impl_->failWithLastError();
        if (written == 0) impl_->failWith(io::kDiskFull);
        data += written;
        size -= written;
    }
}

// The data on disk first, then the name: a power cut leaves the old file or the new
// one, never a part. The removal mark comes off only once the data is there.
void AtomicFile::commit() {
    Impl& file = *impl_;
    checkUsable();
    using Mode = Impl::Mode;
    if (file.mode == Mode::Descriptor) return;
    if (file.mode == Mode::InPlace) {
        const HANDLE handle = std::exchange(file.handle, INVALID_HANDLE_VALUE);
        if (!::CloseHandle(handle)) file.failWithLastError();
        return;
    }
    if (!::FlushFileBuffers(file.handle)) file.failWithLastError();
    if (!setDeleteOnClose(file.handle, false)) file.failWithLastError();
    if (const DWORD error = file.replaceTarget()) {
        if (file.handle != INVALID_HANDLE_VALUE) setDeleteOnClose(file.handle, true);
        file.failWith(ioFailureNumber(static_cast<int>(error), true));
    }
    if (file.handle == INVALID_HANDLE_VALUE) return;
    // The new name on disk too, before the file counts as saved.
    if (!::FlushFileBuffers(file.handle)) file.failWithLastError();
    const HANDLE handle = std::exchange(file.handle, INVALID_HANDLE_VALUE);
    if (!::CloseHandle(handle)) throw IoFailure(ioFailureNumber(static_cast<int>(::GetLastError()), true));
}

}  // namespace core
