#pragma once
// The one place where code-page-932 bytes and QString meet.
#include <QString>
#include <string>

namespace ui {

QString fromCp932(const std::string& bytes);
// Whether code page 932 holds every character of the text.
bool fitsCp932(const QString& text);
// Characters that do not fit become '?': callers that must not lose text check
// fitsCp932 first.
std::string toCp932(const QString& text);

}  // namespace ui
