#include "ui/map_frames.h"

#include <cstring>
#include <utility>

namespace prrsim::ui {

QImage MapFrames::start(const QImage& background) {
    QImage frame = std::move(spare_);
    spare_ = QImage();
    if (frame.size() != background.size() || frame.format() != background.format() ||
        frame.bytesPerLine() != background.bytesPerLine()) {
        return background;  // a copy of its own when first drawn on
    }
    // bits() copies only a buffer still shared (someone kept the old frame): then the copy is
    // overwritten at once.
    std::memcpy(frame.bits(), background.constBits(), static_cast<size_t>(background.sizeInBytes()));
    frame.setDevicePixelRatio(background.devicePixelRatio());
    frame.setDotsPerMeterX(background.dotsPerMeterX());
    frame.setDotsPerMeterY(background.dotsPerMeterY());
    return frame;
}

void MapFrames::shown(const QImage& frame) {
    spare_ = std::move(shown_);
    shown_ = frame;
}

}  // namespace prrsim::ui
