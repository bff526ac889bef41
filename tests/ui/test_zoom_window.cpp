// Zoom and go-to in the main window: the keys anywhere in it, "セルへ移動", and that
// neither is an edit.
#include <QLineEdit>
#include <QTest>

#include "core/map/size_fields.h"
#include "support/qt_files.h"
#include "test_windows_fixture.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/map_view/ZoomLevel.h"

namespace windowstest {
namespace {

class ZoomWindowTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        showMainWindow();
        // A map larger than the view, so that every level scrolls.
        settings->Edit2->setText("300");
        settings->Edit3->setText("200");
        form->markSaved();
    }
    int zoom() const { return form->DrawGrid1->zoomIndex(); }
    void keys(QWidget* where, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(where, key, modifiers);
    }
};

TEST_F(ZoomWindowTest, TheZoomKeysWorkAnywhereInTheWindow) {
    for (QWidget* where : {static_cast<QWidget*>(form->DrawGrid1), static_cast<QWidget*>(form->Edit5)}) {
        where->setFocus();
        keys(where, Qt::Key_0);
        ASSERT_EQ(zoom(), ui::kStartZoom);
        keys(where, Qt::Key_Plus);
        EXPECT_EQ(zoom(), ui::kStartZoom - 1) << "Ctrl++";
        keys(where, Qt::Key_Equal);
        EXPECT_EQ(zoom(), ui::kStartZoom - 2) << "Ctrl+=";
        keys(where, Qt::Key_Semicolon);
        EXPECT_EQ(zoom(), ui::kStartZoom - 3) << "Ctrl+;";
        keys(where, Qt::Key_Minus);
        EXPECT_EQ(zoom(), ui::kStartZoom - 2) << "Ctrl+-";
        keys(where, Qt::Key_0);
        EXPECT_EQ(zoom(), ui::kStartZoom) << "Ctrl+0";
        keys(where, Qt::Key_Slash);
        const ui::GridGeometry at = form->DrawGrid1->gridGeometry();
        EXPECT_GE(at.visibleColCount(), 300) << "Ctrl+/ fits the map";
        EXPECT_GE(at.visibleRowCount(), 200);
    }
    EXPECT_FALSE(form->Modified) << "zoom is no edit";
    form->undoMapEdit();
    EXPECT_EQ(form->MapWidth, 300) << "nor a step of the history";
}

TEST_F(ZoomWindowTest, GoToPutsTheCellInTheMiddleAndStampsNothing) {
    const auto current = std::make_pair(form->DrawGrid1->Col(), form->DrawGrid1->Row());
    dialogs.cellAnswers.push_back(std::make_pair(QStringLiteral("150"), QStringLiteral("$64")));
    keys(form->DrawGrid1, Qt::Key_G);
    ui::GridGeometry at = form->DrawGrid1->gridGeometry();
    const int middleCol = at.colAt((at.headerWidth + at.view.width()) / 2);
    const int middleRow = at.rowAt((16 + at.view.height()) / 2);
    EXPECT_LE(std::abs(middleCol - 151), 1) << "map column 150 in the middle";
    EXPECT_LE(std::abs(middleRow - 101), 1) << "map row 100 ($64) in the middle";
    EXPECT_EQ(std::make_pair(form->DrawGrid1->Col(), form->DrawGrid1->Row()), current);
    EXPECT_FALSE(form->Modified);

    // Beyond the map: its edge.
    dialogs.cellAnswers.push_back(std::make_pair(QStringLiteral("99999"), QStringLiteral("-5")));
    form->goToCell();
    at = form->DrawGrid1->gridGeometry();
    EXPECT_EQ(at.leftCol, at.maxLeftCol());
    EXPECT_EQ(at.topRow, 1);
    // Not an integer: the conversion failure, and the view stays.
    dialogs.cellAnswers.push_back(std::make_pair(QStringLiteral("1z"), QStringLiteral("1")));
    keys(form->DrawGrid1, Qt::Key_G);
    EXPECT_EQ(dialogs.failures(), QStringList{QStringLiteral(u"'1z' は整数ではありません.")});
    EXPECT_EQ(form->DrawGrid1->gridGeometry().leftCol, at.leftCol);
    // Cancelled: nothing.
    keys(form->DrawGrid1, Qt::Key_G);
    EXPECT_EQ(form->DrawGrid1->gridGeometry().leftCol, at.leftCol);
}

TEST_F(ZoomWindowTest, TheLevelIsKeptWhenAnotherProjectIsOpened) {
    keys(form->DrawGrid1, Qt::Key_Minus);
    keys(form->DrawGrid1, Qt::Key_Minus);
    const QString project = testsupport::writeFile(folder, "p.quarvel", QByteArray("\r\np\r\n2\r\n2\r\n"));
    form->NewOpenProject({QStringLiteral("quarvel"), project});
    EXPECT_EQ(zoom(), ui::kStartZoom + 2);
    EXPECT_EQ(form->MapWidth, 2);
}

}  // namespace
}  // namespace windowstest
