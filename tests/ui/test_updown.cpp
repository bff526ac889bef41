// The up-down spinner attached to a field.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/toolkit/UpDown.h"

namespace {

class UpDownTest : public ::testing::Test {
protected:
    UpDownTest() : field(new QLineEdit("1", &window)) {
        field->setGeometry(296, 8, 25, 20);
        spinner = new ui::UpDown(field, &window);
        spinner->setRange(1, 32);
    }

    QWidget window;
    QLineEdit* field;
    ui::UpDown* spinner = nullptr;
};

TEST_F(UpDownTest, StandsRightOfItsFieldAndFollowsIt) {
    EXPECT_EQ(spinner->geometry(), QRect(321, 8, 16, 20));
    window.show();
    field->setGeometry(10, 40, 50, 24);
    EXPECT_EQ(spinner->geometry(), QRect(60, 40, 16, 24));
    EXPECT_EQ(spinner->Position(), 1);
}

TEST_F(UpDownTest, StepsStopAtTheLimitsWithoutWrapping) {
    QSignalSpy changes(field, &QLineEdit::textChanged);
    spinner->stepDown();
    EXPECT_EQ(field->text(), "1");
    EXPECT_EQ(changes.count(), 0);  // the text it already held
    for (int i = 0; i < 40; ++i) spinner->stepUp();
    EXPECT_EQ(spinner->Position(), 32);
    EXPECT_EQ(field->text(), "32");
    EXPECT_EQ(changes.count(), 31);  // one change per step that moved
    spinner->stepDown();
    EXPECT_EQ(field->text(), "31");
}

TEST_F(UpDownTest, ArrowKeysInTheFieldStepIt) {
    window.show();
    QTest::keyClick(field, Qt::Key_Up);
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), "3");
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(field->text(), "2");
    EXPECT_EQ(spinner->Position(), 2);
    // Other keys still type.
    QTest::keyClick(field, Qt::Key_5);
    EXPECT_EQ(field->text(), "25");
}

TEST_F(UpDownTest, ArrowButtonsStep) {
    window.show();
    const auto buttons = spinner->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
    EXPECT_LT(up->geometry().top(), down->geometry().top());
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(field->text(), "2");
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(field->text(), "1");
    EXPECT_EQ(up->focusPolicy(), Qt::NoFocus);
}

// Typed text is not clamped; the next step goes on from it when it is an integer.
TEST_F(UpDownTest, StepAfterTypedTextContinuesFromItInsideTheRange) {
    field->setText("10");
    EXPECT_EQ(field->text(), "10");
    const std::tuple<const char*, bool, const char*> steps[] = {
        {"10", true, "11"}, {"40", false, "31"}, {"40", true, "32"}, {"-5", false, "1"}, {"$10", true, "17"}};
    for (const auto& [typed, up, after] : steps) {
        field->setText(typed);
        up ? spinner->stepUp() : spinner->stepDown();
        EXPECT_EQ(field->text(), after) << typed << (up ? " up" : " down");
    }
}

TEST_F(UpDownTest, StepAfterNonIntegerTextContinuesFromItsOwnPosition) {
    spinner->stepUp();
    spinner->stepUp();
    field->setText("abc");
    spinner->stepUp();
    EXPECT_EQ(field->text(), "4");
    field->clear();
    spinner->stepDown();
    EXPECT_EQ(field->text(), "3");
}

}  // namespace
