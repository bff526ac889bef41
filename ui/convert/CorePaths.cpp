#include "ui/convert/CorePaths.h"

namespace ui {

std::string corePath(const QString& path) { return path.toUtf8().toStdString(); }

QString fromCorePath(const std::string& path) { return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())); }

}  // namespace ui
