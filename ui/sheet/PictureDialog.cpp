#include "ui/sheet/PictureDialog.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <string_view>

#include "core/bmp/bmp.h"
#include "core/bmp/sheet_file.h"
#include "core/text/failures.h"
#include "ui/sheet/SheetImage.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"

namespace ui {

namespace {

const QStringList kExtensions = {QStringLiteral("bmp"), QStringLiteral("ico"), QStringLiteral("emf"),
                                 QStringLiteral("wmf")};
const QString kNoPictureCaption = QStringLiteral(u"画像:");
const QString kNoPictureText = QStringLiteral(u"(なし)");
const QString kInvalidPictureText = QStringLiteral(u"画像が不正です");
const QString kPreviewTitle = QStringLiteral(u"プレビュー");
constexpr int kPreviewMargin = 10;

QString pattern(const QString& extension) { return QStringLiteral("*.") + extension; }

QString sizeCaption(const QImage& picture) {
    return QStringLiteral(" (%1x%2)").arg(picture.width()).arg(picture.height());
}

// What the editor itself would load from the file; an empty picture for an empty sheet.
QImage decodeForPreview(const QString& name) {
    return toQImage(core::readSheetFile(corePath(name), toCp932(name), admitPicture));
}

bool hasPictureExtension(const QString& name) {
    return kExtensions.contains(QFileInfo(name).suffix().toLower());
}

}  // namespace

QStringList pictureFilters() {
    QStringList all;
    for (const QString& extension : kExtensions) all << pattern(extension);
    return {
        QStringLiteral(u"すべてのファイル (") + all.join(u';') + u')',
        QStringLiteral(u"ビットマップ (*.bmp)"),
        QStringLiteral(u"アイコン (*.ico)"),
        QStringLiteral(u"エンハンス メタファイル (*.emf)"),
        QStringLiteral(u"メタファイル (*.wmf)"),
    };
}

FileDialogOptions pictureDialogOptions(const QString& lastChosenName) {
    FileDialogOptions options;
    options.title = QStringLiteral(u"画像ファイルを選択");
    options.filters = pictureFilters();
    options.proposedName = lastChosenName;
    options.folderMustExist = false;
    return options;
}

QStringList filterPatterns(const QString& filterEntry) {
    const qsizetype open = filterEntry.lastIndexOf(u'(');
    const qsizetype close = filterEntry.lastIndexOf(u')');
    if (open < 0 || close < open) return {filterEntry.trimmed()};
    const QString inside = filterEntry.mid(open + 1, close - open - 1);
    QStringList patterns;
    for (const QString& part : inside.split(u';', Qt::SkipEmptyParts))
        patterns << part.split(u' ', Qt::SkipEmptyParts);
    return patterns;
}

PictureArea::PictureArea(QWidget* parent) : QWidget(parent) {}

void PictureArea::showPicture(const QImage& picture) {
    picture_ = picture;
    text_.clear();
    update();
}

void PictureArea::showText(const QString& text) {
    picture_ = QImage();
    text_ = text;
    update();
}

void PictureArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter, text_);
        return;
    }
    // Fill the area, proportions kept, small pictures enlarged too, centred.
    QRect target(QPoint(0, 0), picture_.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.drawImage(target, picture_);
}

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    caption_ = new QLabel(this);
    area_ = new PictureArea(this);
    area_->setMinimumSize(150, 150);
    area_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button_ = new QToolButton(this);
    button_->setText(kPreviewTitle);
    button_->setToolTip(kPreviewTitle);
    column->addWidget(caption_);
    column->addWidget(area_, 1);
    column->addWidget(button_, 0, Qt::AlignLeft);
    connect(button_, &QToolButton::clicked, this, [this] { openPreviewWindow(); });
    showNothing(kNoPictureText);
}

QString PicturePreview::caption() const { return caption_->text(); }

void PicturePreview::showNothing(const QString& areaText) {
    caption_->setText(kNoPictureCaption);
    area_->showText(areaText);
    button_->setEnabled(false);
}

void PicturePreview::showFile(const QString& name) {
    if (name.isEmpty() || !QFileInfo(name).isFile() || !hasPictureExtension(name)) {
        showNothing(kNoPictureText);
        return;
    }
    QImage picture;
    // A preview that cannot decode says so in its own pane; it is no failure of a command.
    try {
        picture = decodeForPreview(name);
    } catch (const core::FileOpenFailure&) {
        showNothing(kNoPictureText);
        return;
    } catch (const std::exception&) {
        // Whatever else stops the decoder (a bad file, too little memory) makes it no picture.
        showNothing(kInvalidPictureText);
        return;
    }
    if (picture.isNull()) {
        // An empty sheet loads, but there is nothing to paint.
        caption_->setText(QStringLiteral(" (0x0)"));
        area_->showText(kNoPictureText);
        button_->setEnabled(false);
        return;
    }
    caption_->setText(sizeCaption(picture));
    area_->showPicture(picture);
    button_->setEnabled(true);
}

void PicturePreview::openPreviewWindow() {
    const QImage& picture = area_->picture();
    if (picture.isNull()) return;
    QDialog window(this, Qt::Tool);
    window.setWindowTitle(kPreviewTitle);
    window.setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(kPreviewMargin / 2, kPreviewMargin / 2, kPreviewMargin / 2, kPreviewMargin / 2);
    auto* shown = new PictureArea(&window);
    shown->showPicture(picture);
    layout->addWidget(shown);
    QScreen* monitor = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = monitor ? monitor->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize wanted = picture.size() + QSize(kPreviewMargin, kPreviewMargin);
    window.resize(std::min(wanted.width(), available.width() * 3 / 4),
                  std::min(wanted.height(), available.height() * 3 / 4));
    QRect placed(QPoint(0, 0), window.size());
    placed.moveCenter(available.center());
    window.move(placed.topLeft());
    // QDialog closes on Esc.
    window.exec();
}

PictureDialog::PictureDialog(QWidget* parent, const FileDialogOptions& options) : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    // Any name is returned, even of a missing file; the load reports it.
    setFileMode(QFileDialog::AnyFile);
    setSizeGripEnabled(true);
    setWindowTitle(options.title);
    setNameFilters(options.filters);
    if (!options.filters.isEmpty()) {
        selectNameFilter(options.filters.first());
        applyFilter(options.filters.first());
    }

    preview_ = new PicturePreview(this);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(preview_, 1, 3);
    connect(this, &QFileDialog::currentChanged, preview_, &PicturePreview::showFile);
    connect(this, &QFileDialog::filterSelected, this, &PictureDialog::applyFilter);
    // The proposed file is previewed from the start, before the list has loaded it.
    if (!options.proposedName.isEmpty()) {
        selectFile(options.proposedName);
        preview_->showFile(selectedFiles().value(0));
    }
}

// The list would take "*.bmp;*.ico" as one pattern; each entry's patterns are set apart.
void PictureDialog::applyFilter(const QString& filterEntry) {
    if (auto* model = findChild<QFileSystemModel*>()) model->setNameFilters(filterPatterns(filterEntry));
}

QStringList PictureDialog::activePatterns() const {
    const auto* model = findChild<QFileSystemModel*>();
    return model ? model->nameFilters() : QStringList();
}

std::optional<QString> runPictureDialog(QWidget* parent, const FileDialogOptions& options) {
    PictureDialog dialog(parent, options);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first();
}

}  // namespace ui
