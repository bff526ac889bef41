#pragma once
// A file on disk that is only ever replaced whole: the bytes go into a temporary
// file beside the target, which is synced and renamed over it on commit, and removed
// when the writing is abandoned or fails. A target that cannot be replaced (a device,
// a pipe) is written in place; an open descriptor (standard output) is written as it is.
#include <cstddef>
#include <memory>
#include <string>

namespace core {

class AtomicFile {
public:
    // Follows symbolic links to the file they name and creates the temporary file
    // beside it; the target itself is untouched until commit(). Raises IoFailure.
    explicit AtomicFile(const std::string& path);
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
    // Syncs and closes the temporary file and renames it over the target. Raises IoFailure.
    void commit();

private:
    struct Impl;
    AtomicFile() = default;
    std::unique_ptr<Impl> impl_;
};

}  // namespace core
