// The main window as start-up leaves it: controls, menu, stacking, scrolling,
// focus, and the button that brings the settings window back.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "test_windows_fixture.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/sheet/SheetView.h"
#include "ui/toolkit/UpDown.h"

namespace windowstest {
namespace {

TEST_F(WindowsTest, StartUpLeavesTheDocumentAndTheMainWindowsFieldsAtTheirFirstValues) {
    EXPECT_TRUE(startUpCalls.empty()) << "start-up showed a dialog";
    const TForm1& f = *Form1;
    EXPECT_EQ(f.windowTitle(), QStringLiteral(u"クオーベルエディター"));
    EXPECT_EQ(f.MapName, "Default");
    EXPECT_EQ(f.MapWidth, 32);
    EXPECT_EQ(f.MapHeight, 32);
    EXPECT_EQ(f.Map, core::TileMap(32, 32));
    EXPECT_EQ(f.SelectedTile, 1);
    EXPECT_EQ(f.SheetColumns, 0);
    EXPECT_FALSE(f.Modified);
    EXPECT_EQ(f.DrawGrid1->ColCount(), 33);
    EXPECT_EQ(f.DrawGrid1->RowCount(), 33);
    EXPECT_EQ(f.Edit1->text(), "1");
    EXPECT_EQ(f.Edit4->text(), "0");
    EXPECT_FALSE(f.Edit4->isEnabled());
    EXPECT_EQ(f.Edit5->text(), "1");
    EXPECT_EQ(f.Edit6->text(), "1");
    EXPECT_FALSE(f.CheckBox1->isChecked());
    EXPECT_FALSE(f.CheckBox4->isChecked());
    EXPECT_EQ(f.UpDown1->Position(), 1);
    EXPECT_EQ(f.UpDown2->Max(), 32);
}

TEST_F(WindowsTest, ControlsStandAtTheirDesignPlacesWithTheirCaptions) {
    const TForm1& f = *Form1;
    const std::pair<QWidget*, QRect> places[] = {
        {f.Image1, {16, 88, 1, 1}},       {f.DrawGrid1, {232, 80, 441, 353}}, {f.Edit1, {184, 8, 33, 20}},
        {f.CheckBox1, {16, 344, 129, 17}}, {f.Button1, {16, 8, 89, 25}},      {f.Button2, {8, 368, 129, 25}},
        {f.Edit4, {96, 248, 41, 20}},      {f.Edit5, {296, 8, 25, 20}},       {f.Edit6, {352, 8, 25, 20}},
        {f.CheckBox4, {152, 344, 17, 17}}, {f.UpDown1, {321, 8, 16, 20}},     {f.UpDown2, {377, 8, 16, 20}},
        {f.Button5, {8, 400, 121, 33}},
    };
    for (const auto& [widget, place] : places) {
        EXPECT_EQ(widget->parentWidget(), f.content) << widget->metaObject()->className();
        EXPECT_EQ(widget->geometry(), place) << widget->metaObject()->className();
    }
    // Labels size themselves to the caption from their design corner.
    const std::tuple<QLabel*, QPoint, QString> labels[] = {
        {f.Label3, {120, 8}, QStringLiteral(u"選択タイル")},
        {f.Label7, {16, 72}, QStringLiteral(u"８×８単位で１タイル分にします")},
        {f.Label8, {16, 248}, QStringLiteral(u"画像横サイズ：")},
        {f.Label9, {336, 16}, QStringLiteral(u"×")},
        {f.Label10, {232, 8}, QStringLiteral(u"配置サイズ")},
        {f.Label13, {168, 344}, QStringLiteral(u"境界線表示")},
    };
    for (const auto& [label, corner, caption] : labels) {
        EXPECT_EQ(label->pos(), corner) << caption.toStdString();
        EXPECT_EQ(label->text(), caption);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(caption)) << "caption clipped";
    }
    EXPECT_EQ(f.Button1->text(), QStringLiteral(u"画像読み込み"));
    EXPECT_EQ(f.Button2->text(), QStringLiteral(u"選択タイルで塗りつぶし"));
    EXPECT_EQ(f.Button5->text(), QStringLiteral(u"設定ダイアログを表示"));
    EXPECT_EQ(f.CheckBox1->text(), QStringLiteral(u"タイル番号を表示する"));
    EXPECT_TRUE(f.CheckBox4->text().isEmpty());
    EXPECT_EQ(f.font().family(), QStringLiteral(u"ＭＳ Ｐゴシック"));
    EXPECT_EQ(f.Edit1->font().pixelSize(), 12);
    EXPECT_EQ(f.DrawGrid1->font().pixelSize(), 11);
}

TEST_F(WindowsTest, FileMenuHoldsItsFiveCommandsInOrder) {
    const TForm1& f = *Form1;
    EXPECT_EQ(f.File1->title(), QStringLiteral(u"ファイル"));
    const QList<QAction*> items = f.File1->actions();
    const QList<QAction*> expected{f.N4, f.N2, f.N1, f.N3, f.Exit1};
    EXPECT_EQ(items, expected);
    const QStringList captions{QStringLiteral(u"画像読み込み"), QStringLiteral(u"プロジェクトを読み込む"),
                               QStringLiteral(u"プロジェクトを保存"), QStringLiteral(u"プロジェクトを上書き保存"),
                               QStringLiteral(u"終了")};
    for (qsizetype i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->text(), captions[i]);
        EXPECT_TRUE(items[i]->shortcut().isEmpty());
    }
}

// Which control a press at a content point reaches.
QWidget* controlAt(const TForm1& form, QPoint point) {
    QWidget* hit = form.content->childAt(point);
    while (hit && hit->parentWidget() != form.content) hit = hit->parentWidget();
    return hit;
}

