// Where the windows stand and what they show on a desktop: the settings window beside
// its owner, brought back by the main window's button, and every caption within its
// design place in the substitute font.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>

#include "test_windows_fixture.h"
#include "ui/toolkit/WindowPlacement.h"

namespace windowstest {
namespace {

TEST(WindowPlacement, BesideTheOwnerRightThenLeftElseLeftToTheSystem) {
    const QRect owner(279, 141, 714, 516);
    const QSize tool(328, 257);
    EXPECT_EQ(ui::placeBeside(owner, tool, {0, 0, 1920, 1080}), QPoint(993, 141));
    EXPECT_EQ(ui::placeBeside(owner, tool, {0, 0, 1321, 1080}), QPoint(993, 141)) << "exactly room";
    EXPECT_EQ(ui::placeBeside(owner, tool, {0, 0, 1320, 1080}), std::nullopt) << "left has no room either";
    EXPECT_EQ(ui::placeBeside(QRect(400, 141, 714, 516), tool, {0, 0, 1280, 1024}), QPoint(72, 141));
    // A screen whose bottom is near pushes it up, never above the screen's top.
    EXPECT_EQ(ui::placeBeside(QRect(0, 600, 714, 200), tool, {0, 0, 1920, 800}), QPoint(714, 543));
    EXPECT_EQ(ui::placeBeside(QRect(0, 0, 714, 200), tool, {0, 0, 1920, 200}), std::nullopt);
    // Another screen's available area, with its own origin.
    EXPECT_EQ(ui::placeBeside(QRect(2000, 100, 714, 516), tool, {1920, 30, 1920, 1050}), QPoint(2714, 100));
}

TEST_F(WindowsTest, SettingsWindowIsAToolWindowOfTheMainWindowAndComesBackFromMinimised) {
    showMainWindow();
    ASSERT_TRUE(Form2->isVisible());
    EXPECT_EQ(Form2->parentWidget(), Form1);
    EXPECT_TRUE(Form2->isWindow());
    EXPECT_EQ(Form2->windowType(), Qt::Tool);
    EXPECT_EQ(Form2->windowHandle()->transientParent(), Form1->windowHandle());
    const Qt::WindowFlags flags = Form2->windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    Form2->showMinimized();
    ASSERT_TRUE(Form2->isMinimized());
    Form1->Button5->click();
    EXPECT_FALSE(Form2->isMinimized());
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(Form2));
}

// The width a check box or radio item leaves its caption beside the indicator.
int captionRoom(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const bool radio = button.inherits("QRadioButton");
    return button.style()
        ->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button)
        .width();
}

// A label hides what lies beneath its whole design place (a large sheet under
// "画像横サイズ："), however narrow its caption is drawn.
TEST_F(WindowsTest, EveryLabelCoversItsDesignPlace) {
    const TForm1& f = *Form1;
    const TForm2& s = *Form2;
    const std::pair<const QLabel*, QRect> labels[] = {
        {f.Label3, {120, 8, 55, 12}},  {f.Label7, {16, 72, 157, 12}}, {f.Label8, {16, 248, 76, 12}},
        {f.Label9, {336, 16, 12, 12}}, {f.Label10, {232, 8, 58, 12}}, {f.Label13, {168, 344, 60, 12}},
        {s.Label1, {8, 16, 42, 12}},   {s.Label2, {8, 56, 56, 12}},   {s.Label3, {8, 80, 56, 12}},
        {s.Label4, {8, 104, 50, 12}},  {s.Label5, {8, 128, 50, 12}},  {s.Label6, {72, 104, 18, 12}},
        {s.Label7, {72, 128, 18, 12}}, {s.Label8, {7, 40, 128, 12}},  {s.Label9, {8, 152, 111, 12}},
        {s.Label14, {193, 104, 6, 12}}, {s.Label15, {119, 104, 64, 12}},
    };
    for (const auto& [label, design] : labels) {
        EXPECT_TRUE(label->geometry().contains(design)) << label->text().toStdString();
        EXPECT_TRUE(label->autoFillBackground()) << label->text().toStdString();
    }
}

TEST_F(WindowsTest, EveryCaptionFitsItsDesignPlace) {
    const TForm1& f = *Form1;
    const TForm2& s = *Form2;
    // Design widths of fixed captions; the free space of those that change.
    const std::pair<const QLabel*, int> labels[] = {
        {f.Label3, 55},  {f.Label7, 157}, {f.Label8, 76},  {f.Label9, 12},   {f.Label10, 58},
        {f.Label13, 60}, {s.Label1, 42},  {s.Label2, 56},  {s.Label3, 56},   {s.Label4, 50},
        {s.Label5, 50},  {s.Label8, 128}, {s.Label9, 111}, {s.Label15, 64},  {s.Label6, 119 - 72},
        {s.Label7, 119 - 72}, {s.Label14, 326 - 193 - 4},
    };
    const auto fits = [](const QLabel* label, int room) {
        EXPECT_LE(label->width(), room) << label->text().toStdString();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString() << " is cut";
    };
    for (const auto& [label, room] : labels) fits(label, room);

    // The longest array size, and pixel sizes at the largest map.
    Form2->Edit2->setText("2560");
    Form2->Edit3->setText("2048");
    ASSERT_EQ(s.Label14->text(), "10240KB(10485760byte)");
    fits(s.Label14, 326 - 193 - 4);
    fits(s.Label6, 119 - 72);
    Form2->Edit2->setText("4096");
    ASSERT_EQ(s.Label6->text(), "32768");
    fits(s.Label6, 119 - 72);
    // A short caption again takes the window's own font.
    Form2->Edit2->setText("1");
    Form2->Edit3->setText("1");
    EXPECT_EQ(s.Label14->font(), s.font());

    for (const QAbstractButton* box : {static_cast<QAbstractButton*>(f.CheckBox1), s.radioItems->button(0),
                                       s.radioItems->button(1), s.radioItems->button(2)})
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), captionRoom(*box)) << box->text().toStdString();
    for (const QPushButton* button : {f.Button1, f.Button2, f.Button5, s.Button1})
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->contentsRect().width() - 4)
            << button->text().toStdString();
    // The radio items stand below the group's caption.
    EXPECT_GE(s.radioItems->button(0)->y(), s.RadioGroup1->fontMetrics().height());
}

}  // namespace
}  // namespace windowstest
