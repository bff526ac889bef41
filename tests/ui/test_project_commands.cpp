// The project commands on the real windows, answered by scripted dialogs: the
// unsaved-changes prompt, open, save as, overwrite save, the close and exit paths
// and the command-line open.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/failures.h"
#include "support/cp932.h"
#include "support/qt_files.h"
#include "support/temp_folder.h"
#include "test_windows_fixture.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"

namespace {

using Kind = ui::ScriptedDialogs::Kind;

const QString kPromptCaption = QStringLiteral(u"注意");
const QString kPromptText = QStringLiteral(u"プロジェクトは保存されていません。プロジェクトを保存しますか？");
const QString kOpenTitle = QStringLiteral(u"プロジェクトを開く");
const QString kSaveTitle = QStringLiteral(u"プロジェクトを保存");

QString demoSheetPath() { return QStringLiteral(QUARVEL_SOURCE_DIR "/examples/demo_sheet.bmp"); }

// A project file: image path, label, width and height texts, then the cells row by
// row; cell (r, c) holds r * 100 + c + 1, so every cell tells where it came from.
std::string projectText(const std::string& imagePath, const std::string& label, int width, int height) {
    std::string text = imagePath + "\r\n" + label + "\r\n" + std::to_string(width) + "\r\n" +
                       std::to_string(height) + "\r\n";
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) text += std::to_string(r * 100 + c + 1) + "\r\n";
    return text;
}

// ProjectPath holds a path as the file system takes it.
std::string pathBytes(const QString& path) { return ui::corePath(path); }

core::Cell cellFromFile(int r, int c) { return static_cast<core::Cell>(r * 100 + c + 1); }

std::vector<std::string> fileLines(const QString& path) {
    const std::string bytes = testsupport::readAll(path.toStdString());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

class ProjectCommandsTest : public windowstest::WindowsTest {
protected:
    QString writeProject(const QString& name, const std::string& text) {
        return testsupport::writeFile(folder, name, QByteArray::fromStdString(text));
    }
    // A 3 x 2 project without a sheet.
    QString smallProject(const QString& name) { return writeProject(name, projectText("", "small", 3, 2)); }

    // An edit the way stamping leaves it.
    void editCell(int r, int c, core::Cell value) {
        form->Map[r][c] = value;
        form->Modified = true;
    }

    void openThroughMenu(const QString& path) {
        dialogs.openFileAnswers.push_back(path);
        form->N2->trigger();
    }

    std::vector<Kind> shownKinds() const {
        std::vector<Kind> kinds;
        for (const auto& call : dialogs.calls) kinds.push_back(call.kind);
        return kinds;
    }

    std::string noFailures() const { return dialogs.failures().join("\n").toStdString(); }
};

// --- the dialogs and the prompt -------------------------------------------------

TEST_F(ProjectCommandsTest, DialogsCarryTheirTitlesFilterSuffixAndLastName) {
    const QString first = smallProject("first.quarvel");
    openThroughMenu(first);
    dialogs.saveFileAnswers.push_back(folder.filePath("copy.quarvel"));
    form->N1->trigger();
    openThroughMenu(first);
    form->N1->trigger();  // cancelled: the queue is empty

    const auto opens = dialogs.callsOf(Kind::OpenFile);
    const auto saves = dialogs.callsOf(Kind::SaveFile);
    ASSERT_EQ(opens.size(), 2u);
    ASSERT_EQ(saves.size(), 2u);
    for (const auto* call : {&opens[0], &saves[0]}) {
        ASSERT_EQ(call->options.filters.size(), 1);
        EXPECT_TRUE(call->options.filters[0].startsWith(QStringLiteral(u"*.quarvel クオーベルプロジェクト")));
        EXPECT_TRUE(call->options.filters[0].endsWith(QStringLiteral("(*.quarvel)")));
        EXPECT_EQ(call->options.defaultSuffix, "quarvel");
        EXPECT_FALSE(call->options.confirmOverwrite);
    }
    EXPECT_EQ(opens[0].options.title, kOpenTitle);
    EXPECT_TRUE(opens[0].options.folderMustExist);
    EXPECT_EQ(saves[0].options.title, kSaveTitle);
    EXPECT_FALSE(saves[0].options.folderMustExist);
    // "default" at first, then each dialog proposes its own last choice.
    EXPECT_EQ(opens[0].options.proposedName, "default");
    EXPECT_EQ(saves[0].options.proposedName, "default");
    EXPECT_EQ(opens[1].options.proposedName, first);
    EXPECT_EQ(saves[1].options.proposedName, folder.filePath("copy.quarvel"));
}

TEST_F(ProjectCommandsTest, OpenAsksAboutUnsavedChangesOnlyWhenModified) {
    form->Modified = false;
    form->N2->trigger();
    EXPECT_EQ(shownKinds(), std::vector<Kind>{Kind::OpenFile});

    dialogs.clear();
    editCell(0, 0, 9);
    dialogs.yesNoAnswers.push_back(false);
    form->N2->trigger();  // No, then the open dialog is cancelled
    ASSERT_EQ(shownKinds(), (std::vector<Kind>{Kind::YesNo, Kind::OpenFile}));
    EXPECT_EQ(dialogs.calls[0].caption, kPromptCaption);
    EXPECT_EQ(dialogs.calls[0].text, kPromptText);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Map[0][0], 9);
}

