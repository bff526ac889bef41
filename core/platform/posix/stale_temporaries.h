#pragma once
// The removal of temporary files whose writer is gone: a writer killed outright (or
// a power cut) cannot remove its own, so the next save to the same folder does.
namespace core {

// Removes the regular files in the folder (a descriptor) that are named as temporary
// files of a process that no longer runs. Best effort: what cannot be removed stays.
void removeStaleTemporaryFiles(int folder);

}  // namespace core
