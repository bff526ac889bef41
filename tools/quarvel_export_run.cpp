#include "tools/quarvel_export_run.h"

#include <unistd.h>

#include "core/failures.h"
#include "core/project_file.h"
#include "core/text_file_writer.h"
#include "core/windowless_size_fields.h"

namespace quarvel_export {
namespace {

// The editor's open command, the 4096 cap of the size fields included.
core::EditorState openProject(const std::string& path) {
    core::EditorState state;
    core::WindowlessSizeFields fields(state);
    core::openProject(path, state, fields);
    // The editor would show these and go on; a build must not go on from a
    // document whose opening failed somewhere.
    if (!fields.failures().empty()) throw core::Failure(fields.failures().front());
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