TEST_F(ProjectCommandsTest, PromptYesSavesToProjectPathBeforeOpening) {
    const QString current = smallProject("current.quarvel");
    const QString next = writeProject("next.quarvel", projectText("", "next", 2, 2));
    openThroughMenu(current);
    editCell(1, 2, 777);
    dialogs.clear();

    dialogs.yesNoAnswers.push_back(true);
    openThroughMenu(next);

    EXPECT_EQ(shownKinds(), (std::vector<Kind>{Kind::YesNo, Kind::OpenFile})) << noFailures();
    const auto saved = fileLines(current);
    ASSERT_EQ(saved.size(), 4u + 6u);
    EXPECT_EQ(saved[4 + 1 * 3 + 2], "777");
    EXPECT_EQ(form->ProjectPath, pathBytes(next));
    EXPECT_EQ(form->MapWidth, 2);
}

TEST_F(ProjectCommandsTest, PromptYesWithoutProjectPathAsksWithTheSaveDialog) {
    const QString project = smallProject("open-me.quarvel");
    const QString savedTo = folder.filePath("saved.quarvel");
    editCell(0, 1, 55);
    dialogs.yesNoAnswers.push_back(true);
    dialogs.saveFileAnswers.push_back(savedTo);
    openThroughMenu(project);

    ASSERT_EQ(shownKinds(), (std::vector<Kind>{Kind::YesNo, Kind::SaveFile, Kind::OpenFile})) << noFailures();
    EXPECT_EQ(dialogs.calls[1].options.title, kSaveTitle);
    const auto saved = fileLines(savedTo);
    ASSERT_EQ(saved.size(), 4u + 32u * 32u);
    EXPECT_EQ(saved[4 + 1], "55");
    // The open that followed decides the path.
    EXPECT_EQ(form->ProjectPath, pathBytes(project));
}

TEST_F(ProjectCommandsTest, APromptedSaveThatIsCancelledOrFailsAbandonsTheOpen) {
    const QString project = smallProject("never.quarvel");
    editCell(3, 4, 42);
    dialogs.yesNoAnswers.push_back(true);
    openThroughMenu(project);  // the save dialog gets no answer: cancelled

    EXPECT_EQ(shownKinds(), (std::vector<Kind>{Kind::YesNo, Kind::SaveFile}));
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Map[3][4], 42);
    EXPECT_EQ(form->MapWidth, 32);
    EXPECT_TRUE(form->ProjectPath.empty());

    editCell(0, 0, 5);
    dialogs.yesNoAnswers.push_back(true);
    dialogs.saveFileAnswers.push_back(folder.filePath("no-such-folder/x.quarvel"));
    openThroughMenu(project);

    EXPECT_EQ(dialogs.failures().size(), 1);
    EXPECT_TRUE(dialogs.callsOf(Kind::OpenFile).empty());
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Map[0][0], 5);
    // A path that was never written does not become the project's.
    EXPECT_TRUE(form->ProjectPath.empty());
}

// --- what an open leaves --------------------------------------------------------

