#pragma once
// The one place where code-page-932 bytes and QString meet.
#include <QString>
#include <string>

namespace ui {

QString fromCp932(const std::string& bytes);
// Characters code page 932 cannot hold are not converted silently: check first.
bool fitsCp932(const QString& text);
// Raises core::FileOpenFailure-free plain conversion; callers check fitsCp932 first,
// characters that do not fit become '?'.
std::string toCp932(const QString& text);

}  // namespace ui
