#include "ui/layer_blend.h"

#include <QPaintEngine>
#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace prrsim::ui {

namespace {

// The integer arithmetic of Qt's raster blending for 8-bit premultiplied channels.
inline uint32_t div255(uint32_t x) {
    return (x + (x >> 8) + 0x80u) >> 8;
}

inline uint32_t byteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ffu) * a;
    t = (t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8;
    t &= 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = x + ((x >> 8) & 0xff00ffu) + 0x800080u;
    x &= 0xff00ff00u;
    return x | t;
}

inline uint32_t over(uint32_t d, uint32_t s) {
    const uint32_t sa = s >> 24;
    return sa == 255 ? s : s + byteMul(d, 255 - sa);
}

// Darken over an opaque destination: min(s * da, d * sa) + s * (1 - da) + d * (1 - sa), da = 1.
inline uint32_t darken(uint32_t d, uint32_t s) {
    const uint32_t sa = s >> 24;
    uint32_t out = 0xff000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t dc = (d >> shift) & 0xffu;
        const uint32_t sc = (s >> shift) & 0xffu;
        out |= div255(std::min(sc * 255, dc * sa) + dc * (255 - sa)) << shift;
    }
    return out;
}

constexpr int kRun = 16;  // pixels: one cache line

inline bool clearRun(const uint32_t* s) {
    uint64_t any = 0;
    for (int k = 0; k < kRun; k += 2) {
        uint64_t two = 0;
        std::memcpy(&two, s + k, sizeof two);
        any |= two;
    }
    return any == 0;
}

#if defined(__SSE2__)
// Four pixels at once where each is clear or opaque, which is all a layer drawn without
// antialiasing holds: a clear pixel keeps the frame's; an opaque one gives, darkening, the
// smaller of each channel (min(s * 255, d * 255) / 255) and, laid over, itself.
template <LayerBlend Mode>
inline bool blendFourOpaque(uint32_t* d, const uint32_t* s) {
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i clear = _mm_cmpeq_epi32(src, _mm_setzero_si128());
    const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(src, alpha), alpha);
    if (_mm_movemask_epi8(_mm_or_si128(clear, opaque)) != 0xffff) {
        return false;
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i blended =
        Mode == LayerBlend::Darken ? _mm_min_epu8(_mm_or_si128(dst, alpha), src) : src;
    const __m128i out = _mm_or_si128(_mm_and_si128(clear, dst), _mm_andnot_si128(clear, blended));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
    return true;
}
#endif

template <LayerBlend Mode>
inline void blendPixel(uint32_t& d, uint32_t s) {
    if (s != 0) {
        d = Mode == LayerBlend::Darken ? darken(d | 0xff000000u, s) : over(d | 0xff000000u, s);
    }
}

template <LayerBlend Mode>
inline void blendRun(uint32_t* d, const uint32_t* s) {
    for (int k = 0; k < kRun; k += 4) {
#if defined(__SSE2__)
        if (blendFourOpaque<Mode>(d + k, s + k)) {
            continue;
        }
#endif
        for (int i = k; i < k + 4; ++i) {
            blendPixel<Mode>(d[i], s[i]);
        }
    }
}

template <LayerBlend Mode>
void blendRows(QImage& frame, const QImage& layer, const QRect& part) {
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(layer.constScanLine(y)) + part.left();
        auto* d = reinterpret_cast<uint32_t*>(frame.scanLine(y)) + part.left();
        const int width = part.width();
        int x = 0;
        // A clear pixel leaves the frame as it is in both modes; runs of clear pixels are
        // passed over sixteen at a time.
        for (; x + kRun <= width; x += kRun) {
            if (clearRun(s + x)) {
                continue;
            }
            blendRun<Mode>(d + x, s + x);
        }
        for (; x < width; ++x) {
            blendPixel<Mode>(d[x], s[x]);
        }
    }
}

}  // namespace

QPainter::CompositionMode compositionMode(LayerBlend blend) {
    return blend == LayerBlend::Darken ? QPainter::CompositionMode_Darken
                                       : QPainter::CompositionMode_SourceOver;
}

void DrawnTiles::clear() {
    marked_.fill(0);
    bounds_ = QRect();
}

void DrawnTiles::mark(const QRect& area) {
    const QRect inside = area & QRect(0, 0, kMapWidth, kMapHeight);
    if (inside.isEmpty()) {
        return;
    }
    bounds_ |= inside;
    for (int row = inside.top() / kSize; row <= inside.bottom() / kSize; ++row) {
        for (int column = inside.left() / kSize; column <= inside.right() / kSize; ++column) {
            marked_[row * kColumns + column] = 1;
        }
    }
}

bool blendLayer(QImage& frame, const QImage& layer, const DrawnTiles& tiles, LayerBlend blend) {
    const QSize map(kMapWidth, kMapHeight);
    if (frame.format() != QImage::Format_RGB32 ||
        layer.format() != QImage::Format_ARGB32_Premultiplied || frame.size() != map ||
        layer.size() != map) {
        return false;
    }
    // Each run of marked tiles side by side is blended row by row of pixels, in memory order.
    for (int row = 0; row < DrawnTiles::kRows; ++row) {
        for (int column = 0; column < DrawnTiles::kColumns;) {
            if (!tiles.marked(column, row)) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < DrawnTiles::kColumns && tiles.marked(column, row)) {
                ++column;
            }
            const QRect run = QRect(first * DrawnTiles::kSize, row * DrawnTiles::kSize,
                                    (column - first) * DrawnTiles::kSize, DrawnTiles::kSize) &
                              frame.rect();
            if (blend == LayerBlend::Darken) {
                blendRows<LayerBlend::Darken>(frame, layer, run);
            } else {
                blendRows<LayerBlend::Over>(frame, layer, run);
            }
        }
    }
    return true;
}

void layOver(QPainter& painter, const QImage& layer, const DrawnTiles& tiles, LayerBlend blend) {
    if (tiles.empty()) {
        return;
    }
    QPaintDevice* device = painter.device();
    const bool plain =
        painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster &&
        device != nullptr && device->devType() == QInternal::Image &&
        painter.worldTransform().isIdentity() && !painter.hasClipping() && painter.opacity() == 1.0;
    // The raster engine draws straight into the image's pixels, so writing them between its
    // calls is seen by the calls that follow.
    if (plain && blendLayer(*static_cast<QImage*>(device), layer, tiles, blend)) {
        return;
    }
    painter.setCompositionMode(compositionMode(blend));
    painter.drawImage(tiles.bounds().topLeft(), layer, tiles.bounds());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace prrsim::ui
