// The settings window "設定": map label, size fields, export type and export.
#include "ui/settings_window/Unit2.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <string>

#include "core/export/export_formats.h"
#include "core/map/size_fields.h"
#include "ui/history/HistoryKeys.h"
#include "ui/history/MapHistory.h"
#include "ui/main_window/Unit1.h"
#include "ui/settings_window/RadioGroupBox.h"
#include "ui/toolkit/Boundary.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"
#include "ui/toolkit/WindowControls.h"
#include "ui/toolkit/WindowFonts.h"

TForm2* Form2 = nullptr;

namespace {

constexpr QSize kClientSize{326, 236};
// The pixel sizes run up to the array-size caption beside them; the array size up to
// a few pixels before the window's edge.
constexpr int kPixelTextRoom = 119 - 72;
constexpr int kArraySizeLeft = 193;
constexpr int kArraySizeRoom = kClientSize.width() - kArraySizeLeft - 4;

void buildLabels(TForm2& form) {
    form.Label1 = ui::makeLabel(&form, 8, 16, 42, QStringLiteral(u"配列名："));
    form.Label2 = ui::makeLabel(&form, 8, 56, 56, QStringLiteral(u"Xタイル数："));
    form.Label3 = ui::makeLabel(&form, 8, 80, 56, QStringLiteral(u"Yタイル数："));
    form.Label4 = ui::makeLabel(&form, 8, 104, 50, QStringLiteral(u"Xドット数："));
    form.Label5 = ui::makeLabel(&form, 8, 128, 50, QStringLiteral(u"Yドット数："));
    form.Label6 =
        ui::makeLabel(&form, 72, 104, kPixelTextRoom, ui::fromCp932(core::startUpSizeTexts().pixelWidth), 18);
    form.Label7 =
        ui::makeLabel(&form, 72, 128, kPixelTextRoom, ui::fromCp932(core::startUpSizeTexts().pixelHeight), 18);
    form.Label8 = ui::makeLabel(&form, 7, 40, 128, QStringLiteral(u"マップサイズ(タイル単位)"));
    form.Label9 = ui::makeLabel(&form, 8, 152, 111, QStringLiteral(u"最大4096(32768ドット)"));
    form.Label14 = ui::makeLabel(&form, kArraySizeLeft, 104, kArraySizeRoom, QStringLiteral("0"), 6);
    form.Label15 = ui::makeLabel(&form, 119, 104, 64, QStringLiteral(u"配列サイズ："));
    // Written by the array-size display but never shown: a fixed box, not sized to its text.
    form.Label10 = new QLabel(QStringLiteral("Label10"), &form);
    form.Label10->setGeometry(216, 184, 97, 25);
    form.Label10->hide();
}

void buildRadioGroup(TForm2& form) {
    form.RadioGroup1 = new ui::RadioGroupBox(QStringLiteral(u"変換するタイプ"), &form);
    form.RadioGroup1->setGeometry(208, 16, 113, 73);
    form.radioItems = new QButtonGroup(form.RadioGroup1);
    const QString items[] = {QStringLiteral(u"C言語配列"), QStringLiteral(u"GASアセンブリ"),
                             QStringLiteral("DragonBASIC")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(items[i], form.RadioGroup1);
        item->setGeometry(8, 15 + i * 18, 97, 17);
        form.radioItems->addButton(item, i);
    }
    form.radioItems->button(0)->setChecked(true);
}

// The export type is one Tab stop, between the label and the width field, and the
// focus lands on its selected item; the chain is redone whenever the selection moves.
void chainExportTypeStop(TForm2& form) {
    QAbstractButton* selected = form.radioItems->checkedButton();
    QWidget* previous = form.Edit1;
    QWidget::setTabOrder(previous, selected);
    previous = selected;
    for (QAbstractButton* item : form.radioItems->buttons()) {
        if (item == selected) continue;
        QWidget::setTabOrder(previous, item);
        previous = item;
    }
    QWidget::setTabOrder(previous, form.Edit2);
}

void buildControls(TForm2& form) {
    buildLabels(form);
    form.Edit1 = ui::makeEdit(&form, {64, 16, 105, 20}, ui::fromCp932(core::kStartMapName));
    buildRadioGroup(form);
    form.Edit2 = ui::makeEdit(&form, {72, 56, 41, 20}, ui::fromCp932(core::startUpSizeTexts().width));
    form.Edit3 = ui::makeEdit(&form, {72, 80, 41, 20}, ui::fromCp932(core::startUpSizeTexts().height));
    form.Button1 = ui::makeButton(&form, {48, 184, 105, 33}, QStringLiteral(u"マップデータ出力"));
    chainExportTypeStop(form);
    QWidget::setTabOrder(form.Edit2, form.Edit3);
    QWidget::setTabOrder(form.Edit3, form.Button1);
}

template <typename Signal, typename Sender>
void connectGuarded(TForm2& form, ui::Dialogs& dialogs, Sender* sender, Signal signal, void (TForm2::*handler)()) {
    QObject::connect(sender, signal, &form, [&form, &dialogs, handler] { ui::guarded(dialogs, [&] { (form.*handler)(); }); });
}

}  // namespace

