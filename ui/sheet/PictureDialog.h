#pragma once
// OpenPictureDialog1: the file-open dialog for tile sheets, with a picture preview
// pane beside the file list that shows what the editor's own decoder makes of a file.
#include <QFileDialog>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/toolkit/Dialogs.h"

class QLabel;
class QToolButton;

namespace ui {

// The five file types, all four pictures first.
QStringList pictureFilters();
// Title, file types and the name chosen last time.
FileDialogOptions pictureDialogOptions(const QString& lastChosenName);
// The patterns inside an entry's parentheses ("*.bmp;*.ico" gives two).
QStringList filterPatterns(const QString& filterEntry);

// A picture scaled to fill the area with its proportions kept, centred; a text when
// there is no picture.
class PictureArea : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);
    void showPicture(const QImage& picture);
    void showText(const QString& text);
    const QImage& picture() const { return picture_; }
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QString text_;
};

// Caption line, preview area and preview button.
class PicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreview(QWidget* parent = nullptr);
    // Shows the file the dialog's selection names (an empty name: nothing selected).
    void showFile(const QString& name);

    QString caption() const;
    const PictureArea& area() const { return *area_; }
    QToolButton* previewButton() const { return button_; }
    // The modal "プレビュー" window sized for the picture; Esc closes it.
    void openPreviewWindow();

private:
    void showNothing(const QString& areaText);

    QLabel* caption_ = nullptr;
    PictureArea* area_ = nullptr;
    QToolButton* button_ = nullptr;
};

class PictureDialog : public QFileDialog {
    Q_OBJECT
public:
    PictureDialog(QWidget* parent, const FileDialogOptions& options);
    PicturePreview& preview() { return *preview_; }
    // The patterns the file list filters by right now.
    QStringList activePatterns() const;

private:
    void applyFilter(const QString& filterEntry);

    PicturePreview* preview_ = nullptr;
};

// Runs the dialog; the chosen path, or nothing when cancelled.
std::optional<QString> runPictureDialog(QWidget* parent, const FileDialogOptions& options);

}  // namespace ui
