#include "ui/map_area_layout.h"

#include <QEvent>
#include <algorithm>

namespace prrsim::ui {

MapAreaLayout::MapAreaLayout(QWidget* client, QWidget* map)
    : QObject(client),
      client_(client),
      map_(map),
      least_(client->size()),
      mapPlaced_(map->geometry()) {
    for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        placed_.emplace_back(w, w->geometry());
    }
    client->installEventFilter(this);
}

QRect MapAreaLayout::arranged(QRect placed, QSize least, QSize size, QRect map) {
    const int dx = std::max(0, size.width() - least.width());
    const int dy = std::max(0, size.height() - least.height());
    if (placed == map) {
        return placed.adjusted(0, 0, dx, dy);
    }
    const int right = placed.left() > map.right() ? dx : 0;
    const int down = placed.top() > map.bottom() ? dy : 0;
    return placed.translated(right, down);
}

bool MapAreaLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        arrange();
    }
    return QObject::eventFilter(watched, event);
}

void MapAreaLayout::arrange() {
    for (const auto& [widget, placed] : placed_) {
        widget->setGeometry(arranged(placed, least_, client_->size(), mapPlaced_));
    }
}

}  // namespace prrsim::ui
