// The recovery copy in the real windows: written after an edit, gone after a save,
// an undo to the saved state or a discard, offered back at an open, shown once when
// it cannot be written.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>


#include "core/recovery/recovery_copy.h"
#include "support/bmp_file_builder.h"
#include "support/qt_files.h"
#include "test_windows_fixture.h"
#include "ui/recovery/RecoveryKeeper.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"

namespace windowstest {
namespace {

class RecoveryTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        form->recovery().setTiming({20, 200});
    }

    std::string copyPath() const { return *form->recovery().copyPathFor(form->recoveryKey()); }
    bool copyExists() const { return core::fileTime(copyPath()).has_value(); }

    // Waits until the copy that is due has been taken and written, however busy the
    // machine, and its outcome has reached the window.
    void settle() {
        for (int waited = 0; waited < 5000 && form->recovery().copyDue(); waited += 5) QTest::qWait(5);
        form->recovery().waitForWorker();
        QCoreApplication::processEvents();
    }

    void stampAt(int col, int row) {
        bool canSelect = true;
        form->DrawGrid1SelectCell(col, row, canSelect);
    }

    // A 16 x 16 sheet: four tiles, so that stamps of tile 1 go through.
    std::string sheet() {
        testsupport::BmpFields fields;
        fields.width = fields.height = 16;
        fields.pixels = std::string(16 * 16 * 3, '\x40');
        return ui::toCp932(
            testsupport::writeFile(folder, "sheet.bmp", QByteArray::fromStdString(testsupport::buildBmp(fields))));
    }

    // A saved 4 x 2 project of zeros, drawn with the sheet.
    QString project(const QString& name = QStringLiteral("level.quarvel")) {
        return testsupport::writeFile(folder, name, QByteArray::fromStdString(sheet() + "\r\nlevel\r\n4\r\n2\r\n"));
    }

    static std::string contents(const std::string& path) {
        std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    void open(const QString& path) { form->NewOpenProject({QStringLiteral("quarvel"), path}); }

    static void setWrittenAt(const QString& path, qint64 seconds) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds), QFileDevice::FileModificationTime));
    }

    // The copy as a later start would find it: newer than the project file.
    void leaveNewerCopy(const QString& projectPath, const char* cells) {
        std::string text = sheet() + "\r\nrecovered\r\n4\r\n2\r\n";
        text += cells;
        const std::string key = ui::corePath(QFileInfo(projectPath).absoluteFilePath());
        const QString copy = ui::fromCorePath(*form->recovery().copyPathFor(key));
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QFile out(copy);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.data(), static_cast<qint64>(text.size()));
        out.close();
        setWrittenAt(projectPath, 1000000);
    }
};

