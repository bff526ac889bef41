// The export command: the save dialog's settings, the file each export type
// writes, and what a cancelled or failing export leaves alone.
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "support/cp932.h"
#include "support/qt_files.h"
#include "support/temp_folder.h"
#include "test_windows_fixture.h"

namespace windowstest {
namespace {

// The start-up map, 32 x 32 zeros, as an export case of tests/data gives it.
std::string startUpMapAs(const char* format, const char* exportCase = "start-up-map") {
    return testsupport::readAll(std::string(QUARVEL_SOURCE_DIR) + "/tests/data/export/" + exportCase + "/expected." + format);
}

std::string contentOf(const QString& path) { return testsupport::readAll(path.toStdString()); }

class ExportTest : public WindowsTest {
protected:
    void exportTo(const QString& path, int type) {
        Form2->setRadioGroup1ItemIndex(type);
        dialogs.saveFileAnswers.push_back(path);
        Form2->Button1->click();
    }
};

TEST_F(ExportTest, SaveDialogProposesTheMapLabelAsAHeaderFile) {
    Form2->Button1->click();
    const auto asked = dialogs.callsOf(ui::ScriptedDialogs::Kind::SaveFile);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].options.title, QStringLiteral(u"出力ファイル"));
    EXPECT_EQ(asked[0].options.filters, QStringList{QStringLiteral(u"ヘッダーファイル(*.h)")});
    EXPECT_EQ(asked[0].options.defaultSuffix, "h");
    EXPECT_EQ(asked[0].options.proposedName, "Default");
    EXPECT_TRUE(asked[0].options.confirmOverwrite);
    // The label of an opened project is proposed even while the field shows another.
    Form1->MapName = testsupport::cp932("村");
    Form2->setRadioGroup1ItemIndex(1);
    Form2->Button1->click();
    const auto again = dialogs.callsOf(ui::ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(again.back().options.proposedName, QStringLiteral(u"村"));
    EXPECT_EQ(again.back().options.filters, asked[0].options.filters) << "one filter for every export type";
}

TEST_F(ExportTest, EachExportTypeWritesTheStartUpMapByteForByte) {
    const std::pair<int, std::string> types[] = {
        {0, startUpMapAs("c")}, {1, startUpMapAs("gas")}, {2, startUpMapAs("dragonbasic")}};
    for (const auto& [type, expected] : types) {
        const QString path = folder.filePath(QStringLiteral("map%1.h").arg(type));
        exportTo(path, type);
        EXPECT_EQ(contentOf(path), expected) << "export type " << type;
    }
    EXPECT_TRUE(dialogs.failures().isEmpty());
    EXPECT_FALSE(Form1->Modified) << "an export changes no document state";
}

TEST_F(ExportTest, AJapaneseLabelIsWrittenInTheCodePage) {
    Form2->Edit1->setText(QStringLiteral(u"村マップ"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral(u"café")));  // a path need not fit the code page
    const QString path = folder.filePath(QStringLiteral(u"café/村マップ.h"));
    exportTo(path, 2);
    EXPECT_EQ(contentOf(path), startUpMapAs("dragonbasic", "start-up-map-japanese-label"));
}

TEST_F(ExportTest, ConfirmedOverwriteReplacesTheWholeFile) {
    const QString path = testsupport::writeFile(folder, "old.h", QByteArray(100000, 'x'));
    exportTo(path, 0);
    EXPECT_EQ(contentOf(path), startUpMapAs("c"));
}

TEST_F(ExportTest, CancellingTheDialogTouchesNothing) {
    const QString path = testsupport::writeFile(folder, "keep.h", "keep me");
    Form2->saveDialog1FileName = path;  // the last export's file
    Form2->Button1->click();             // no answer queued: the dialog is cancelled
    EXPECT_EQ(contentOf(path), "keep me");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"keep.h"});
    EXPECT_TRUE(dialogs.failures().isEmpty());
}

TEST_F(ExportTest, AnExportIntoAMissingFolderShowsTheFailureAndWritesNothing) {
    exportTo(folder.filePath("missing/map.h"), 0);
    EXPECT_EQ(failureTexts(), (QStringLiteral(u"不正なファイル名です.")).toStdString());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace windowstest
