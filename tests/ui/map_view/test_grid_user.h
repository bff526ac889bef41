#pragma once
// A map view driven as a user drives it, with what it fires recorded: the cells it
// selects and the stamping drags that frame them. The recording wraps the handlers
// the view already has, so the main window's own stamping goes on.
#include <QTest>
#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "ui/map_view/DrawGrid.h"

namespace gridtest {

using Cell = std::pair<int, int>;
// A stamping drag as the selections it framed: from its first to one past its last.
using Drag = std::pair<std::size_t, std::size_t>;

class GridUser {
protected:
    static constexpr std::size_t kOpen = static_cast<std::size_t>(-1);

    void watch(ui::DrawGrid& view) {
        grid = &view;
        grid->OnSelectCell = [this, select = grid->OnSelectCell](int col, int row, bool& canSelect) {
            fired.emplace_back(col, row);
            if (select) select(col, row, canSelect);
        };
        grid->OnStampingDragStart = [this, start = grid->OnStampingDragStart] {
            EXPECT_FALSE(dragging()) << "a drag started inside another";
            drags.emplace_back(fired.size(), kOpen);
            if (start) start();
        };
        grid->OnStampingDragEnd = [this, end = grid->OnStampingDragEnd] {
            EXPECT_TRUE(dragging()) << "a drag ended that had not started";
            if (dragging()) drags.back().second = fired.size();
            if (end) end();
        };
    }
    bool dragging() const { return !drags.empty() && drags.back().second == kOpen; }

    ui::GridGeometry at() const { return grid->gridGeometry(); }
    QWidget* view() const { return grid->viewport(); }
    QPoint centre(int col, int row) const { return at().cellRect(col, row).center(); }
    void press(QPoint point) { QTest::mousePress(view(), Qt::LeftButton, {}, point); }
    void moveTo(QPoint point) { QTest::mouseMove(view(), point); }
    void release(QPoint point) { QTest::mouseRelease(view(), Qt::LeftButton, {}, point); }
    Cell current() const { return {grid->Col(), grid->Row()}; }

    ui::DrawGrid* grid = nullptr;
    std::vector<Cell> fired;
    std::vector<Drag> drags;
};

}  // namespace gridtest
