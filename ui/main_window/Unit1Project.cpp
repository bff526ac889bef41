// The project commands of the "ファイル" menu, the command-line open and the close
// handling with its unsaved-changes prompt.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <string>

#include "core/project/project_file.h"
#include "ui/main_window/Unit1.h"
#include "ui/recovery/RecoveryKeeper.h"
#include "ui/toolkit/Boundary.h"
#include "ui/convert/CorePaths.h"
#include "ui/toolkit/Dialogs.h"

namespace {

const QString kProjectSuffix = QStringLiteral("quarvel");

ui::FileDialogOptions projectDialogOptions(const QString& title, const QString& proposedName) {
    ui::FileDialogOptions options;
    options.title = title;
    // The pattern in parentheses is what the dialog lists by; the whole entry is shown.
    options.filters = {QStringLiteral(u"*.quarvel クオーベルプロジェクト (*.quarvel)")};
    options.defaultSuffix = kProjectSuffix;
    options.proposedName = proposedName;
    options.confirmOverwrite = false;
    return options;
}

// A dialog that hands back a typed name as it stands still gets the project suffix.
QString withProjectSuffix(const QString& path) {
    if (QFileInfo(path).fileName().contains(QLatin1Char('.'))) return path;
    return path + QLatin1Char('.') + kProjectSuffix;
}

std::optional<QString> askProjectToOpen(TForm1& form) {
    ui::FileDialogOptions options = projectDialogOptions(QStringLiteral(u"プロジェクトを開く"), form.projectOpenDialogName);
    options.folderMustExist = true;
    const auto chosen = form.dialogs().openFile(&form, options);
    if (!chosen) return std::nullopt;
    form.projectOpenDialogName = withProjectSuffix(*chosen);
    return form.projectOpenDialogName;
}

std::optional<QString> askProjectToSave(TForm1& form) {
    const ui::FileDialogOptions options =
        projectDialogOptions(QStringLiteral(u"プロジェクトを保存"), form.projectSaveDialogName);
    const auto chosen = form.dialogs().saveFile(&form, options);
    if (!chosen) return std::nullopt;
    form.projectSaveDialogName = withProjectSuffix(*chosen);
    return form.projectSaveDialogName;
}

// ProjectPath keeps the path as the file system takes it: it is never written into a
// file, so it need not fit code page 932.
std::string fileSystemPath(const QString& path) { return ui::corePath(path); }

void writeProjectTo(TForm1& form, const std::string& path) { core::writeProject(path, form, form.sizeFields()); }

// Writes over ProjectPath, asking for it with the save dialog when there is none.
// False when that dialog was cancelled. The asked path becomes ProjectPath only once
// the file is written, so a failed save does not leave a path that was never saved.
bool saveOverProject(TForm1& form) {
    if (form.ProjectPath.empty()) {
        const auto chosen = askProjectToSave(form);
        if (!chosen) return false;
        const std::string projectPath = fileSystemPath(*chosen);
        writeProjectTo(form, projectPath);
        // The untitled document's copy goes before the document takes the new name.
        form.recovery().documentSettled();
        form.ProjectPath = projectPath;
    } else {
        writeProjectTo(form, form.ProjectPath);
        form.recovery().documentSettled();
    }
    form.markSaved();
    return true;
}

// True when the document may be replaced or dropped: nothing was unsaved, the user
// chose not to save, or the save went through. A failing save raises.
bool unsavedChangesSettled(TForm1& form) {
    if (!form.Modified) return true;
    const bool save = form.dialogs().askYesNo(
        QStringLiteral(u"注意"), QStringLiteral(u"プロジェクトは保存されていません。プロジェクトを保存しますか？"));
    if (save) return saveOverProject(form);
    form.recovery().documentSettled();  // the changes are given up, and their copy with them
    return true;
}

// The read is all or nothing: when it fails, ProjectPath, the map and its history stay
// as they were. A sheet or a frame that cannot be drawn is shown as a failure, but the
// map the file brought in is still applied and shown. The opened project starts a new
// history, in which nothing of the open itself is a step.
// `readPath` is the project file, or the recovery copy restored in its place; the
// document is then the project's (ProjectPath, none for an untitled one) with its
// changes unsaved, so the user saves on purpose.
void openDocument(TForm1& form, const std::string& readPath, const std::string& projectPath, bool restored) {
    {
        const ui::MapHistory::Pause pause(form.history());
        core::openProject(readPath, form, form.sizeFields(), [&] {
            form.ProjectPath = projectPath;
            if (!form.ImagePath.empty()) ui::guarded(form.dialogs(), [&] { form.LoadImage(); });
        });
    }
    form.markSaved();
    if (restored) form.markModifiedOutsideHistory();
    ui::guarded(form.dialogs(), [&] { form.DrawFrameTile(); });
}

void openProject(TForm1& form, const QString& path) {
    const std::string projectPath = fileSystemPath(path);
    const auto copy = form.offerRecoveryCopy(projectPath);
    openDocument(form, copy.value_or(projectPath), projectPath, copy.has_value());
}

}  // namespace

void TForm1::N2Click() {
    if (!unsavedChangesSettled(*this)) return;
    const auto chosen = askProjectToOpen(*this);
    if (!chosen) return;
    openProject(*this, *chosen);
}

void TForm1::N1Click() {
    const auto chosen = askProjectToSave(*this);
    if (!chosen) return;
    writeProjectTo(*this, fileSystemPath(*chosen));
    recovery().documentSettled();
    markSaved();
}

void TForm1::N3Click() { SaveUpdateProject(); }

void TForm1::SaveUpdateProject() { saveOverProject(*this); }

void TForm1::NewOpenProject(const QStringList& arguments) {
    const QString path = arguments.value(1);
    if (!path.isEmpty() && QFileInfo(path).isFile()) return openProject(*this, path);
    // A start without a project: an untitled document's copy is offered back.
    if (const auto copy = offerRecoveryCopy({})) openDocument(*this, *copy, {}, true);
}

// The same close handling as the window's close box, then the end of the program.
void TForm1::Exit1Click() {
    if (close()) QCoreApplication::quit();
}

bool TForm1::FormClose() {
    bool settled = false;
    ui::guarded(dialogs(), [&] { settled = unsavedChangesSettled(*this); });
    return settled;
}
