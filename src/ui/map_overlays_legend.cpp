// The legend's picture: a sample of every symbol and overlay with its meaning.
#include "ui/map_overlays.h"

#include <QFontMetrics>
#include <functional>
#include <vector>

#include "ui/map_view.h"
#include "ui/overlay_style.h"

namespace prrsim::ui {

using namespace overlay_style;

namespace {

// One row of the legend: its sample drawn in a 20 x 12 box at (x, y), then its text.
struct LegendRow {
    std::function<void(QPainter&, int, int)> sample;
    QString text;
};

std::vector<LegendRow> legendRows() {
    std::vector<LegendRow> rows;
    rows.push_back({[](QPainter& p, int x, int y) {
                        triangle(p, Qt::black, {x + 13, y + 6}, {x + 6, y + 3}, {x + 6, y + 9});
                    },
                    QStringLiteral("Самолёт")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, Qt::red, 1);
                        p.drawLine(x + 1, y + 6, x + 19, y + 6);
                    },
                    QStringLiteral("Линия атаки")});
    // The radar symbols of the kinds the catalogue has.
    const std::pair<int, QString> kinds[] = {
        {kSearchRadar, QStringLiteral("РЛС обнаружения")},
        {kSearchTrackRadar, QStringLiteral("РЛС обнаружения и сопровождения")},
        {kMultiTargetRadar, QStringLiteral("Многоканальная РЛС")},
        {kFireControlRadar, QStringLiteral("РЛС сопровождения")}};
    for (const auto& [kind, text] : kinds) {
        bool present = false;
        for (int32_t t = 0; t < radarTypeCount(); ++t) {
            present = present || radarType(t).kind == kind;
        }
        if (!present) {
            continue;
        }
        rows.push_back({[kind](QPainter& p, int x, int y) {
                            const int cx = x + 10;
                            const int cy = y + 6;
                            switch (kind) {
                                case kSearchRadar:
                                    setPen(p, QColor(0, 0, 255), 1);
                                    p.drawEllipse(QPoint(cx, cy), 5, 5);
                                    break;
                                case kSearchTrackRadar:
                                    triangle(p, QColor(128, 0, 0), {cx + 6, cy}, {cx - 4, cy - 5},
                                             {cx - 4, cy + 5});
                                    break;
                                case kMultiTargetRadar:
                                    triangle(p, QColor(0, 0, 128), {cx, cy}, {cx - 5, cy - 4},
                                             {cx - 5, cy + 4});
                                    p.drawLine(cx, cy, cx + 8, cy);
                                    break;
                                default:
                                    setPen(p, QColor(0, 128, 0), 1);
                                    p.drawRect(cx - 5, cy - 5, 10, 10);
                                    break;
                            }
                        },
                        text});
    }
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, QColor(0, 128, 0), 1);
                        p.drawEllipse(QPoint(x + 10, y + 6), 5, 5);
                    },
                    QStringLiteral("Сопровождаемая цель")});
    rows.push_back({[](QPainter& p, int x, int y) { p.fillRect(x + 7, y + 3, 6, 6, Qt::black); },
                    QStringLiteral("Местный предмет")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, QColor(255, 255, 0), 1);
                        p.drawLine(x + 2, y + 6, x + 19, y + 1);
                        p.drawLine(x + 2, y + 6, x + 19, y + 11);
                        setPen(p, Qt::red, 1);
                        p.drawLine(x + 1, y + 6, x + 6, y + 6);
                    },
                    QStringLiteral("Ракета, поле зрения ГСН")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, QColor(128, 0, 0), 1);
                        p.drawLine(x + 1, y + 6, x + 19, y + 6);
                    },
                    QStringLiteral("Захват: линия на цель")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, kRadiatingRing, 1);
                        p.drawEllipse(QPoint(x + 10, y + 6), 5, 5);
                    },
                    QStringLiteral("РЛС излучает")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, kAircraftTrail, 1);
                        p.drawLine(x + 1, y + 8, x + 19, y + 4);
                    },
                    QStringLiteral("След самолёта")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, kMissileTrail, 1);
                        p.drawLine(x + 1, y + 8, x + 19, y + 4);
                    },
                    QStringLiteral("След ракеты")});
    rows.push_back({[](QPainter& p, int x, int y) {
                        setPen(p, kImpactMarker, 2);
                        p.drawLine(x + 6, y + 2, x + 14, y + 10);
                        p.drawLine(x + 6, y + 10, x + 14, y + 2);
                    },
                    QStringLiteral("Подрыв, промах в метрах")});
    return rows;
}

}  // namespace

const QImage& MapOverlays::legendPicture() {
    if (!legendImage_.isNull()) {
        return legendImage_;
    }
    const std::vector<LegendRow> rows = legendRows();
    const QFont font = overlayFont(9);
    const QFontMetrics metrics(font);
    constexpr int kRow = 12;
    constexpr int kSample = 22;
    int width = 0;
    for (const LegendRow& row : rows) {
        width = std::max(width, metrics.horizontalAdvance(row.text));
    }
    legendImage_ = QImage(kSample + width + 10, static_cast<int>(rows.size()) * kRow + 6,
                          QImage::Format_RGB32);
    legendImage_.fill(Qt::white);
    QPainter painter(&legendImage_);
    beginMapPainting(painter);
    setPen(painter, Qt::gray, 1);
    painter.drawRect(legendImage_.rect().adjusted(0, 0, -1, -1));
    painter.setFont(font);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = 3 + static_cast<int>(i) * kRow;
        rows[i].sample(painter, 3, y);
        painter.setPen(Qt::black);
        painter.drawText(kSample + 4, y + (kRow + metrics.ascent() - metrics.descent()) / 2,
                         rows[i].text);
    }
    return legendImage_;
}

}  // namespace prrsim::ui
