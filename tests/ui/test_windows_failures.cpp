// The failure display: exact texts with the full-stop rule, the boundaries that
// catch failures, and the one code-page conversion.
#include <QPushButton>
#include <QWidget>
#include <new>
#include <stdexcept>

#include "core/text/failures.h"
#include "support/cp932.h"
#include "test_windows_fixture.h"
#include "ui/toolkit/Boundary.h"
#include "ui/convert/Cp932.h"

namespace windowstest {
namespace {

// The one box's text as UTF-8.
std::string shownFor(const std::function<void()>& failing) {
    ui::ScriptedDialogs dialogs;
    EXPECT_FALSE(ui::guarded(dialogs, failing));
    const QStringList shown = dialogs.failures();
    return shown.size() == 1 ? shown[0].toStdString() : "<" + std::to_string(shown.size()) + " boxes>";
}

// The texts of each kind are core's (test_failures); the box shows them as they are.
TEST(FailureBox, ShowsEachKindsTextWithTheFullStopRule) {
    EXPECT_EQ(shownFor([] { throw core::IoFailure(32); }), "I/O エラー (32)");
    EXPECT_EQ(shownFor([] { throw core::ConversionFailure(""); }), std::string("'' は整数ではありません."));
    EXPECT_EQ(shownFor([] { throw std::bad_alloc(); }), std::string("メモリが足りません."));
    // A failure of no kind of ours still reaches the box rather than crossing Qt.
    EXPECT_EQ(shownFor([] { throw std::out_of_range("bad index"); }), "bad index.");
}

TEST_F(WindowsTest, ShowingAFailureReleasesTheMouseCapture) {
    showMainWindow();
    Form1->Button1->grabMouse();
    ASSERT_EQ(QWidget::mouseGrabber(), static_cast<QWidget*>(Form1->Button1));
    ui::guarded(dialogs, [] { throw core::RangeFailure(); });
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(dialogs.failures().size(), 1);
}

// An event handler of no boundary of its own: the application's notify catches it.
class ThrowingWidget : public QWidget {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw core::IoFailure(5);
        return QWidget::event(event);
    }
};

TEST_F(WindowsTest, TheApplicationCatchesAFailureThatEscapedAHandler) {
    ThrowingWidget widget;
    QEvent event(QEvent::User);
    QApplication::sendEvent(&widget, &event);
    EXPECT_EQ(failureTexts(), (QStringLiteral(u"ファイルへのアクセスが拒否されました.")).toStdString());
}

TEST(CodePage, ConvertsBothWaysAndKeepsTheAsciiBytes) {
    EXPECT_EQ(ui::fromCp932("C:\\maps\\a~b").toStdString(), "C:\\maps\\a~b");
    EXPECT_EQ(ui::toCp932(QStringLiteral("\\~")), "\x5C\x7E");
    const std::string japanese = testsupport::cp932("クオーベル表示ソ");
    EXPECT_EQ(ui::toCp932(ui::fromCp932(japanese)), japanese);
    EXPECT_EQ(ui::fromCp932(japanese).toStdString(), "クオーベル表示ソ");
    EXPECT_EQ(ui::toCp932(QStringLiteral(u"a한b")), "a?b");
    EXPECT_EQ(ui::fromCp932("a\x81").toStdString(), "a\xEF\xBF\xBD") << "a lead byte cut off at the end";
}

TEST(CodePage, OnlyCharactersThatComeBackUnchangedFit) {
    EXPECT_TRUE(ui::fitsCp932(QStringLiteral(u"設定 ABC ｶﾅ ①")));
    EXPECT_TRUE(ui::fitsCp932(QString()));
    EXPECT_FALSE(ui::fitsCp932(QStringLiteral(u"한")));
    EXPECT_FALSE(ui::fitsCp932(QStringLiteral(u"€")));
    EXPECT_FALSE(ui::fitsCp932(QStringLiteral(u"¥")));
}

}  // namespace
}  // namespace windowstest
