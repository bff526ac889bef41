#include "tools/quarvel_export_run.h"

#include "core/bmp/sheet_file.h"
#include "core/export/png_export.h"
#include "core/map/windowless_size_fields.h"
#include "core/text/code_page.h"
#include "core/project/project_file.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"
#include "tools/quarvel_export_console.h"

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

// The sheet the picture is drawn with, named by the project as the editor opens it
// (its code-page-932 path as the system's UTF-8 name); none for a project without one.
core::Bitmap projectSheet(const core::EditorState& state) {
    if (state.ImagePath.empty()) return {};
    return core::readSheetFile(core::cp932ToUtf8(state.ImagePath).text, state.ImagePath);
}

std::string describe(const core::CellRegion& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

// What the document must be before anything is written: the region cut out, and a
// picture no larger than PNG writers and viewers take.
void prepare(const ExportJob& job, core::EditorState& state) {
    if (job.region) {
        if (!core::regionInside(*job.region, state))
            throw core::Failure("the region " + describe(*job.region) + " does not lie inside the map of " +
                                std::to_string(state.Map.columns()) + " x " + std::to_string(state.Map.size()) +
                                " cells");
        core::cropToRegion(state, *job.region);
    }
    if (job.format == core::ExportFormat::Png && core::picturePixels(state) > core::kMaxPicturePixels)
        throw core::Failure("the picture of " + std::to_string(state.Map.columns()) + " x " +
                            std::to_string(state.Map.size()) + " cells would hold more than " +
                            std::to_string(core::kMaxPicturePixels) +
                            " pixels; export it in parts with --region X,Y,W,H");
}

void writeOutput(const ExportJob& job, const core::EditorState& state, const core::Bitmap& sheet,
                 core::TemporaryNameListener* listener) {
    core::TextFileWriter writer = toStandardOutput(job.outputPath)
                                      ? core::TextFileWriter::toDescriptor(dataOutputDescriptor())
                                      : core::TextFileWriter(*job.outputPath, listener);
    if (job.format == core::ExportFormat::Binary)
        core::writeWords(state, job.byteOrder, writer);
    else if (job.format == core::ExportFormat::Png)
        core::writePng(state, sheet, writer);
    else
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
    const core::Bitmap sheet = concerning(job.projectPath, [&] {
        prepare(job, state);
        return job.format == core::ExportFormat::Png ? projectSheet(state) : core::Bitmap{};
    });
    const std::string output = toStandardOutput(job.outputPath) ? "standard output" : *job.outputPath;
    concerning(output, [&] { writeOutput(job, state, sheet, listener); });
}

}  // namespace quarvel_export
