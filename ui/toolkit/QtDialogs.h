#pragma once
// The dialogs and message boxes of the running program, with Qt.
#include "ui/toolkit/Dialogs.h"

namespace ui {

class QtDialogs : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> openPicture(QWidget* parent, const FileDialogOptions& options) override;
    void showFailure(const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    std::optional<std::pair<QString, QString>> askCell(QWidget* parent) override;
};

}  // namespace ui
