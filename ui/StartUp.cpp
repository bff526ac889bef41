#include "ui/StartUp.h"

#include <QCoreApplication>
#include <QWidget>

#include "ui/Boundary.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace ui {
namespace {
constexpr QSize kMainOuterSize{714, 516};
}

void createWindows(Dialogs& dialogs) {
    Form1 = new TForm1(dialogs);
    guarded(dialogs, [] { Form1->FormCreate(); });
    Form2 = new TForm2(dialogs);
    guarded(dialogs, [] { Form2->FormCreate(); });
    Form2->show();
}

void showMainWindow() {
    Form1->show();
    // The frame is known only once the window system has taken the window.
    QCoreApplication::processEvents();
    fitOuterSize(*Form1, kMainOuterSize);
}

void destroyWindows() {
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
}

void fitOuterSize(QWidget& window, QSize outer) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.resize(outer - frame);
}

}  // namespace ui
