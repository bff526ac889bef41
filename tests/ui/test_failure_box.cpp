// The real dialogs of ours: the failure box (a text of any length stays within the
// screen; the focus goes back to the window and the control the user was in), the
// question box and the go-to dialog.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "ui/toolkit/QtDialogs.h"

namespace {

// Shows the failure and, once the box is up, looks at it and presses its OK.
void showAndClose(const QString& text, const std::function<void(QMessageBox&)>& look) {
    bool looked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(*box);
        looked = true;
        box->button(QMessageBox::Ok)->click();
    });
    ui::QtDialogs().showFailure(text);
    EXPECT_TRUE(looked);
}

TEST(FailureBox, AVeryLongPathStaysWithinTheScreenAndWhole) {
    const QString text = QString::fromUtf8("ファイル /") + QString(64 * 1024, u'a') + QString::fromUtf8(" は開けません.");
    showAndClose(text, [&](QMessageBox& box) {
        const QRect screen = box.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(box.frameGeometry())) << "box " << box.frameGeometry().width() << " x "
                                                          << box.frameGeometry().height();
        const auto* view = box.findChild<QPlainTextEdit*>(QStringLiteral("failureText"));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->toPlainText(), text);
    });
    // A short text keeps the box's own label.
    showAndClose(QString::fromUtf8("範囲チェックエラー."), [](QMessageBox& box) {
        EXPECT_EQ(box.findChild<QPlainTextEdit*>(QStringLiteral("failureText")), nullptr);
    });
}

TEST(FailureBox, TheFocusGoesBackWhereItWas) {
    QWidget other, user;
    auto* first = new QLineEdit(&user);
    auto* field = new QLineEdit(&user);
    auto* layout = new QVBoxLayout(&user);
    layout->addWidget(first);
    layout->addWidget(field);
    other.show();
    user.show();
    user.activateWindow();
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &user);
    // While the box is up, another window is made active, as a desktop may do on close.
    showAndClose(QStringLiteral("x"), [&](QMessageBox&) { other.activateWindow(); });
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &user);
    EXPECT_EQ(user.focusWidget(), field);
}

// The recovery offer and the unsaved-changes prompt: Return answers "はい", Escape "いいえ".
TEST(QuestionBox, ReturnAnswersYesAndEscapeNo) {
    for (const auto& [key, answer] : {std::pair{Qt::Key_Return, true}, std::pair{Qt::Key_Escape, false}}) {
        QTimer::singleShot(0, [key = key] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, key);
        });
        EXPECT_EQ(ui::QtDialogs().askYesNo(QStringLiteral("t"), QStringLiteral("q")), answer) << key;
    }
}

// "セルへ移動": X first, Tab to Y, Return is OK; Escape cancels.
TEST(GoToDialog, TakesXThenYAndReturnAccepts) {
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral(u"セルへ移動"));
        auto* x = dialog->findChild<QLineEdit*>(QStringLiteral("cellX"));
        auto* y = dialog->findChild<QLineEdit*>(QStringLiteral("cellY"));
        ASSERT_TRUE(x && y);
        EXPECT_EQ(dialog->focusWidget(), x) << "X first";
        QTest::keyClicks(x, QStringLiteral("12"));
        QTest::keyClick(x, Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget(), y) << "Tab to Y";
        QTest::keyClicks(y, QStringLiteral("$1F"));
        QTest::keyClick(y, Qt::Key_Return);
    });
    EXPECT_EQ(ui::QtDialogs().askCell(nullptr), std::make_optional(std::make_pair(QStringLiteral("12"), QStringLiteral("$1F"))));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("cellX")), Qt::Key_Escape);
    });
    EXPECT_EQ(ui::QtDialogs().askCell(nullptr), std::nullopt);
}

}  // namespace