TEST_F(ProjectCommandsTest, OpenAppliesTheFileToFieldsMapGridAndState) {
    const std::string sheet = ui::toCp932(demoSheetPath());
    const QString path = writeProject("full.quarvel", projectText(sheet, testsupport::cp932("村"), 5, 3));
    form->Modified = true;
    dialogs.yesNoAnswers.push_back(false);
    openThroughMenu(path);

    EXPECT_TRUE(dialogs.failures().isEmpty()) << noFailures();
    EXPECT_EQ(settings->Edit2->text(), "5");
    EXPECT_EQ(settings->Edit3->text(), "3");
    EXPECT_EQ(form->MapWidth, 5);
    EXPECT_EQ(form->MapHeight, 3);
    ASSERT_EQ(form->Map.size(), 3u);
    for (int r = 0; r < 3; ++r) {
        ASSERT_EQ(form->Map[r].size(), 5u);
        for (int c = 0; c < 5; ++c) EXPECT_EQ(form->Map[r][c], cellFromFile(r, c)) << r << "," << c;
    }
    EXPECT_EQ(form->DrawGrid1->ColCount(), 6);
    EXPECT_EQ(form->DrawGrid1->RowCount(), 4);
    EXPECT_EQ(form->MapName, testsupport::cp932("村"));
    EXPECT_EQ(form->ImagePath, sheet);
    EXPECT_EQ(form->SheetColumns, 16);
    EXPECT_EQ(form->ProjectPath, pathBytes(path));
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectCommandsTest, FileWiderThan4096OpensCutTo4096) {
    openThroughMenu(QStringLiteral(QUARVEL_SOURCE_DIR "/tests/data/export/width-above-4096/project.quarvel"));

    EXPECT_TRUE(dialogs.failures().isEmpty()) << noFailures();
    EXPECT_EQ(settings->Edit2->text(), "4096");
    EXPECT_EQ(form->MapWidth, 4096);
    ASSERT_EQ(form->Map.size(), 2u);
    ASSERT_EQ(form->Map[1].size(), 4096u);
    // Row 1 starts at the file's 5000th cell, not at its 4096th.
    EXPECT_EQ(form->Map[0][4095], 4095);
    EXPECT_EQ(form->Map[1][0], 5000);
    EXPECT_EQ(form->Map[1][4095], static_cast<core::Cell>(5000 + 4095));
    EXPECT_EQ(form->DrawGrid1->ColCount(), 4097);
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectCommandsTest, FailedReadChangesNothing) {
    const QString good = smallProject("good.quarvel");
    openThroughMenu(good);
    editCell(0, 0, 321);
    std::string broken = projectText("", "broken", 4, 4);
    broken.replace(broken.find("\r\n3\r\n"), 5, "\r\nabc\r\n");
    dialogs.yesNoAnswers.push_back(false);
    openThroughMenu(writeProject("broken.quarvel", broken));

    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(dialogs.failures()[0], QStringLiteral(u"入力値が数値ではありません."));
    EXPECT_EQ(form->ProjectPath, pathBytes(good));
    EXPECT_EQ(form->MapWidth, 3);
    EXPECT_EQ(settings->Edit2->text(), "3");
    EXPECT_EQ(form->Map[0][0], 321);
    EXPECT_EQ(form->MapName, "small");
    EXPECT_TRUE(form->Modified);
}

TEST_F(ProjectCommandsTest, NoSheetOpensSilentlyAndAMissingOneIsShownWhileTheOpenCompletes) {
    openThroughMenu(smallProject("plain.quarvel"));
    EXPECT_TRUE(dialogs.failures().isEmpty()) << noFailures();
    EXPECT_TRUE(form->TileSheet.empty());
    EXPECT_EQ(form->DrawGrid1->ColCount(), 4);
    EXPECT_FALSE(form->Modified);

    const std::string missing = ui::toCp932(folder.filePath("gone.bmp"));
    const QString path = writeProject("lost-sheet.quarvel", projectText(missing, "lost", 4, 2));
    openThroughMenu(path);

    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(dialogs.failures()[0], QStringLiteral(u"ファイル %1 は開けません.").arg(folder.filePath("gone.bmp")));
    EXPECT_EQ(form->ProjectPath, pathBytes(path));
    EXPECT_EQ(form->MapWidth, 4);
    EXPECT_EQ(form->DrawGrid1->ColCount(), 5);
    EXPECT_EQ(form->DrawGrid1->RowCount(), 3);
    EXPECT_EQ(form->Map[1][3], cellFromFile(1, 3));
    EXPECT_FALSE(form->Modified);
}

