#include "ui/sheet/SheetFile.h"

#include <QFile>
#include <QFileInfo>

#include "core/text/failures.h"
#include "ui/toolkit/Cp932.h"

namespace ui {

QByteArray readWholeFile(const QString& name, const std::string& nameInFailure) {
    // A folder opens on some systems and then fails to read; it is no sheet file.
    if (name.isEmpty() || QFileInfo(name).isDir()) throw core::FileOpenFailure(nameInFailure);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) throw core::FileOpenFailure(nameInFailure);
    QByteArray bytes = file.readAll();
    // readAll() answers a read error with what it got so far; that must not pass as the file.
    if (file.error() != QFileDevice::NoError) throw core::FileOpenFailure(nameInFailure);
    return bytes;
}

QByteArray readSheetFile(const std::string& path) { return readWholeFile(fromCp932(path), path); }

}  // namespace ui