TForm2::TForm2(ui::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs) {
    setWindowTitle(QStringLiteral(u"設定"));
    setFont(ui::windowFont(12));
    setFixedSize(kClientSize);
    // Closing only hides it; it never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls(*this);
    // Connected after the initial texts are in place, so those run nothing.
    connectGuarded(*this, dialogs_, Edit1, &QLineEdit::textChanged, &TForm2::Edit1Change);
    connectGuarded(*this, dialogs_, Edit2, &QLineEdit::textChanged, &TForm2::Edit2Change);
    connectGuarded(*this, dialogs_, Edit3, &QLineEdit::textChanged, &TForm2::Edit3Change);
    connectGuarded(*this, dialogs_, Button1, &QPushButton::clicked, &TForm2::Button1Click);
    connect(radioItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) chainExportTypeStop(*this);
    });
    settleSizeTexts();
    // The size fields' own text undo would run their change handling as a new edit:
    // there the keys take the map's history back and forth, texts included.
    for (QLineEdit* field : {Edit2, Edit3}) {
        new ui::HistoryKeys(
            field, [this] { ui::guarded(dialogs_, [] { Form1->undoMapEdit(); }); },
            [this] { ui::guarded(dialogs_, [] { Form1->redoMapEdit(); }); });
    }
}

int TForm2::radioGroup1ItemIndex() const { return radioItems->checkedId(); }

void TForm2::setRadioGroup1ItemIndex(int index) {
    if (QAbstractButton* item = radioItems->button(index)) item->setChecked(true);
}

void TForm2::FormCreate() { core::showDerivedTexts(*Form1, Form1->sizeFields()); }

void TForm2::Edit1Change() {
    Form1->MapName = ui::toCp932(Edit1->text());
    Form1->markModifiedOutsideHistory();
}

// Each change of a size field is one step of the map's history, the nested runs
// it causes (the emptied field's "1", the "4096" cap) included.
template <typename Apply>
void TForm2::changeSizeField(Apply apply) {
    const auto settle = qScopeGuard([this] { settleSizeTexts(); });
    const ui::MapHistory::Step step(Form1->history(), textsBeforeChange());
    apply();
}

void TForm2::Edit2Change() {
    changeSizeField([] { core::applyWidthText(*Form1, Form1->sizeFields()); });
}
void TForm2::Edit3Change() {
    changeSizeField([] { core::applyHeightText(*Form1, Form1->sizeFields()); });
}

void TForm2::settleSizeTexts() {
    settledWidthText = Edit2->text();
    settledHeightText = Edit3->text();
}

// The labels and the size have not changed yet; the field has.
ui::SizeFieldTexts TForm2::textsBeforeChange() const {
    ui::SizeFieldTexts texts = Form1->sizeFieldTexts();
    texts.width = settledWidthText;
    texts.height = settledHeightText;
    return texts;
}

void TForm2::Button1Click() {
    ui::FileDialogOptions options;
    options.title = QStringLiteral(u"出力ファイル");
    options.filters = QStringList{QStringLiteral(u"ヘッダーファイル(*.h)")};
    options.defaultSuffix = QStringLiteral("h");
    options.proposedName = ui::fromCp932(Form1->MapName);
    options.confirmOverwrite = true;
    const auto chosen = dialogs_.saveFile(this, options);
    if (!chosen) return;
    saveDialog1FileName = *chosen;
    OutPutData();
}

void TForm2::OutPutData() {
    const std::string path = ui::corePath(saveDialog1FileName);
    core::exportToFile(core::exportFormatFromIndex(radioGroup1ItemIndex()), *Form1, path);
}

// Accepting the close hides the window; it lives until the program ends.
void TForm2::closeEvent(QCloseEvent* event) { event->accept(); }
