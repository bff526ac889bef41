// The main window: its controls at their design places, its menu, its scrolling
// and the wiring of every event to its handler inside a failure boundary.
#include "ui/main_window/Unit1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>

#include "ui/history/HistoryKeys.h"
#include "ui/main_window/FocusedWheel.h"
#include "ui/main_window/ScrollExtents.h"
#include "ui/map_view/CellPainter.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/recovery/RecoveryKeeper.h"
#include "ui/sheet/SheetView.h"
#include "ui/toolkit/Boundary.h"
#include "ui/toolkit/FocusOutWatcher.h"
#include "ui/toolkit/UpDown.h"
#include "ui/toolkit/WindowControls.h"
#include "ui/toolkit/WindowFonts.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int kHorizontalArrowStep = 62;
constexpr int kVerticalArrowStep = 8;

void buildScrollArea(TForm1& form) {
    form.scroller = new QScrollArea(&form);
    form.scroller->setFrameShape(QFrame::NoFrame);
    form.scroller->setFocusPolicy(Qt::NoFocus);
    form.scroller->setWidgetResizable(false);
    form.scroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form.scroller->viewport()->setBackgroundRole(QPalette::Window);
    form.content = new QWidget;
    form.scroller->setWidget(form.content);
    form.setCentralWidget(form.scroller);
    // The content moves when the thumb is released, not while it is dragged.
    form.scroller->horizontalScrollBar()->setTracking(false);
    form.scroller->verticalScrollBar()->setTracking(false);
    form.scroller->horizontalScrollBar()->setSingleStep(kHorizontalArrowStep);
    form.scroller->verticalScrollBar()->setSingleStep(kVerticalArrowStep);
}

ui::UpDown* makeSpinner(QLineEdit* associate, QWidget* parent, const QRect& place) {
    auto* spinner = new ui::UpDown(associate, parent);
    spinner->setGeometry(place);
    spinner->setRange(1, 32);
    spinner->setPosition(1);
    spinner->setFocusPolicy(Qt::NoFocus);
    return spinner;
}

// Creation order matters: among labels and the sheet view a later one lies above.
void buildControls(TForm1& form) {
    QWidget* c = form.content;
    form.Label3 = ui::makeLabel(c, 120, 8, 55, QStringLiteral(u"選択タイル"));
    form.Image1 = new ui::SheetView(c);
    form.Image1->setGeometry(16, 88, 1, 1);
    form.Label7 = ui::makeLabel(c, 16, 72, 157, QStringLiteral(u"８×８単位で１タイル分にします"));
    form.Label8 = ui::makeLabel(c, 16, 248, 76, QStringLiteral(u"画像横サイズ："));
    form.Label9 = ui::makeLabel(c, 336, 16, 12, QStringLiteral(u"×"));
    form.Label10 = ui::makeLabel(c, 232, 8, 58, QStringLiteral(u"配置サイズ"));
    form.Label13 = ui::makeLabel(c, 168, 344, 60, QStringLiteral(u"境界線表示"));
    form.DrawGrid1 = new ui::DrawGrid(c);
    form.DrawGrid1->setGeometry(232, 80, 441, 353);
    form.DrawGrid1->setFont(ui::windowFont(11));
    form.Edit1 = ui::makeEdit(c, {184, 8, 33, 20}, QString::number(core::kStartSelectedTile));
    form.CheckBox1 = ui::makeCheckBox(c, {16, 344, 129, 17}, QStringLiteral(u"タイル番号を表示する"));
    form.Button1 = ui::makeButton(c, {16, 8, 89, 25}, QStringLiteral(u"画像読み込み"));
    form.Button2 = ui::makeButton(c, {8, 368, 129, 25}, QStringLiteral(u"選択タイルで塗りつぶし"));
    form.Edit4 = ui::makeEdit(c, {96, 248, 41, 20}, QString::number(core::kStartSheetColumns));
    form.Edit4->setEnabled(false);
    form.Edit5 = ui::makeEdit(c, {296, 8, 25, 20}, QStringLiteral("1"));
    form.Edit6 = ui::makeEdit(c, {352, 8, 25, 20}, QStringLiteral("1"));
    form.CheckBox4 = ui::makeCheckBox(c, {152, 344, 17, 17}, QString());
    form.UpDown1 = makeSpinner(form.Edit5, c, {321, 8, 16, 20});
    form.UpDown2 = makeSpinner(form.Edit6, c, {377, 8, 16, 20});
    form.Button5 = ui::makeButton(c, {8, 400, 121, 33}, QStringLiteral(u"設定ダイアログを表示"));
}

