#pragma once
// The command line of quarvel-export.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/export/binary_export.h"
#include "core/export/export_formats.h"
#include "core/export/export_region.h"

namespace quarvel_export {

// A wrong option or a missing argument; the text says which.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    bool help = false;
    bool version = false;
    core::ExportFormat format = core::ExportFormat::CArray;
    core::ByteOrder byteOrder = core::ByteOrder::LittleEndian;  // of the binary format
    std::optional<core::CellRegion> region;
    std::optional<std::string> label;  // in the terminal's encoding
    std::optional<std::string> outputPath;  // standard output when absent
    std::optional<std::string> outputFolder;  // --out-dir: one file there per project
    std::vector<std::string> projectPaths;  // one, or several with --out-dir
};

// The file name extension of each format, for --out-dir.
std::string extensionOf(core::ExportFormat format);
// DIR/NAME.EXT for the project at `projectPath` (NAME its file name without .quarvel).
std::string outputInFolder(const std::string& folder, const std::string& projectPath, core::ExportFormat format);

// `arguments` without the program name. Raises UsageError.
Options parseArguments(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace quarvel_export
