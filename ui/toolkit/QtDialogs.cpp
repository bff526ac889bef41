#include "ui/toolkit/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

#include "ui/sheet/PictureDialog.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/FailureBoxText.h"

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

// The box gives the focus back where it found it, to the window and the control the
// user was in: the failed handling is abandoned and the next keys go on there, not
// to whichever window the desktop activates once the box is gone.
void QtDialogs::showFailure(const QString& text) {
    const QPointer<QWidget> window = QApplication::activeWindow();
    const QPointer<QWidget> focus = window ? window->focusWidget() : nullptr;
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    keepTextOnScreen(box);
    box.exec();
    if (!window || !window->isVisible()) return;
    window->activateWindow();
    if (focus && focus->isVisible()) focus->setFocus(Qt::ActiveWindowFocusReason);
}

bool QtDialogs::askYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

// Two fields, X first, Tab between them; Return is OK and Escape cancels, as in any dialog.
std::optional<std::pair<QString, QString>> QtDialogs::askCell(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral(u"セルへ移動"));
    auto* x = new QLineEdit(&dialog);
    auto* y = new QLineEdit(&dialog);
    x->setObjectName(QStringLiteral("cellX"));
    y->setObjectName(QStringLiteral("cellY"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("X"), x);
    form->addRow(QStringLiteral("Y"), y);
    form->addRow(buttons);
    x->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return std::make_pair(x->text(), y->text());
}

}  // namespace ui
