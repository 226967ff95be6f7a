#pragma once

// The map's frame buffers kept between redraws: the frame shown and the one before it. A new
// frame takes the pixels of its background into the buffer of the frame before last instead of
// a buffer of its own, so that a redraw of a maximised map (megabytes of pixels) allocates
// nothing.

#include <QImage>

namespace prrsim::ui {

class MapFrames {
  public:
    // A frame holding `background`'s pixels (and its resolution), to draw on.
    QImage start(const QImage& background);
    // The frame now shown; the one shown before becomes the next frame's buffer.
    void shown(const QImage& frame);
    const QImage& current() const { return shown_; }

  private:
    QImage shown_;
    QImage spare_;
};

}  // namespace prrsim::ui
