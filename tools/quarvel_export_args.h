#pragma once
// The command line of quarvel-export.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/export/export_formats.h"

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
    std::optional<std::string> label;  // in the terminal's encoding
    std::optional<std::string> outputPath;  // standard output when absent
    std::string projectPath;
};

// `arguments` without the program name. Raises UsageError.
Options parseArguments(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace quarvel_export