// Fields, buttons, check boxes, spinners and the map view lie above every label
// and the sheet view, keeping their own creation order among themselves.
void stackChildWindowsAboveLabels(TForm1& form) {
    const QList<QWidget*> childWindows{form.DrawGrid1, form.Edit1,     form.CheckBox1, form.Button1,
                                       form.Button2,   form.Edit4,     form.Edit5,     form.Edit6,
                                       form.CheckBox4, form.UpDown1,   form.UpDown2,   form.Button5};
    for (QWidget* w : childWindows) w->raise();
}

void buildMenu(TForm1& form) {
    form.File1 = form.menuBar()->addMenu(QStringLiteral(u"ファイル"));
    form.N4 = form.File1->addAction(QStringLiteral(u"画像読み込み"));
    form.N2 = form.File1->addAction(QStringLiteral(u"プロジェクトを読み込む"));
    form.N1 = form.File1->addAction(QStringLiteral(u"プロジェクトを保存"));
    form.N3 = form.File1->addAction(QStringLiteral(u"プロジェクトを上書き保存"));
    form.Exit1 = form.File1->addAction(QStringLiteral(u"終了"));
}

void setTabChain(TForm1& form) {
    const QList<QWidget*> chain{form.DrawGrid1, form.Edit1, form.CheckBox1, form.Button1, form.Button2,
                                form.Edit5,     form.Edit6, form.CheckBox4, form.Button5};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) QWidget::setTabOrder(chain[i], chain[i + 1]);
}

template <typename Signal, typename Sender>
void connectGuarded(TForm1& form, Sender* sender, Signal signal, void (TForm1::*handler)()) {
    QObject::connect(sender, signal, &form, [&form, handler] { ui::guarded(form.dialogs(), [&] { (form.*handler)(); }); });
}

void wireGrid(TForm1& form) {
    ui::DrawGrid* grid = form.DrawGrid1;
    grid->guard = [&form](const std::function<void()>& action) { return ui::guarded(form.dialogs(), action); };
    grid->OnDrawCell = [&form](QPainter& painter, int col, int row, const QRect& rect, bool fixed) {
        form.DrawGrid1DrawCell(painter, col, row, rect, fixed);
    };
    grid->OnDrawArea = [&form](QPainter& painter, const QRect& target, int col, int row, ui::ZoomLevel level) {
        form.drawMapArea(painter, target, col, row, level);
    };
    grid->OnSelectCell = [&form](int col, int row, bool& canSelect) { form.DrawGrid1SelectCell(col, row, canSelect); };
    grid->OnMouseUp = [&form](Qt::MouseButton button) { form.DrawGrid1MouseUp(button); };
    // A stamping drag is one step of the map's history, however many blocks it stamps.
    grid->OnStampingDragStart = [&form] { form.history().openStep(); };
    grid->OnStampingDragEnd = [&form] { form.history().closeStep(); };
    new ui::FocusedWheel(grid);
}

// The keys of the map's history work anywhere in the window, without a menu item.
// The window's own text fields keep them for their own text, as a text field does.
void wireHistoryKeys(TForm1& form) {
    auto* undo = new QShortcut(&form);
    undo->setKeys(ui::undoKeys());
    connectGuarded(form, undo, &QShortcut::activated, &TForm1::undoMapEdit);
    auto* redo = new QShortcut(&form);
    redo->setKeys(ui::redoKeys());
    connectGuarded(form, redo, &QShortcut::activated, &TForm1::redoMapEdit);
    for (QLineEdit* field : {form.Edit1, form.Edit5, form.Edit6})
        new ui::HistoryKeys(field, [field] { field->undo(); }, [field] { field->redo(); });
}

