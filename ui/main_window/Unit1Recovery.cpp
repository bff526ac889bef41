// The main window's recovery copy: what it is taken from, the offer to restore it at
// an open, and the end of the session that writes it at once.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "core/map/size_fields.h"
#include "core/recovery/recovery_copy.h"
#include "ui/main_window/Unit1.h"
#include "ui/recovery/RecoveryKeeper.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Boundary.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"

namespace {

std::string absolutePath(const std::string& path) {
    if (path.empty()) return {};
    return ui::corePath(QFileInfo(ui::fromCorePath(path)).absoluteFilePath());
}

QString offerText(const std::string& projectPath, std::int64_t madeAt) {
    const QString when = QDateTime::fromSecsSinceEpoch(madeAt).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    if (projectPath.empty())
        return QStringLiteral(u"保存されていない文書の復元用コピー（%1 作成）があります。復元しますか？").arg(when);
    const QString name = QFileInfo(ui::fromCorePath(projectPath)).fileName();
    return QStringLiteral(u"プロジェクト「%1」には、保存されていない変更の復元用コピー（%2 作成）があります。復元しますか？")
        .arg(name, when);
}

}  // namespace

std::unique_ptr<ui::RecoveryKeeper> TForm1::makeRecoveryKeeper(TForm1& form) {
    ui::RecoveryKeeper::Source source;
    source.modified = [&form] { return form.Modified; };
    source.snapshot = [&form] {
        return core::snapshotOf(form, form.sizeFields().widthText(), form.sizeFields().heightText());
    };
    source.projectKey = [&form] { return form.recoveryKey(); };
    return std::make_unique<ui::RecoveryKeeper>(form.dialogs(), std::move(source),
                                                ui::RecoveryKeeper::folderFromEnvironment());
}

std::string TForm1::recoveryKey() const { return absolutePath(ProjectPath); }

void TForm1::endSessionKeepingWork() {
    if (!recovery_->endSession())
        std::fputs("quarvel: the recovery copy could not be written before the end\n", stderr);
    // exit(), not quit(): quit() would close the windows first, and the close asks.
    QCoreApplication::exit(0);
}

std::optional<std::string> TForm1::offerRecoveryCopy(const std::string& projectPath) {
    const auto copy = recovery_->copyPathFor(absolutePath(projectPath));
    if (!copy) return std::nullopt;
    const bool newer = projectPath.empty() ? core::fileTime(*copy).has_value()
                                           : core::recoveryCopyIsNewer(*copy, projectPath);
    if (!newer) return std::nullopt;
    const auto madeAt = core::fileTime(*copy);
    if (dialogs().askYesNo(ui::applicationTitle(), offerText(projectPath, madeAt.value_or(0)))) return copy;
    // A copy that cannot be removed is shown; the project still opens as saved.
    ui::guarded(dialogs(), [&] { core::removeRecoveryCopy(*copy); });
    return std::nullopt;
}
