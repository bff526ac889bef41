#pragma once
// Reading a tile-sheet file whole, as the sheet load and the picture preview do.
#include <QByteArray>
#include <QString>
#include <string>

namespace ui {

// The bytes of the file `name`, read in one go and closed again. Raises
// FileOpenFailure naming `nameInFailure` when the file cannot be opened or read.
QByteArray readWholeFile(const QString& name, const std::string& nameInFailure);

// The file named by a code-page-932 path; the failure names the path as it stands.
QByteArray readSheetFile(const std::string& path);

}  // namespace ui
