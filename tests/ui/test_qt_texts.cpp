// Qt's own dialogs speak Japanese, as every text of the editor does (the test
// program loads Qt's translations as the editor does).
#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <gtest/gtest.h>

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

TEST(QtTexts, FileDialogsAndMessageBoxButtonsAreJapanese) {
    QFileDialog dialog(nullptr, u8("プロジェクトを開く"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const auto label = [&](const char* name) {
        const auto* found = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        return found ? found->text() : QString();
    };
    EXPECT_EQ(label("lookInLabel"), u8("アドレス:"));
    EXPECT_EQ(label("fileNameLabel"), u8("ファイル名(&N):"));
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), u8("開く(&O)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), u8("キャンセル"));
    // Windows's own name for a folder is Explorer's.
    const bool windows = QSysInfo::productType() == QStringLiteral("windows");
    EXPECT_EQ(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())), u8(windows ? "ファイル フォルダー" : "フォルダー"))
        << "the type column";
    // The question the save dialog asks before it replaces a file.
    EXPECT_EQ(QFileDialog::tr("%1 already exists.\nDo you want to replace it?"), u8("%1 は既に存在します。\n置き換えますか?"));

    QMessageBox box(QMessageBox::NoIcon, u8("注意"), u8("保存しますか"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), u8("はい(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), u8("いいえ(&N)"));
}

}  // namespace
