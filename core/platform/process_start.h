#pragma once
// What a program of the editor's sets up with the system before anything else.
namespace core {

// A file-size limit then fails a write with I/O failure 112 instead of ending the
// program with the document unsaved (SIGXFSZ ignored); nothing where no such
// signal exists.
void failWritesPastFileSizeLimit() noexcept;

// Whether there is a desktop to show windows on: DISPLAY or WAYLAND_DISPLAY on POSIX
// systems (or a Qt platform named in QT_QPA_PLATFORM); always on Windows.
bool graphicalSessionAvailable();

}  // namespace core