// A project's own path is never written into a file, so it need not fit code page 932.
TEST_F(ProjectCommandsTest, ProjectPathsOutsideTheCodePageOpenAndSave) {
    for (const QString& name : {QStringLiteral(u"café"), QStringLiteral(u"地図")}) {
        ASSERT_TRUE(QDir(folder.path()).mkdir(name));
        const QString path = writeProject(name + QStringLiteral(u"/map😀.quarvel"), projectText("", "odd", 2, 2));
        const QString copy = folder.filePath(name + QStringLiteral(u"/copy.quarvel"));
        form->NewOpenProject({QStringLiteral("quarvel"), path});
        openThroughMenu(path);
        EXPECT_EQ(form->ProjectPath, pathBytes(path));
        EXPECT_EQ(form->MapWidth, 2);
        editCell(1, 1, 77);
        form->N3->trigger();
        EXPECT_EQ(fileLines(path)[4 + 3], "77");
        dialogs.saveFileAnswers.push_back(copy);
        form->N1->trigger();
        EXPECT_EQ(fileLines(copy)[4 + 3], "77");
        EXPECT_EQ(noFailures(), "");
    }
}

// --- saving ---------------------------------------------------------------------

TEST_F(ProjectCommandsTest, SaveAsWritesReplacesAndKeepsProjectPath) {
    const QString opened = smallProject("opened.quarvel");
    openThroughMenu(opened);
    const QString copy = writeProject("copy.quarvel", "old contents\r\n");
    editCell(1, 1, 64000);
    dialogs.saveFileAnswers.push_back(copy);
    form->N1->trigger();

    EXPECT_TRUE(dialogs.callsOf(Kind::YesNo).empty());
    const auto lines = fileLines(copy);
    ASSERT_EQ(lines.size(), 4u + 6u);
    EXPECT_EQ(lines[1], "small");
    EXPECT_EQ(lines[2], "3");
    EXPECT_EQ(lines[4 + 1 * 3 + 1], "64000");
    EXPECT_EQ(form->ProjectPath, pathBytes(opened));
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectCommandsTest, OverwriteGoesToProjectPathNotToTheSaveAsFile) {
    const QString opened = smallProject("opened.quarvel");
    const QString other = folder.filePath("other.quarvel");
    openThroughMenu(opened);
    editCell(0, 0, 11);
    dialogs.saveFileAnswers.push_back(other);
    form->N1->trigger();
    editCell(0, 0, 22);
    dialogs.clear();
    form->N3->trigger();

    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(fileLines(opened)[4], "22");
    EXPECT_EQ(fileLines(other)[4], "11");
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectCommandsTest, OverwriteWithoutProjectPathAsksOnceThenKeepsThePath) {
    const QString target = folder.filePath("asked.quarvel");
    editCell(2, 2, 3);
    dialogs.saveFileAnswers.push_back(target);
    form->N3->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::SaveFile).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::SaveFile)[0].options.title, kSaveTitle);
    EXPECT_EQ(form->ProjectPath, pathBytes(target));
    EXPECT_FALSE(form->Modified);

    editCell(2, 2, 4);
    form->N3->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::SaveFile).size(), 1u);
    EXPECT_EQ(fileLines(target)[4 + 2 * 32 + 2], "4");
}

TEST_F(ProjectCommandsTest, FailedOverwriteKeepsModifiedAndAsksAgain) {
    editCell(0, 0, 1);
    dialogs.saveFileAnswers.push_back(folder.filePath("missing/one.quarvel"));
    form->N3->trigger();
    EXPECT_EQ(dialogs.failures().size(), 1);
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(form->ProjectPath.empty());

    form->N3->trigger();  // cancelled this time
    EXPECT_EQ(dialogs.callsOf(Kind::SaveFile).size(), 2u);
}

TEST_F(ProjectCommandsTest, NameWithoutExtensionGetsQuarvel) {
    editCell(0, 0, 8);
    dialogs.saveFileAnswers.push_back(folder.filePath("plain"));
    form->N1->trigger();
    EXPECT_TRUE(QFile::exists(folder.filePath("plain.quarvel")));
    EXPECT_FALSE(QFile::exists(folder.filePath("plain")));

    form->Map[0][0] = 0;
    openThroughMenu(folder.filePath("plain"));
    EXPECT_TRUE(dialogs.failures().isEmpty()) << noFailures();
    EXPECT_EQ(form->ProjectPath, pathBytes(folder.filePath("plain.quarvel")));
    EXPECT_EQ(form->Map[0][0], 8);
    // A name that has an extension keeps it.
    dialogs.saveFileAnswers.push_back(folder.filePath("named.map"));
    form->N1->trigger();
    EXPECT_TRUE(QFile::exists(folder.filePath("named.map")));
}

