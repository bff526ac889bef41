#pragma once
// quarvel-export as a whole, from its arguments (in the terminal's encoding) to its
// exit status; the system's own entry point hands them over.
#include <string>
#include <vector>

namespace quarvel_export {

int exportMain(const std::vector<std::string>& arguments);

}  // namespace quarvel_export
