#pragma once
// One export from a project file, as the editor would open and export it.
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/export/binary_export.h"
#include "core/export/export_formats.h"
#include "core/export/export_region.h"
#include "core/platform/atomic_file.h"

namespace quarvel_export {

// The output name that means standard output.
inline constexpr char kStandardOutputName[] = "-";

struct ExportJob {
    std::string projectPath;
    core::ExportFormat format = core::ExportFormat::CArray;
    core::ByteOrder byteOrder = core::ByteOrder::LittleEndian;
    std::optional<core::CellRegion> region;
    std::optional<std::string> label;  // code page 932; the project's own label when absent
    std::optional<std::string> outputPath;  // standard output when absent or "-"
};

// What ended an export, with the file it concerns: the project while it is read,
// the output while it is written ("standard output" there).
class ExportFailure : public std::exception {
public:
    ExportFailure(std::string file, std::exception_ptr cause) : file_(std::move(file)), cause_(std::move(cause)) {}
    const std::string& file() const noexcept { return file_; }
    const std::exception_ptr& cause() const noexcept { return cause_; }
    const char* what() const noexcept override { return "the export failed"; }

private:
    std::string file_;
    std::exception_ptr cause_;
};

// Raises ExportFailure; then an output file named by the job is left as it was.
// `listener` is told where the output's temporary file has a name meanwhile.
void runExport(const ExportJob& job, core::TemporaryNameListener* listener = nullptr);

}  // namespace quarvel_export
