#include "core/map/map_edit.h"

namespace core {

bool marksModified(const MapChange& change) {
    return change.edit == MapEdit::Stamp || change.edit == MapEdit::Resize;
}

MapSize sizeOf(const TileMap& map) {
    return {static_cast<std::int32_t>(map.columns()), static_cast<std::int32_t>(map.size())};
}

CellArea wholeMap(const TileMap& map) {
    const MapSize size = sizeOf(map);
    return {0, 0, size.width, size.height};
}

}  // namespace core
