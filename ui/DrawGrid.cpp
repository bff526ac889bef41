// Placeholder until the grid control lands.
#include "ui/DrawGrid.h"
namespace ui {
struct DrawGrid::Impl { int cols = 2, rows = 2, col = 1, row = 1; };
DrawGrid::DrawGrid(QWidget* parent) : QAbstractScrollArea(parent), d(new Impl) {}
DrawGrid::~DrawGrid() { delete d; }
int DrawGrid::ColCount() const { return d->cols; }
int DrawGrid::RowCount() const { return d->rows; }
void DrawGrid::setColCount(int count) { d->cols = count; }
void DrawGrid::setRowCount(int count) { d->rows = count; }
int DrawGrid::Col() const { return d->col; }
int DrawGrid::Row() const { return d->row; }
void DrawGrid::repaintAll() { viewport()->repaint(); }
void DrawGrid::cancelDrag() {}
}  // namespace ui
