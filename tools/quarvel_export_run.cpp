#include "tools/quarvel_export_run.h"

#include <unistd.h>

#include "core/failures.h"
#include "core/plain_size_fields.h"
#include "core/project_file.h"
#include "core/size_fields.h"
#include "core/text_file_writer.h"

namespace quarvel_export {
namespace {

// The editor's open command: read, then let the size fields, capped at 4096,
// decide the map's size.
core::EditorState openProject(const std::string& path) {
    core::EditorState state;
    core::PlainSizeFields fields(state);
    core::readProject(path, state, fields);
    core::changeMapSizeX(state, fields);
    core::changeMapSizeY(state, fields);
    // The editor would show these and go on; a build must not go on from a
    // document whose opening failed somewhere.
    if (!fields.shownFailures().empty()) throw core::Failure(fields.shownFailures().front());
    return state;
}

core::TextFileWriter writerFor(const std::optional<std::string>& outputPath) {
    return outputPath ? core::TextFileWriter(*outputPath) : core::TextFileWriter::toDescriptor(STDOUT_FILENO);
}

}  // namespace

void runExport(const ExportJob& job) {
    core::EditorState state = openProject(job.projectPath);
    if (job.label) state.MapName = *job.label;
    core::TextFileWriter writer = writerFor(job.outputPath);
    core::writeExport(job.format, state, writer);
    writer.commit();
}

}  // namespace quarvel_export