// Zoom and go-to keys for the whole window; "+" also where a keyboard puts it on "="
// or ";".
void wireZoomKeys(TForm1& form) {
    const auto shortcut = [&form](const QList<QKeySequence>& keys, void (TForm1::*handler)()) {
        auto* key = new QShortcut(&form);
        key->setKeys(keys);
        connectGuarded(form, key, &QShortcut::activated, handler);
    };
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
              QKeySequence(Qt::CTRL | Qt::Key_Semicolon), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Semicolon)},
             &TForm1::zoomIn);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &TForm1::zoomOut);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_0)}, &TForm1::zoomReset);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Slash)}, &TForm1::zoomFit);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_G)}, &TForm1::goToCell);
}

void wireEvents(TForm1& form) {
    wireGrid(form);
    wireHistoryKeys(form);
    wireZoomKeys(form);
    form.Image1->OnMouseDown = [&form](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        ui::guarded(form.dialogs(), [&] { form.Image1MouseDown(button, shift, x, y); });
    };
    new ui::FocusOutWatcher(form.Edit1, [&form] { ui::guarded(form.dialogs(), [&] { form.Edit1Exit(); }); });
    connectGuarded(form, form.CheckBox1, &QCheckBox::clicked, &TForm1::CheckBox1Click);
    connectGuarded(form, form.Button1, &QPushButton::clicked, &TForm1::Button1Click);
    connectGuarded(form, form.Button2, &QPushButton::clicked, &TForm1::Button2Click);
    connectGuarded(form, form.Edit5, &QLineEdit::textChanged, &TForm1::Edit5Change);
    connectGuarded(form, form.Edit6, &QLineEdit::textChanged, &TForm1::Edit6Change);
    connectGuarded(form, form.CheckBox4, &QCheckBox::clicked, &TForm1::CheckBox4Click);
    connectGuarded(form, form.Button5, &QPushButton::clicked, &TForm1::Button5Click);
    connectGuarded(form, form.N4, &QAction::triggered, &TForm1::N4Click);
    connectGuarded(form, form.N2, &QAction::triggered, &TForm1::N2Click);
    connectGuarded(form, form.N1, &QAction::triggered, &TForm1::N1Click);
    connectGuarded(form, form.N3, &QAction::triggered, &TForm1::N3Click);
    connectGuarded(form, form.Exit1, &QAction::triggered, &TForm1::Exit1Click);
}

}  // namespace

TForm1::TForm1(ui::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      cellPainter_(std::make_unique<ui::CellPainter>()),
      history_(std::make_unique<ui::MapHistory>(static_cast<ui::MapHistoryWindows&>(*this))),
      recovery_(makeRecoveryKeeper(*this)) {
    setWindowTitle(QStringLiteral(u"クオーベルエディター"));
    setFont(ui::windowFont(12));
    move(kScreenPosition);
    resize(kOuterSize);
    buildScrollArea(*this);
    buildControls(*this);
    stackChildWindowsAboveLabels(*this);
    buildMenu(*this);
    ui::setDragCancel([this] {
        if (DrawGrid1) DrawGrid1->cancelDrag();
    });
    setTabChain(*this);
    new ui::ScrollExtentsWatcher(content);
    updateScrollExtents();
    wireEvents(*this);
    DrawGrid1->setFocus();
}

TForm1::~TForm1() { ui::setDragCancel({}); }


void TForm1::FormCreate() {
    static_cast<core::EditorState&>(*this) = core::EditorState();
    history_->clear();
    DrawGrid1->setColCount(MapWidth + 1);
    DrawGrid1->setRowCount(MapHeight + 1);
}

void TForm1::updateScrollExtents() {
    if (auto* watcher = content->findChild<ui::ScrollExtentsWatcher*>()) watcher->update();
}

void TForm1::Button5Click() {
    if (!settingsWindow) return;
    // A minimised window stays iconic through show() alone.
    settingsWindow->setWindowState(settingsWindow->windowState() & ~Qt::WindowMinimized);
    settingsWindow->show();
    settingsWindow->raise();
    settingsWindow->activateWindow();
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool closes = false;
    ui::guarded(dialogs_, [&] { closes = FormClose(); });
    if (closes)
        event->accept();
    else
        event->ignore();
}
