#pragma once
// Paths between Qt and core: core takes them as UTF-8 bytes, which a POSIX system
// uses as they are and core's Windows layer turns into UTF-16, so every name opens.
#include <QString>
#include <string>

namespace ui {

std::string corePath(const QString& path);
QString fromCorePath(const std::string& path);

}  // namespace ui
