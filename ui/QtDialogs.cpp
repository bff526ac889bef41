#include "ui/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/Application.h"
#include "ui/PictureDialog.h"

namespace ui {
namespace {

// Toolkit dialog rather than the desktop's, so suffix, overwrite and filter rules
// behave the same everywhere.
void configure(QFileDialog& dialog, const FileDialogSpec& spec) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(spec.filters);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
    dialog.setSizeGripEnabled(true);
    if (!spec.proposedName.isEmpty()) dialog.selectFile(spec.proposedName);
}

bool folderExists(const QString& path) { return QFileInfo(path).absoluteDir().exists(); }

void sayFolderMissing(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Warning, applicationTitle(),
                    QStringLiteral(u"フォルダーが見つかりません：") + QFileInfo(path).absolutePath(),
                    QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> run(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, spec.title);
    dialog.setAcceptMode(mode);
    configure(dialog, spec);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const QString chosen = dialog.selectedFiles().first();
        if (!spec.folderMustExist || folderExists(chosen)) return chosen;
        sayFolderMissing(&dialog, chosen);
    }
}

}  // namespace

std::optional<QString> QtDialogs::openFile(QWidget* parent, const FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::openPicture(QWidget* parent, const FileDialogSpec& spec) {
    return runPictureDialog(parent, spec);
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
