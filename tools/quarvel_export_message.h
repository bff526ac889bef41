#pragma once
// The line quarvel-export prints for a failure: "quarvel-export: FILE: message".
#include <exception>
#include <string>

namespace quarvel_export {

// `file` as given on the command line, `failure` what ended the export, `codeset`
// the terminal's. A text quoted from a file keeps its first 200 characters and an
// ellipsis, and control bytes and bytes that are no character show escaped (\x1b),
// so that no file can flood the terminal or send it commands. Its cost is bounded
// whatever the failure holds.
std::string failureLine(const std::string& file, const std::exception& failure, const std::string& codeset);

}  // namespace quarvel_export
