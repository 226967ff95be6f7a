#include "ui/map_legend.h"

#include <QCloseEvent>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/map_view.h"
#include "world/units.h"

namespace prrsim::ui {

namespace {

constexpr int kLegendGap = 4;  // between the legend and what it opens beside

}  // namespace

QRect legendPlace(QSize size, QRect window, QRect world, QRect screen) {
    const int w = size.width();
    const int h = size.height();
    const std::array<QRect, 8> candidates = {
        QRect(window.right() + 1 + kLegendGap, window.top(), w, h),
        QRect(window.left() - kLegendGap - w, window.top(), w, h),
        QRect(window.left(), window.bottom() + 1 + kLegendGap, w, h),
        QRect(window.left(), window.top() - kLegendGap - h, w, h),
        // Beside the world, level with its lower edge: over the panels or an empty margin.
        QRect(world.right() + 1 + kLegendGap, world.bottom() + 1 - h, w, h),
        QRect(world.left() - kLegendGap - w, world.bottom() + 1 - h, w, h),
        QRect(world.left(), world.bottom() + 1 + kLegendGap, w, h),
        QRect(world.left(), world.top() - kLegendGap - h, w, h),
    };
    for (const QRect& place : candidates) {
        if (screen.contains(place) && !place.intersects(world)) {
            return place;
        }
    }
    return QRect(screen.right() + 1 - w, screen.bottom() + 1 - h, w, h);
}

QRect worldOnScreen(const MapView& map) {
    const MapCamera& camera = map.camera();
    const QRectF world(camera.screenX(0), camera.screenY(0), kMapWidth * camera.scale(),
                       kMapHeight * camera.scale());
    const QRect shown = world.toAlignedRect() & map.rect();
    return shown.translated(map.mapToGlobal(QPoint(0, 0)));
}

MapLegend::MapLegend(const QImage& picture, const MapView* map, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool), map_(map), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("mapLegend"));
    setWindowTitle(QStringLiteral("Условные обозначения"));
    legendPicture = new QLabel(this);
    legendPicture->setObjectName(QStringLiteral("legendPicture"));
    legendPicture->setPixmap(QPixmap::fromImage(picture));
    legendPicture->move(0, 0);
    legendPicture->resize(picture.deviceIndependentSize().toSize());
    setFixedSize(legendPicture->size());
}

void MapLegend::setShown(bool on) {
    if (!on) {
        hide();
        return;
    }
    if (!placed_) {
        placed_ = true;
        // The frame the window manager adds, as the main window has it.
        const QRect outer = mainWindow_->frameGeometry();
        const QRect inner = mainWindow_->geometry();
        const QSize frame(outer.width() - inner.width(), outer.height() - inner.height());
        const QScreen* screen = mainWindow_->screen();
        const QRect place = legendPlace(size() + frame, outer, worldOnScreen(*map_),
                                        screen->availableGeometry());
        move(place.topLeft());
    }
    show();
}

void MapLegend::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace prrsim::ui
