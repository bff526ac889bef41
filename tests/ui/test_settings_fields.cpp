// The settings window's fields driving the document: the label, the width and
// height texts with their re-entry, and what a field refuses.
#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/map/size_fields.h"
#include "support/cp932.h"
#include "test_windows_fixture.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/toolkit/Boundary.h"

namespace windowstest {
namespace {

QString conversionText(const char* utf8Quoted) {
    return QString::fromUtf8(utf8Quoted) + QStringLiteral(u" は整数ではありません.");
}

TEST_F(WindowsTest, SettingsWindowStartsWithItsTextsAndDerivedLabels) {
    const TForm2& s = *Form2;
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.windowTitle(), QStringLiteral(u"設定"));
    EXPECT_TRUE(s.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(s.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(s.size(), QSize(326, 236));
    EXPECT_EQ(s.minimumSize(), s.maximumSize()) << "the tool window cannot be resized";
    EXPECT_EQ(s.Edit1->text(), "Default");
    EXPECT_EQ(s.Edit2->text(), "32");
    EXPECT_EQ(s.Edit3->text(), "32");
    EXPECT_EQ(s.Label6->text(), "256");
    EXPECT_EQ(s.Label7->text(), "256");
    EXPECT_EQ(s.Label14->text(), "2048byte(2048byte)");
    EXPECT_EQ(s.Label10->text(), "32,32");
    EXPECT_TRUE(s.Label10->isHidden());
    EXPECT_EQ(s.RadioGroup1->title(), QStringLiteral(u"変換するタイプ"));
    EXPECT_EQ(s.radioGroup1ItemIndex(), 0);
    EXPECT_EQ(s.radioItems->button(1)->text(), QStringLiteral(u"GASアセンブリ"));
    EXPECT_EQ(s.Edit2->geometry(), QRect(72, 56, 41, 20));
    EXPECT_EQ(s.Button1->geometry(), QRect(48, 184, 105, 33));
    EXPECT_EQ(s.Label14->pos(), QPoint(193, 104));
    EXPECT_GE(s.Label14->width(), s.Label14->fontMetrics().horizontalAdvance(s.Label14->text()))
        << "the array-size text is not clipped to the width of its first caption";
    EXPECT_FALSE(Form1->Modified) << "initial texts run no change handler";
}

// The export type is one stop, on its selected item, as the size fields follow it.
TEST_F(WindowsTest, SettingsTabStopsAtTheLabelTheTypeTheSizesAndTheButton) {
    TForm2& s = *Form2;
    QApplication::setActiveWindow(&s);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    s.setRadioGroup1ItemIndex(1);
    s.Edit1->setFocus(Qt::TabFocusReason);
    const QList<QWidget*> order{s.radioItems->button(1), s.Edit2, s.Edit3, s.Button1, s.Edit1};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
    const QList<QWidget*> backwards{s.Button1, s.Edit3, s.Edit2, s.radioItems->button(1), s.Edit1};
    for (QWidget* next : backwards) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}

TEST_F(WindowsTest, DeletingTheWidthDigitByDigitEndsWithOneColumn) {
    QLineEdit* width = Form2->Edit2;
    width->setFocus();
    width->end(false);
    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), "3");
    EXPECT_EQ(Form1->MapWidth, 3);
    EXPECT_EQ(Form1->Map[0].size(), 3u);
    EXPECT_EQ(Form2->Label6->text(), "24");
    EXPECT_EQ(Form1->DrawGrid1->ColCount(), 4);
    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), "1") << "the emptied field is replaced by 1 at once";
    EXPECT_EQ(Form2->Label6->text(), "8");
    EXPECT_EQ(Form1->MapWidth, 1);
    EXPECT_EQ(Form1->Map[31].size(), 1u);
    EXPECT_EQ(Form1->DrawGrid1->ColCount(), 2);
    EXPECT_TRUE(Form1->Modified);
    EXPECT_TRUE(dialogs.failures().isEmpty());
}

TEST_F(WindowsTest, TypingAWidthAbove4096ClampsTheFieldAndTheMap) {
    QLineEdit* width = Form2->Edit2;
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "500");
    EXPECT_EQ(Form1->MapWidth, 500) << "the map follows every keystroke";
    QTest::keyClicks(width, "0");
    EXPECT_EQ(width->text(), "4096");
    EXPECT_EQ(Form2->Label6->text(), "32768");
    EXPECT_EQ(Form1->MapWidth, 4096);
    EXPECT_EQ(Form1->Map[0].size(), 4096u);
    EXPECT_EQ(Form1->DrawGrid1->ColCount(), 4097);
    EXPECT_EQ(Form2->Label14->text(), "256KB(262144byte)");
    EXPECT_EQ(Form2->Label10->text(), "4096,32");
}

