#pragma once
// Every dialog and message box the editor shows goes through this interface, so
// tests can answer them and read what was shown.
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class QWidget;

namespace ui {

struct FileDialogOptions {
    QString title;
    QStringList filters;        // entries as shown, e.g. "ヘッダーファイル(*.h)"
    QString defaultSuffix;      // without the dot; added to a name typed without one
    QString proposedName;       // file name filled in when the dialog opens
    bool confirmOverwrite = false;
    bool folderMustExist = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) = 0;
    // The open dialog with a picture preview pane.
    virtual std::optional<QString> openPicture(QWidget* parent, const FileDialogOptions& options) = 0;
    // The failure box: stop icon, one OK button, the application title as caption.
    virtual void showFailure(const QString& text) = 0;
    // Yes / No, no icon. True for Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // "セルへ移動": the X and Y texts as typed; nothing when cancelled.
    virtual std::optional<std::pair<QString, QString>> askCell(QWidget* parent) = 0;
};

}  // namespace ui
