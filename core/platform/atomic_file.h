#pragma once
// A file on disk that is only ever replaced whole: the bytes go into a temporary
// file in the target's folder, which is synced and renamed over the target on commit,
// and the folder is synced after it. Where the system offers one, the temporary file
// has no name until it is complete, so a killed writer leaves nothing behind.
// A target that cannot be replaced (a device, a pipe, a terminal, an open descriptor
// named by /dev/stdout or /proc/self/fd) is written in place.
#include <cstddef>
#include <memory>
#include <string>

namespace core {

// Told while a temporary file has a name in the target's folder, so that a process
// ended by a signal can remove it (unlinkat(folder, name)). `folder` is a descriptor
// of the folder, open until temporaryGone(). The calls come from the writing thread.
class TemporaryNameListener {
public:
    virtual void temporaryNamed(int folder, const std::string& name) noexcept = 0;
    virtual void temporaryGone() noexcept = 0;

protected:
    ~TemporaryNameListener() = default;
};

class AtomicFile {
public:
    // Follows symbolic links as the kernel's protection for sticky, world-writable
    // folders would: a link there is followed only when the writer or the folder's
    // owner owns it. The target itself is untouched until commit(). Raises IoFailure.
    // A new file gets `newFileMode` less the umask; a replaced one keeps its own.
    explicit AtomicFile(const std::string& path, TemporaryNameListener* listener = nullptr,
                        unsigned newFileMode = 0666);
    // Writes to a descriptor the caller keeps open; commit() writes nothing more.
    static AtomicFile onDescriptor(int fd);
    AtomicFile(AtomicFile&&) noexcept;
    AtomicFile& operator=(AtomicFile&&) noexcept;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Discards the temporary file when commit() was not reached.
    ~AtomicFile();

    // Raises the failure that ended this file, if one did; every call below starts so.
    void checkUsable() const;
    // Writes all the bytes. A failure discards the file and raises IoFailure.
    void write(const char* data, std::size_t size);
    // Syncs the temporary file, gives it the target's name and syncs the folder; then
    // removes the folder's temporary files whose writer is gone. Raises IoFailure.
    void commit();

private:
    struct Impl;
    AtomicFile() = default;
    std::unique_ptr<Impl> impl_;
};

}  // namespace core