TEST_F(WindowsTest, PastingANonIntegerHeightShowsTheConversionFailureOnce) {
    QLineEdit* height = Form2->Edit3;
    height->selectAll();
    height->insert("abc");
    EXPECT_EQ(failureTexts(), (conversionText("'abc'")).toStdString());
    EXPECT_EQ(height->text(), "abc") << "the field keeps what was typed";
    EXPECT_EQ(Form1->MapHeight, 32);
    EXPECT_EQ(Form1->Map.size(), 32u);
    EXPECT_EQ(Form2->Label7->text(), "256");
    EXPECT_EQ(Form1->DrawGrid1->RowCount(), 33);
}

// A command that sets a size text goes on after the field's own failure is shown.
TEST_F(WindowsTest, AFailureInTheFieldsChangeHandlingStaysInsideTheSetter) {
    bool wentOn = false;
    EXPECT_TRUE(ui::guarded(dialogs, [&] {
        Form1->sizeFields().setWidthText("1x");
        wentOn = true;
    }));
    EXPECT_TRUE(wentOn);
    EXPECT_EQ(failureTexts(), (conversionText("'1x'")).toStdString());
    EXPECT_EQ(Form1->MapWidth, 32);
}

TEST_F(WindowsTest, ChangeHandlingRunsInsideTheSetterAndNotForTheSameText) {
    Form1->MapWidth = 99;  // a marker no handler run would leave
    Form2->Edit2->setText("32");
    EXPECT_EQ(Form1->MapWidth, 99) << "setting the text the field holds ran the handler";
    Form2->Edit2->setText("40");
    EXPECT_EQ(Form1->MapWidth, 40) << "the handler had not run when setText returned";
    EXPECT_EQ(Form1->Map[5].size(), 40u);
    Form2->Edit2->setText("$10");
    EXPECT_EQ(Form1->MapWidth, 16);
    EXPECT_EQ(Form2->Edit2->text(), "$10") << "the field keeps the text as typed";
    Form2->Edit2->setText("");
    EXPECT_EQ(Form2->Edit2->text(), "1");
    EXPECT_EQ(Form1->MapWidth, 1);
}

TEST_F(WindowsTest, EditingTheLabelRenamesTheMapAtEveryChange) {
    QLineEdit* label = Form2->Edit1;
    label->end(false);
    QTest::keyClicks(label, "2");
    EXPECT_EQ(Form1->MapName, "Default2");
    EXPECT_TRUE(Form1->Modified);
    label->setText(QStringLiteral(u"村マップ"));
    EXPECT_EQ(Form1->MapName, testsupport::cp932("村マップ"));
    label->clear();
    EXPECT_EQ(Form1->MapName, "");
}

// Typing a character as a keyboard or an input method would deliver it.
void typeText(QWidget* field, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(field, &press);
    }
}

TEST_F(WindowsTest, FieldsRefuseCharactersThatTheCodePageCannotHold) {
    QLineEdit* label = Form2->Edit1;
    label->end(false);
    typeText(label, QStringLiteral(u"한"));
    EXPECT_EQ(label->text(), "Default");
    label->insert(QStringLiteral(u"ab€"));  // a paste holding one foreign character
    EXPECT_EQ(label->text(), "Default");
    typeText(label, QStringLiteral(u"¥"));  // would turn into a backslash
    EXPECT_EQ(label->text(), "Default");
    label->insert(QStringLiteral("a\nb"));  // a pasted line end would break the project file
    label->insert(QStringLiteral("a\rb"));
    label->insert(QStringLiteral("a") + QChar(0x1A));
    EXPECT_EQ(label->text(), "Default");
    EXPECT_EQ(Form1->MapName, "Default");
    EXPECT_FALSE(Form1->Modified);
    typeText(label, QStringLiteral(u"日本"));
    EXPECT_EQ(Form1->MapName, testsupport::cp932("Default日本"));
    typeText(Form1->Edit5, QStringLiteral(u"한"));
    EXPECT_EQ(Form1->Edit5->text(), "1");
}

TEST_F(WindowsTest, ALongSizeTextSetByTheProgramIsKeptWhole) {
    const QString longText(40000, QLatin1Char('7'));
    Form2->Edit2->setText(longText);
    EXPECT_EQ(Form2->Edit2->text().size(), 40000);
    EXPECT_EQ(dialogs.failures().size(), 1) << "the over-long number is no integer";
}

}  // namespace
}  // namespace windowstest
