#include "ui/toolkit/Application.h"

#include <QDirIterator>
#include <QIcon>

#include <cstdio>
#include <exception>

#include "core/text/failures.h"
#include "quarvel/project_info.h"
#include "ui/toolkit/Boundary.h"
#include "ui/convert/Cp932.h"

namespace ui {
namespace {

void reportWithoutDialogs(const std::exception& escaped) {
    std::fprintf(stderr, "%s\n", fromCp932(core::failureText(escaped)).toLocal8Bit().constData());
}

// The icon's PNGs, drawn pixel for pixel at each size, so no size is scaled.
QIcon applicationIcon() {
    QIcon icon;
    QDirIterator pngs(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (pngs.hasNext()) icon.addFile(pngs.next());
    return icon;
}

}  // namespace

QString applicationTitle() { return QStringLiteral(u"クオーベルエディター"); }

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The name alone: a display name would be appended to every window's caption,
    // and the settings window must read "設定" only. The display name falls back to it.
    setApplicationName(applicationTitle());
    setWindowIcon(applicationIcon());
    // Lets the desktop match the windows with the installed desktop entry.
    setDesktopFileName(QString::fromLatin1(quarvel::kAppId));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    const auto deliver = [&] { handled = QApplication::notify(receiver, event); };
    if (dialogs_) {
        guarded(*dialogs_, deliver);
        return handled;
    }
    try {
        deliver();
    } catch (const std::exception& escaped) {
        reportWithoutDialogs(escaped);
    }
    return handled;
}

}  // namespace ui
