#include "ui/toolkit/FailureBoxText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextOption>
#include <algorithm>

namespace ui {
namespace {

constexpr int kTextHeightShare = 2;  // of 3
// What the box keeps beside its text: the icon, the margins and a scroll bar.
constexpr int kBesideText = 120;
constexpr int kViewPadding = 8;

// The widest a message box grows on a screen this wide (as Qt's own box decides it).
int boxWidthLimit(int screenWidth) { return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000); }

QRect screenArea(const QWidget& box) {
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

void keepTextOnScreen(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label || !box.layout()) return;
    const QRect area = screenArea(box);
    const int width = boxWidthLimit(area.width()) - kBesideText;
    const int height = area.height() * kTextHeightShare / 3;
    const QString text = box.text();
    const QFontMetrics metrics(label->font());
    const QRect wordWrapped = metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, text);
    if (wordWrapped.width() <= width && wordWrapped.height() <= height) return;

    const QRect wrapped = metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWrapAnywhere, text);
    auto* view = new QPlainTextEdit(text, &box);
    view->setObjectName(QStringLiteral("failureText"));
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view->viewport()->setAutoFillBackground(false);
    view->setFont(label->font());
    view->setFixedSize(width, std::min(height, wrapped.height() + kViewPadding));
    box.layout()->replaceWidget(label, view);
    label->hide();
}

}  // namespace ui
