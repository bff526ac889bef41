#pragma once
// The recovery copy: while a document has unsaved changes the editor keeps a copy of
// it in the project file's own format, one per document, in a folder of the user's
// (0700, the copies 0600, where the system has such modes), so a crash, a kill or a power cut loses seconds, not work.
#include <cstdint>
#include <optional>
#include <string>

#include "core/map/editor_state.h"

namespace core {

// What a copy holds: the document and the size fields' texts, taken at one moment so
// that another thread can write it while the editing goes on.
struct RecoverySnapshot {
    EditorState document;
    std::string widthText;
    std::string heightText;
};

// Only what the project file holds: the sheet's pixels stay out of the copy.
RecoverySnapshot snapshotOf(const EditorState& document, std::string widthText, std::string heightText);

// quarvel-editor/recovery in the user's state folder (see userStateFolder()); nothing
// without one.
std::optional<std::string> recoveryFolder(const std::optional<std::string>& stateFolder);

// The copy's file name for the project at `absolutePath`, the same whenever the same
// path is given: its file name (at most 100 bytes of it) and a hash of the whole
// path, so two projects of one name in two folders keep two copies. A document never
// saved ("") has "untitled.quarvel".
std::string recoveryFileName(const std::string& absolutePath);

// Writes the copy through the safe writer, creating the folder (0700) as needed; the
// file is 0600. Raises IoFailure.
void writeRecoveryCopy(const std::string& folder, const std::string& fileName, const RecoverySnapshot& snapshot);

// When the file was last written, in seconds since 1970; nothing when there is none.
std::optional<std::int64_t> fileTime(const std::string& path);

// Whether a copy exists and is newer than the project file (or the project is gone).
bool recoveryCopyIsNewer(const std::string& copyPath, const std::string& projectPath);

// Removes the copy; one that is not there is no failure. Raises IoFailure.
void removeRecoveryCopy(const std::string& copyPath);

}  // namespace core
