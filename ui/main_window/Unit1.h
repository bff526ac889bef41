#pragma once
// The main window: sheet view, map view, editing controls and the "ファイル" menu.
// The editor state lives in the window itself, as its fields.
#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "core/map/editor_state.h"
#include "ui/history/MapHistory.h"
#include "ui/map_view/ZoomLevel.h"

class QAction;
class QPainter;
class QRect;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;

namespace core {
class SizeFieldsHost;
struct MapChange;
}

namespace ui {
class CellPainter;
class Dialogs;
class DrawGrid;
class RecoveryKeeper;
class SheetView;
class UpDown;
}  // namespace ui

class TForm1 : public QMainWindow, public core::EditorState, private ui::MapHistoryWindows {
    Q_OBJECT
public:
    // The window's outer rectangle, frame included, at every start.
    static constexpr QPoint kScreenPosition{279, 141};
    static constexpr QSize kOuterSize{714, 516};

    explicit TForm1(ui::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    ui::Dialogs& dialogs() { return dialogs_; }
    // The map's undo history.
    ui::MapHistory& history() { return *history_; }
    // The recovery copy of the document (Unit1Recovery.cpp).
    ui::RecoveryKeeper& recovery() { return *recovery_; }
    // The absolute path the recovery copy is named by; "" for a document never saved.
    std::string recoveryKey() const;
    // SIGTERM, SIGHUP, SIGINT: the copy is written at once, then the program ends as
    // "終了" would, without its prompt.
    void endSessionKeepingWork();
    // At an open: when a copy newer than the project file exists for `projectPath`
    // ("" at a start without a project), asks whether to restore it. The path of the
    // copy to open instead when the answer is yes; otherwise the copy is removed.
    std::optional<std::string> offerRecoveryCopy(const std::string& projectPath);
    // The settings window's width and height fields as the size operations see them.
    core::SizeFieldsHost& sizeFields();

    // Controls, in creation order.
    QLabel* Label3 = nullptr;
    ui::SheetView* Image1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label13 = nullptr;
    ui::DrawGrid* DrawGrid1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    ui::UpDown* UpDown1 = nullptr;
    ui::UpDown* UpDown2 = nullptr;
    QPushButton* Button5 = nullptr;

    QMenu* File1 = nullptr;
    QAction* N4 = nullptr;
    QAction* N2 = nullptr;
    QAction* N1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Exit1 = nullptr;

    // The scrolled area holding every control (automatic scroll bars).
    QScrollArea* scroller = nullptr;
    QWidget* content = nullptr;
    // The settings window, which "設定ダイアログを表示" brings back; set by the start-up.
    QWidget* settingsWindow = nullptr;

    // Last names chosen in the dialogs, proposed the next time.
    QString pictureDialogName;
    QString projectOpenDialogName = QStringLiteral("default");
    QString projectSaveDialogName = QStringLiteral("default");

    // Window creation (Unit1.cpp).
    void FormCreate();
    void Button5Click();
    // Recomputes the scroll extents from the controls' right and bottom edges.
    void updateScrollExtents();

    // Tile sheet (Unit1Sheet.cpp).
    void Button1Click();
    void N4Click();
    void LoadImage();
    void DrawFrameTile();
    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void Edit1Exit();
    void Edit5Change();
    void Edit6Change();

    // Map view (Unit1Grid.cpp).
    void DrawGrid1DrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool fixed);
    // The data cells of a zoomed-out view, from grid cell (col, row) on.
    void drawMapArea(QPainter& canvas, const QRect& target, int col, int row, ui::ZoomLevel level);
    void DrawGrid1MouseUp(Qt::MouseButton button);
    void CheckBox1Click();
    void CheckBox4Click();
    // Zoom and go-to (Unit1Grid.cpp): Ctrl++ (Ctrl+=, Ctrl+;), Ctrl+-, Ctrl+0, Ctrl+/
    // and Ctrl+G, anywhere in the window. None of them is an edit.
    void zoomIn();
    void zoomOut();
    void zoomReset();
    void zoomFit();
    void goToCell();

    // Edits of the map (Unit1Edit.cpp): stamping, the fill, and the one path every
    // change of the map's cells or size takes: prepareMapChange just before the edit
    // (the history keeps what it will replace), applyMapChange after it (the history
    // records it, the document is marked and the view follows).
    void DrawGrid1SelectCell(int ACol, int ARow, bool& CanSelect);
    void Button2Click();
    void prepareMapChange(const core::MapChange& planned);
    void applyMapChange(const core::MapChange& change);
    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z.
    void undoMapEdit();
    void redoMapEdit();
    // Saving or opening leaves no unsaved changes: undo can lead back to this state.
    void markSaved();
    // A change that is not a step of the history (the label, the sheet): undo
    // cannot lead back to the saved state.
    void markModifiedOutsideHistory();
    // The size texts as they stand now, with the size they stand for.
    ui::SizeFieldTexts sizeFieldTexts() const override;

    // Project commands (Unit1Project.cpp).
    void N2Click();
    void N1Click();
    void N3Click();
    void SaveUpdateProject();
    void NewOpenProject(const QStringList& arguments);
    void Exit1Click();
    // The close handling; false when the close is abandoned.
    bool FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    core::EditorState& document() override { return *this; }
    void restoreSizeFieldTexts(const ui::SizeFieldTexts& texts) override;
    void showRevisitedMap(bool saved) override;

    ui::Dialogs& dialogs_;
    // What drawing the map view's cells keeps from one cell to the next.
    std::unique_ptr<ui::CellPainter> cellPainter_;
    // The map's undo history.
    std::unique_ptr<ui::MapHistory> history_;
    std::unique_ptr<ui::RecoveryKeeper> recovery_;

    static std::unique_ptr<ui::RecoveryKeeper> makeRecoveryKeeper(TForm1& form);
};

// The one global reference to each window.
extern TForm1* Form1;
