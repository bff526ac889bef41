#pragma once
// The sheet view Image1: shows a picture at natural size from its top-left.
#include <QImage>
#include <QWidget>
#include <functional>

namespace ui {

class SheetView : public QWidget {
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent = nullptr);

    // The displayed copy; the caller keeps the clean sheet apart.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Draws into the displayed copy where it stands, without copying it first.
    void drawOnPicture(const std::function<void(QImage&)>& draw);

    // Any button pressed over the view, with pixel coordinates relative to its top-left.
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

}  // namespace ui
