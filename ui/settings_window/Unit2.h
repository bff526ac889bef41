#pragma once
// The settings window "設定": map label, size fields, export type and export.
#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class Dialogs;
struct SizeFieldTexts;
}

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(ui::Dialogs& dialogs, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* radioItems = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;

    // Last file chosen in SaveDialog1.
    QString saveDialog1FileName;

    // The width and height texts as their change handling last left them: what a
    // step of the map's history found before the field changed again.
    QString settledWidthText;
    QString settledHeightText;
    void settleSizeTexts();

    int radioGroup1ItemIndex() const;
    void setRadioGroup1ItemIndex(int index);

    void FormCreate();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Button1Click();
    void OutPutData();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ui::SizeFieldTexts textsBeforeChange() const;
    template <typename Apply>
    void changeSizeField(Apply apply);

    ui::Dialogs& dialogs_;
};

extern TForm2* Form2;