// --- closing and "終了" ------------------------------------------------------------

TEST_F(ProjectCommandsTest, CloseHandlingDecidesWhetherTheWindowMayClose) {
    EXPECT_TRUE(form->FormClose());
    EXPECT_TRUE(dialogs.calls.empty());

    editCell(0, 0, 7);
    dialogs.yesNoAnswers.push_back(false);
    EXPECT_TRUE(form->FormClose());
    EXPECT_EQ(dialogs.callsOf(Kind::YesNo).size(), 1u);
    EXPECT_TRUE(dialogs.callsOf(Kind::SaveFile).empty());

    dialogs.yesNoAnswers.push_back(true);  // and the save dialog is cancelled
    EXPECT_FALSE(form->FormClose());
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Map[0][0], 7);

    const QString target = folder.filePath("at-close.quarvel");
    dialogs.yesNoAnswers.push_back(true);
    dialogs.saveFileAnswers.push_back(target);
    EXPECT_TRUE(form->FormClose());
    EXPECT_EQ(fileLines(target)[4], "7");
    EXPECT_FALSE(form->Modified);
}

TEST_F(ProjectCommandsTest, FailingSaveAtCloseKeepsTheWindowOpen) {
    form->show();
    editCell(0, 0, 7);
    dialogs.yesNoAnswers.push_back(true);
    dialogs.saveFileAnswers.push_back(folder.filePath("absent/close.quarvel"));
    form->close();

    EXPECT_EQ(dialogs.failures().size(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Map[0][0], 7);
}

TEST_F(ProjectCommandsTest, ExitRunsTheCloseHandling) {
    form->show();
    editCell(0, 0, 7);
    dialogs.yesNoAnswers.push_back(true);  // save dialog cancelled: stay
    form->Exit1->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::YesNo).size(), 1u);
    EXPECT_TRUE(form->isVisible());

    dialogs.yesNoAnswers.push_back(false);
    form->Exit1->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::YesNo).size(), 2u);
    EXPECT_FALSE(form->isVisible());
}

// --- the command-line open ------------------------------------------------------

TEST_F(ProjectCommandsTest, CommandLineOpensAFileAndOverwriteGoesBackToIt) {
    const QString path = smallProject("argument.quarvel");
    form->NewOpenProject({QStringLiteral("quarvel"), path, folder.filePath("ignored.quarvel")});
    EXPECT_TRUE(dialogs.calls.empty()) << noFailures();
    EXPECT_EQ(form->ProjectPath, pathBytes(path));
    EXPECT_EQ(settings->Edit2->text(), "3");
    EXPECT_EQ(form->DrawGrid1->RowCount(), 3);
    EXPECT_FALSE(form->Modified);

    editCell(1, 0, 99);
    form->N3->trigger();
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(fileLines(path)[4 + 3], "99");
}

TEST_F(ProjectCommandsTest, CommandLineIgnoresFoldersMissingFilesAndNoArgument) {
    for (const QStringList& arguments : {QStringList{QStringLiteral("quarvel")}, QStringList{},
                                         QStringList{QStringLiteral("quarvel"), folder.path()},
                                         QStringList{QStringLiteral("quarvel"), folder.filePath("none.quarvel")}}) {
        form->NewOpenProject(arguments);
        EXPECT_TRUE(dialogs.calls.empty());
        EXPECT_TRUE(form->ProjectPath.empty());
        EXPECT_EQ(form->MapWidth, 32);
        EXPECT_EQ(settings->Edit2->text(), "32");
    }
}

TEST_F(ProjectCommandsTest, DemoProjectOpensFromTheRepositoryRoot) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(QUARVEL_SOURCE_DIR));
    form->NewOpenProject({QStringLiteral("quarvel"), QStringLiteral("examples/demo.quarvel")});
    QDir::setCurrent(before);

    EXPECT_TRUE(dialogs.failures().isEmpty()) << noFailures();
    EXPECT_EQ(form->ImagePath, "examples/demo_sheet.bmp");
    EXPECT_EQ(form->SheetColumns, 16);
    EXPECT_EQ(form->MapWidth, 32);
    EXPECT_EQ(form->MapHeight, 24);
    EXPECT_FALSE(form->Modified);
}

}  // namespace
