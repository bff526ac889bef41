#pragma once
// One export from a project file, as the editor would open and export it.
#include <optional>
#include <string>

#include "core/export_formats.h"

namespace quarvel_export {

struct ExportJob {
    std::string projectPath;
    core::ExportFormat format = core::ExportFormat::CArray;
    std::optional<std::string> label;  // code page 932; the project's own label when absent
    std::optional<std::string> outputPath;  // standard output when absent
};

// Raises core::Failure; then an output file named by the job is left as it was.
void runExport(const ExportJob& job);

}  // namespace quarvel_export
