#include "ui/toolkit/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/sheet/PictureDialog.h"
#include "ui/toolkit/Application.h"

namespace ui {
namespace {

// Toolkit dialog rather than the desktop's, so suffix, overwrite and filter rules
// behave the same everywhere.
void configure(QFileDialog& dialog, const FileDialogOptions& options) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(options.filters);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    dialog.setSizeGripEnabled(true);
    if (!options.proposedName.isEmpty()) dialog.selectFile(options.proposedName);
}

bool folderExists(const QString& path) { return QFileInfo(path).absoluteDir().exists(); }

void sayFolderMissing(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Warning, applicationTitle(),
                    QStringLiteral(u"フォルダーが見つかりません：") + QFileInfo(path).absolutePath(),
                    QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> run(QWidget* parent, const FileDialogOptions& options, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, options.title);
    dialog.setAcceptMode(mode);
    configure(dialog, options);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const QString chosen = dialog.selectedFiles().first();
        if (!options.folderMustExist || folderExists(chosen)) return chosen;
        sayFolderMissing(&dialog, chosen);
    }
}

}  // namespace

std::optional<QString> QtDialogs::openFile(QWidget* parent, const FileDialogOptions& options) {
    return run(parent, options, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const FileDialogOptions& options) {
    return run(parent, options, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::openPicture(QWidget* parent, const FileDialogOptions& options) {
    return runPictureDialog(parent, options);
}

void QtDialogs::showFailure(const QString& text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace ui
