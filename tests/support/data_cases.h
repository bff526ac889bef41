#pragma once
// The cases under tests/data: one folder per case with its input, project.quarvel, and
// the files it must give: expected.quarvel (the project saved again), expected.<format>
// (the export in that format) or expected-failure.txt (the failure text as shown).
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/export/export_formats.h"

namespace testsupport {

// The case folders of tests/data/<kind>, in name order.
inline std::vector<std::filesystem::path> dataCases(const std::string& kind) {
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QUARVEL_SOURCE_DIR) / "tests/data" / kind))
        if (entry.is_directory()) folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    return folders;
}

// A case folder as a test name: "export/worked-example" is export_worked_example.
inline std::string caseName(const std::filesystem::path& folder) {
    std::string name = folder.parent_path().filename().string() + "_" + folder.filename().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// The export formats by the names quarvel-export gives them, which name the expected files.
inline const std::vector<std::pair<std::string, core::ExportFormat>>& exportFormats() {
    static const std::vector<std::pair<std::string, core::ExportFormat>> formats = {
        {"c", core::ExportFormat::CArray}, {"gas", core::ExportFormat::Gas}, {"dragonbasic", core::ExportFormat::DragonBasic}};
    return formats;
}

}  // namespace testsupport
