#pragma once
// The map view's grid control: one fixed header row and column, 16 x 16 cells,
// cells drawn by a callback, a cell-selection callback before the current cell moves.
#include <QAbstractScrollArea>
#include <QRect>
#include <functional>

class QPainter;

namespace ui {

class DrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit DrawGrid(QWidget* parent = nullptr);
    ~DrawGrid() override;

    int ColCount() const;
    int RowCount() const;
    // Shrinking below the current cell moves it to the last column or row.
    void setColCount(int count);
    void setRowCount(int count);
    // The current cell, in grid coordinates (always a data cell).
    int Col() const;
    int Row() const;

    // Marks the whole view for drawing and draws it before returning.
    void repaintAll();
    // Ends a stamping or row drag and releases the mouse (the failure display calls it).
    void cancelDrag();

    // Draws the content of one cell after its background is filled.
    std::function<void(QPainter& painter, int ACol, int ARow, const QRect& rect, bool fixed)> OnDrawCell;
    // Fired just before a data cell becomes the current cell.
    std::function<void(int ACol, int ARow, bool& CanSelect)> OnSelectCell;
    std::function<void(Qt::MouseButton button)> OnMouseUp;
    // Runs a callback inside the owner's failure boundary; false when it failed (the
    // failure has been shown). Without it callbacks run unguarded.
    std::function<bool(const std::function<void()>&)> guard;

private:
    struct Impl;
    Impl* d = nullptr;
};

}  // namespace ui
