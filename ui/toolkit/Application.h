#pragma once
// The application object: its name, and the last line of defence for a failure
// that escaped every handler's own boundary.
#include <QApplication>

namespace ui {
class Dialogs;

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    // Where escaped failures are shown; without it they go to standard error.
    void setFailureDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* dialogs_ = nullptr;
};

// "クオーベルエディター", the caption of every failure box.
QString applicationTitle();

}  // namespace ui
