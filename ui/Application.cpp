#include "ui/Application.h"

#include <cstdio>
#include <new>

#include "core/failures.h"
#include "ui/Boundary.h"
#include "ui/Cp932.h"

namespace ui {
namespace {

void reportWithoutDialogs(const core::Failure& failure) {
    std::fprintf(stderr, "%s\n", fromCp932(core::textToShow(failure)).toLocal8Bit().constData());
}

}  // namespace

QString applicationTitle() { return QStringLiteral(u"クオーベルエディター"); }

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The name alone: a display name would be appended to every window's caption,
    // and the settings window must read "設定" only. The display name falls back to it.
    setApplicationName(applicationTitle());
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
    } catch (const core::Failure& failure) {
        reportWithoutDialogs(failure);
    } catch (const std::bad_alloc&) {
        reportWithoutDialogs(core::OutOfMemoryFailure());
    } catch (const std::exception& other) {
        reportWithoutDialogs(core::Failure(other.what()));
    }
    return handled;
}

}  // namespace ui
