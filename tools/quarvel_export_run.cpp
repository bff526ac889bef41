#include "tools/quarvel_export_run.h"

#include <unistd.h>

#include "core/map/windowless_size_fields.h"
#include "core/project/project_file.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

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

bool toStandardOutput(const std::optional<std::string>& outputPath) {
    return !outputPath || *outputPath == kStandardOutputName;
}

void writeOutput(const ExportJob& job, const core::EditorState& state, core::TemporaryNameListener* listener) {
    core::TextFileWriter writer = toStandardOutput(job.outputPath)
                                      ? core::TextFileWriter::toDescriptor(STDOUT_FILENO)
                                      : core::TextFileWriter(*job.outputPath, listener);
    core::writeExport(job.format, state, writer);
    writer.commit();
}

// Runs one step of the export; whatever it raises is raised again with `file`.
template <typename Step>
auto concerning(const std::string& file, Step step) {
    try {
        return step();
    } catch (const std::exception&) {
        throw ExportFailure(file, std::current_exception());
    }
}

}  // namespace

void runExport(const ExportJob& job, core::TemporaryNameListener* listener) {
    core::EditorState state = concerning(job.projectPath, [&] { return openProject(job.projectPath); });
    if (job.label) state.MapName = *job.label;
    const std::string output = toStandardOutput(job.outputPath) ? "standard output" : *job.outputPath;
    concerning(output, [&] { writeOutput(job, state, listener); });
}

}  // namespace quarvel_export
