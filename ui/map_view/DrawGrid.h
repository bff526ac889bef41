#pragma once
// The map view's grid control: one fixed header row and column, 16 x 16 cells,
// cells drawn by a callback, a cell-selection callback before the current cell moves.
// Its geometry, its painting and its input each have a file of their own.
#include <QAbstractScrollArea>
#include <QRect>
#include <functional>
#include <memory>

#include "ui/map_view/GridControl.h"
#include "ui/map_view/GridGeometry.h"
#include "ui/map_view/GridPainting.h"

class QPainter;
class QRegion;

namespace ui {

class GridInput;

class DrawGrid : public QAbstractScrollArea, private GridControl {
    Q_OBJECT
public:
    explicit DrawGrid(QWidget* parent = nullptr);
    ~DrawGrid() override;

    int ColCount() const;
    int RowCount() const override;
    // Shrinking below the current cell moves it to the last column or row, without
    // firing OnSelectCell.
    void setColCount(int count);
    void setRowCount(int count);
    // The current cell, in grid coordinates (always a data cell).
    int Col() const override;
    int Row() const override;
    // Moves the current cell without firing OnSelectCell (limited to the data area).
    void setCol(int col);
    void setRow(int row);
    // Where the cells stand now: counts, scroll position, viewport size.
    GridGeometry gridGeometry() const override;
    // Whether this view is the control of its window that holds the keyboard focus.
    bool isActiveControl() const override;

    // Marks the whole view for drawing and draws it before returning.
    void repaintAll();
    // Marks a block of cells for drawing at the next paint.
    void invalidateCells(int col, int row, int columns, int rows);
    // Ends a stamping or row drag and releases the mouse (the failure display calls it).
    void cancelDrag();
    // A wheel rotation in eighths of a degree, positive away from the user: whole
    // notches step the current cell while the view is the active control.
    void wheelTurned(int angleDelta);

    // Zoom: an index into kZoomLevels (kStartZoom is 16 pixels a cell). A change keeps
    // the cell under `anchor` (viewport coordinates) under it, as far as the map allows.
    int zoomIndex() const { return zoom_; }
    void setZoom(int index, QPoint anchor);
    // One level in (steps > 0) or out, about the current cell when it is shown, else
    // the view's centre.
    void zoomStep(int steps);
    // A wheel rotation with Ctrl held: each notch away from the user zooms in a level,
    // toward the user out, about the point `global` (screen coordinates) when it lies
    // over the cells, else as zoomStep does.
    void zoomTurned(int angleDelta, QPoint global);
    // The largest level at which the whole map fits the view, scrolled to its start.
    void zoomToFit();
    // Scrolls so that the data cell stands in the middle of the view as far as the map
    // allows; the current cell stays where it is.
    void centreOn(int col, int row);

    // Draws the cells intersecting `region` as a paint of the view would, into any
    // painter sized like the viewport; `activeControl` decides the focus rectangle
    // and the highlight. The benchmark measures the paint through it.
    void paintCells(QPainter& painter, const QRegion& region, bool activeControl);

    DrawCell OnDrawCell;
    // Draws the data cells of a level below 16 pixels a cell in one go (see DrawArea).
    DrawArea OnDrawArea;
    // Fired just before a data cell becomes the current cell.
    std::function<void(int ACol, int ARow, bool& CanSelect)> OnSelectCell;
    std::function<void(Qt::MouseButton button)> OnMouseUp;
    // A stamping drag runs from the left press on a data cell, before its first
    // OnSelectCell, to the left release after its last one, or until it is cancelled
    // (a failure shown). Every start is followed by exactly one end.
    std::function<void()> OnStampingDragStart;
    std::function<void()> OnStampingDragEnd;
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
    // The input moves the current cell and the scroll position through these.
    void takeMouseFocus() override;
    void invalidateRect(const QRect& rect) override;
    void releaseCellMouse() override;
    bool runGuarded(const std::function<void()>& action) override;
    bool selectCell(int col, int row) override;
    void placeCurrentRow(int row) override;
    void setTopLeft(int leftCol, int topRow) override;
    void stampingDragStarted() override;
    void stampingDragEnded() override;
    void mouseReleased(Qt::MouseButton button) override;

    void moveCurrent(int col, int row);
    void scrollToShow(int col, int row);
    void updateScrollBars();
    // The header column holds the largest row number whole at every level but 16.
    int headerWidthFor(int zoomIndex) const;
    QPoint zoomAnchor() const;
    void invalidateCell(int col, int row);

    GridGeometry cells_;  // counts and scroll position; the viewport's size is read when asked
    int col_ = 1;
    int row_ = 1;
    int zoom_ = kStartZoom;
    int zoomWheelRemainder_ = 0;
    std::unique_ptr<GridInput> input_;
};

}  // namespace ui
