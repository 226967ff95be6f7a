#include "map_frame.h"

#include <QPainter>

namespace prrsim::testing {

void drawMapFrame(QPainter& painter, const WorldState& world, const ui::ViewState& view,
                  const ui::ImpactText& impact, ui::MapLabels& labels) {
    ui::beginMapPainting(painter);
    labels.beginFrame(*painter.device());
    ui::drawAircraft(painter, world, view);
    ui::drawRadars(painter, world, view, labels);
    ui::drawMissiles(painter, world, view, labels);
    ui::drawImpactText(painter, impact);
}

QImage mapFrame(const QImage& background, const WorldState& world, const ui::ViewState& view,
                const ui::ImpactText& impact, ui::MapLabels& labels) {
    QImage frame = background;
    QPainter painter(&frame);
    drawMapFrame(painter, world, view, impact, labels);
    return frame;
}

std::string firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) {
        return "sizes differ";
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                       "): " + std::to_string(actual.pixel(x, y)) + " instead of " +
                       std::to_string(expected.pixel(x, y));
            }
        }
    }
    return "";
}

}  // namespace prrsim::testing