TEST_F(WindowsTest, ChildWindowsAndLaterLabelsCoverALargeSheet) {
    TForm1& f = *Form1;
    f.Image1->resize(640, 512);
    EXPECT_EQ(controlAt(f, {300, 100}), f.DrawGrid1);
    EXPECT_EQ(controlAt(f, {20, 250}), f.Label8);
    EXPECT_EQ(controlAt(f, {100, 250}), f.Edit4);
    EXPECT_EQ(controlAt(f, {20, 75}), f.Label7) << "a label created after the sheet lies above it";
    EXPECT_EQ(controlAt(f, {160, 350}), f.CheckBox4);
    EXPECT_EQ(controlAt(f, {20, 380}), f.Button2);
    EXPECT_EQ(controlAt(f, {200, 300}), f.Image1);
    // The label beside the box is only text: it is not the box's buddy.
    QTest::mouseClick(f.Label13, Qt::LeftButton, {}, {5, 5});
    EXPECT_FALSE(f.CheckBox4->isChecked());
}

TEST_F(WindowsTest, ContentExtentsFollowTheControlsAndScrollBarsComeAndGo) {
    showMainWindow();
    TForm1& f = *Form1;
    EXPECT_EQ(f.content->size(), QSize(673, 433));
    EXPECT_FALSE(f.scroller->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(f.scroller->verticalScrollBar()->isVisible());

    f.Image1->resize(256, 512);
    EXPECT_EQ(f.content->size(), QSize(673, 600));
    QApplication::processEvents();
    EXPECT_TRUE(f.scroller->verticalScrollBar()->isVisible());
    f.Image1->resize(128, 128);
    EXPECT_EQ(f.content->size(), QSize(673, 433));

    f.resize(400, 300);
    QApplication::processEvents();
    QScrollBar* horizontal = f.scroller->horizontalScrollBar();
    ASSERT_TRUE(horizontal->isVisible());
    EXPECT_EQ(horizontal->singleStep(), 62);
    EXPECT_EQ(f.scroller->verticalScrollBar()->singleStep(), 8);
    EXPECT_EQ(horizontal->pageStep(), f.scroller->viewport()->width());
    EXPECT_FALSE(horizontal->hasTracking());
    const QPoint gridBefore = f.DrawGrid1->mapTo(&f, QPoint());
    const QPoint editBefore = f.Edit1->mapTo(&f, QPoint());
    horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f.DrawGrid1->mapTo(&f, QPoint()), gridBefore - QPoint(62, 0));
    EXPECT_EQ(f.Edit1->mapTo(&f, QPoint()), editBefore - QPoint(62, 0));
    EXPECT_EQ(f.DrawGrid1->pos(), QPoint(232, 80)) << "scrolling moves no control within the content";
}

TEST_F(WindowsTest, TabWalksTheControlsInDesignOrderFromTheMapView) {
    showMainWindow();
    TForm1& f = *Form1;
    EXPECT_EQ(QApplication::focusWidget(), f.DrawGrid1);
    const QList<QWidget*> order{f.Edit1, f.CheckBox1, f.Button1,   f.Button2,  f.Edit5,
                                f.Edit6, f.CheckBox4, f.Button5, f.DrawGrid1};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), f.Button5);
}

TEST_F(WindowsTest, LeavingTheSelectedTileFieldAppliesItsNumber) {
    showMainWindow();
    TForm1& f = *Form1;
    f.Edit1->setFocus(Qt::TabFocusReason);
    f.Edit1->selectAll();
    QTest::keyClicks(f.Edit1, "7");
    EXPECT_EQ(f.SelectedTile, 1) << "nothing happens before the focus leaves";
    QTest::keyClick(f.Edit1, Qt::Key_Tab);
    EXPECT_EQ(f.SelectedTile, 7);
}

TEST_F(WindowsTest, TheMenuTakingTheKeyboardIsNoLeaveOfTheSelectedTileField) {
    showMainWindow();
    TForm1& f = *Form1;
    f.Edit1->setFocus(Qt::TabFocusReason);
    f.Edit1->selectAll();
    QTest::keyClicks(f.Edit1, "abc");
    QTest::keyClick(f.Edit1, Qt::Key_Alt);
    ASSERT_NE(QApplication::focusWidget(), f.Edit1) << "the menu bar holds the keyboard";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialogs.failures().isEmpty()) << failureTexts();
    EXPECT_EQ(QApplication::focusWidget(), f.Edit1);
    QTest::keyClick(f.Edit1, Qt::Key_Tab);
    EXPECT_EQ(dialogs.failures().size(), 1) << "leaving for a control still converts the text";
}

TEST_F(WindowsTest, SettingsButtonBringsBackTheOneHiddenSettingsWindow) {
    ASSERT_TRUE(Form2->isVisible());
    Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(Form2->Edit2->text(), "32") << "closing hides the window and keeps its fields";
    Form1->Button5->click();
    EXPECT_TRUE(Form2->isVisible());
    Form1->Button5->click();
    int settingsWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) settingsWindows += qobject_cast<TForm2*>(w) != nullptr;
    EXPECT_EQ(settingsWindows, 1);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(WindowsTest, MainWindowStartsAtItsScreenPlaceWithItsOuterSize) {
    showMainWindow();
    EXPECT_EQ(Form1->frameGeometry(), QRect(279, 141, 714, 516));
}

// Every size comes from its own drawing in the resources; a lost resource shows
// no icon at all.
TEST_F(WindowsTest, BothWindowsCarryTheApplicationIconAtEveryDrawnSize) {
    for (const QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2)}) {
        const QList<QSize> sizes = window->windowIcon().availableSizes();
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << window->metaObject()->className() << " " << size;
    }
}

}  // namespace
}  // namespace windowstest