TEST_F(RecoveryTest, AnEditIsCopiedAndASaveRemovesTheCopy) {
    open(project());
    stampAt(2, 1);
    settle();
    ASSERT_TRUE(copyExists()) << copyPath();
    EXPECT_EQ(contents(copyPath()), sheet() + "\r\nlevel\r\n4\r\n2\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
        << "the stamp of tile 1";

    form->SaveUpdateProject();
    settle();
    EXPECT_FALSE(copyExists()) << "a completed save";
    // Save as, too.
    stampAt(3, 1);
    settle();
    ASSERT_TRUE(copyExists());
    dialogs.saveFileAnswers.push_back(folder.filePath(QStringLiteral("other.quarvel")));
    form->N1Click();
    settle();
    EXPECT_FALSE(copyExists()) << "a completed save as";
    EXPECT_TRUE(dialogs.failures().isEmpty()) << failureTexts();
}

// Edits that never pause for the quiet interval are still copied, by the longest one.
TEST_F(RecoveryTest, EditingThatGoesOnIsCopiedAtTheLongestInterval) {
    open(project());
    form->recovery().setTiming({100, 200});
    for (int i = 0; i < 40 && !copyExists(); ++i) {
        stampAt(1 + i % 4, 1 + i % 2);
        QTest::qWait(20);
        form->recovery().waitForWorker();
    }
    EXPECT_TRUE(copyExists()) << "no copy within 800 ms of edits 20 ms apart";
}

TEST_F(RecoveryTest, AnUndoToTheSavedStateOrADiscardRemovesTheCopy) {
    open(project());
    stampAt(1, 1);
    settle();
    ASSERT_TRUE(copyExists());
    form->undoMapEdit();
    settle();
    EXPECT_FALSE(copyExists()) << "back at the saved state";
    form->redoMapEdit();
    settle();
    EXPECT_TRUE(copyExists()) << "changed again";

    // いいえ at the unsaved-changes prompt gives up the changes and their copy.
    dialogs.yesNoAnswers = {false};
    EXPECT_TRUE(form->FormClose());
    settle();
    EXPECT_FALSE(copyExists());
}

TEST_F(RecoveryTest, ANewerCopyIsOfferedAtTheOpenAndRestored) {
    const QString path = project();
    leaveNewerCopy(path, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    dialogs.yesNoAnswers = {true};
    open(path);
    const auto asked = dialogs.callsOf(ui::ScriptedDialogs::Kind::YesNo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, ui::applicationTitle());
    EXPECT_TRUE(asked[0].text.contains(QStringLiteral(u"「level.quarvel」"))) << asked[0].text.toStdString();
    const auto made = core::fileTime(copyPath());
    ASSERT_TRUE(made);
    const QString when = QDateTime::fromSecsSinceEpoch(*made).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    EXPECT_TRUE(asked[0].text.contains(when)) << "when the copy was made";
    EXPECT_EQ(form->Map[1][3], 8);
    EXPECT_EQ(form->MapName, "recovered");
    EXPECT_EQ(form->ProjectPath, ui::corePath(path)) << "the project's path, not the copy's";
    EXPECT_TRUE(form->Modified) << "saved on purpose";
    form->undoMapEdit();
    EXPECT_EQ(form->Map[1][3], 8) << "the history starts anew";
    // Saving writes the project and removes the copy.
    form->SaveUpdateProject();
    settle();
    EXPECT_FALSE(copyExists());
    const std::string saved = contents(ui::corePath(path));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 4 + 8);
}

TEST_F(RecoveryTest, DecliningRemovesTheCopyAndOpensTheProjectAsSaved) {
    const QString path = project();
    leaveNewerCopy(path, "9\r\n9\r\n9\r\n9\r\n9\r\n9\r\n9\r\n9\r\n");
    dialogs.yesNoAnswers = {false};
    open(path);
    EXPECT_EQ(form->Map[1][3], 0);
    EXPECT_EQ(form->MapName, "level");
    EXPECT_FALSE(form->Modified);
    EXPECT_FALSE(copyExists());
    // An older copy is not offered at all.
    leaveNewerCopy(path, "9\r\n");
    setWrittenAt(ui::fromCorePath(copyPath()), 500000);
    dialogs.clear();
    open(path);
    EXPECT_TRUE(dialogs.callsOf(ui::ScriptedDialogs::Kind::YesNo).empty());
}

TEST_F(RecoveryTest, AStartWithoutAProjectOffersTheUntitledCopy) {
    form->ImagePath = sheet();
    form->LoadImage();
    stampAt(1, 1);
    settle();
    ASSERT_TRUE(copyExists());
    EXPECT_EQ(copyPath().substr(copyPath().find_last_of("/\\") + 1), "untitled.quarvel");
    // As at the next start: a fresh document, then the offer.
    form->FormCreate();
    dialogs.yesNoAnswers = {true};
    form->NewOpenProject({QStringLiteral("quarvel")});
    ASSERT_EQ(dialogs.callsOf(ui::ScriptedDialogs::Kind::YesNo).size(), 1u);
    EXPECT_EQ(form->Map[0][0], 1);
    EXPECT_TRUE(form->ProjectPath.empty());
    EXPECT_TRUE(form->Modified);
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenIsShownOnceAndTheEditingGoesOn) {
    open(project());
    // A file where the recovery folder would be.
    const QString state = stateFolder();
    QDir(state).removeRecursively();
    testsupport::writeFile(stateHome, QStringLiteral("state"), QByteArray("in the way"));
    stampAt(1, 1);
    settle();
    stampAt(2, 1);
    settle();
    EXPECT_EQ(dialogs.failures().size(), 1) << failureTexts();
    EXPECT_EQ(form->Map[0][1], 1) << "the edit went through";
    // Once a copy succeeds again, the next failure is shown again.
    QFile::remove(state);
    stampAt(3, 1);
    settle();
    EXPECT_TRUE(copyExists());
    QDir(state).removeRecursively();
    testsupport::writeFile(stateHome, QStringLiteral("state"), QByteArray("in the way"));
    stampAt(4, 1);
    settle();
    EXPECT_EQ(dialogs.failures().size(), 2) << failureTexts();
}

TEST_F(RecoveryTest, ACopyThatCannotBeRemovedIsShownAndTheSaveStands) {
    open(project());
    stampAt(1, 1);
    settle();
    ASSERT_TRUE(copyExists());
    // A folder with something in it where the copy was: unlink refuses it.
    const QString copy = ui::fromCorePath(copyPath());
    QFile::remove(copy);
    ASSERT_TRUE(QDir().mkpath(copy + QStringLiteral("/inside")));
    form->SaveUpdateProject();
    settle();
    EXPECT_EQ(dialogs.failures(), QStringList{QStringLiteral(u"ファイルへのアクセスが拒否されました.")});
    EXPECT_FALSE(form->Modified) << "the save went through";
}

}  // namespace
}  // namespace windowstest
