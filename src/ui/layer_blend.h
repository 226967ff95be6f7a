#pragma once

// Laying a transparent overlay picture over an opaque map frame, pixel by pixel. Qt blends the
// whole part in use through its general composition path (split over worker threads for large
// parts); overlay pictures are mostly clear, so visiting their pixels and blending only the
// drawn ones gives the same pixels for a fraction of the work.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>
#include <cstdint>

#include "world/units.h"

namespace prrsim::ui {

enum class LayerBlend {
    Over,    // QPainter::CompositionMode_SourceOver
    Darken,  // QPainter::CompositionMode_Darken
};

QPainter::CompositionMode compositionMode(LayerBlend blend);

// The 16 x 16 pixel tiles of a map-sized layer drawn on since it was cleared, and the rectangle
// around them: laying the layer over a frame visits only those tiles.
class DrawnTiles {
  public:
    static constexpr int kSize = 16;
    static constexpr int kColumns = (kMapWidth + kSize - 1) / kSize;
    static constexpr int kRows = (kMapHeight + kSize - 1) / kSize;

    void clear();
    // Marks every tile `area` touches on the map.
    void mark(const QRect& area);
    bool marked(int column, int row) const { return marked_[row * kColumns + column] != 0; }
    const QRect& bounds() const { return bounds_; }
    bool empty() const { return bounds_.isEmpty(); }

  private:
    std::array<uint8_t, kColumns * kRows> marked_{};
    QRect bounds_;
};

// Lays the drawn tiles of `layer` (Format_ARGB32_Premultiplied, the map's size) over `frame`
// (Format_RGB32, the map's size) with the pixels QPainter::drawImage of the layer gives in the
// blend's mode, as long as every pixel drawn on the layer lies in a marked tile. Returns false,
// touching nothing, when the formats or sizes are not those.
bool blendLayer(QImage& frame, const QImage& layer, const DrawnTiles& tiles, LayerBlend blend);

// Lays the layer over the painter's device: by blendLayer when the painter draws straight onto
// an RGB32 image, otherwise by QPainter::drawImage over the tiles' bounds.
void layOver(QPainter& painter, const QImage& layer, const DrawnTiles& tiles, LayerBlend blend);

}  // namespace prrsim::ui
