#pragma once
// The map view's grid control: one fixed header row and column, 16 x 16 cells,
// cells drawn by a callback, a cell-selection callback before the current cell moves.
#include <QAbstractScrollArea>
#include <QRect>
#include <functional>

class QPainter;
class QRegion;

namespace ui {

class DrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kCellSize = 16;
    static constexpr int kStepMilliseconds = 60;

    explicit DrawGrid(QWidget* parent = nullptr);
    ~DrawGrid() override;

    int ColCount() const;
    int RowCount() const;
    // Shrinking below the current cell moves it to the last column or row, without
    // firing OnSelectCell.
    void setColCount(int count);
    void setRowCount(int count);
    // The current cell, in grid coordinates (always a data cell).
    int Col() const;
    int Row() const;
    // Moves the current cell without firing OnSelectCell (limited to the data area).
    void setCol(int col);
    void setRow(int row);
    // The first data column and row shown next to the headers.
    int LeftCol() const;
    int TopRow() const;
    void setTopLeft(int leftCol, int topRow);
    // Data columns and rows shown completely.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Grid rectangle of a cell in viewport coordinates (empty when it is not shown).
    QRect CellRect(int col, int row) const;
    // Whether this view is the control of its window that holds the keyboard focus.
    bool isActiveControl() const;
    bool isDragging() const;

    // Marks the whole view for drawing and draws it before returning.
    void repaintAll();
    // Marks a block of cells for drawing at the next paint.
    void invalidateCells(int col, int row, int columns, int rows);
    // Ends a stamping or row drag and releases the mouse (the failure display calls it).
    void cancelDrag();
    // A wheel rotation in eighths of a degree, positive away from the user: whole
    // notches step the current cell while the view is the active control.
    void wheelTurned(int angleDelta);

    // Draws the cells intersecting `region` as the view would, into any painter sized
    // like the viewport. `activeControl` decides the focus rectangle and highlight.
    void paintCells(QPainter& painter, const QRegion& region, bool activeControl);

    // Draws the content of one cell after its background is filled. The painter's
    // brush holds the cell's background colour and its pen the text colour.
    std::function<void(QPainter& painter, int ACol, int ARow, const QRect& rect, bool fixed)> OnDrawCell;
    // Fired just before a data cell becomes the current cell.
    std::function<void(int ACol, int ARow, bool& CanSelect)> OnSelectCell;
    std::function<void(Qt::MouseButton button)> OnMouseUp;
    // Runs a callback inside the owner's failure boundary; false when it failed (the
    // failure has been shown). Without it callbacks run unguarded.
    std::function<bool(const std::function<void()>&)> guard;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Impl;
    Impl* d = nullptr;

    bool runGuarded(const std::function<void()>& action);
    // Fires OnSelectCell and, when allowed, makes the cell current and shows it.
    bool selectCell(int col, int row);
    void moveCurrent(int col, int row);
    void scrollToShow(int col, int row);
    void updateScrollBars();
    void stepTimerTick();
    void pressDataCell(int col, int row);
    void stampingMove(QPoint position);
    void rowDragMove(QPoint position);
    void finishRowDrag();
    void invalidateCell(int col, int row);
    void invalidateMarker();
    void handleKey(int key, bool control);
    int lastFullVisibleCol() const;
    int lastFullVisibleRow() const;
    int maxLeftCol() const;
    int maxTopRow() const;
};

}  // namespace ui
