#pragma once

// The main window's client area grown beyond its least size: the map takes the room, the panels
// on its right keep to the right edge and the controls under it keep to the bottom edge. The
// components are placed for the least size; every one left of the map's right edge and above its
// bottom edge belongs to the map's corner and stays, the others move with their edge.

#include <QObject>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <utility>
#include <vector>

namespace prrsim::ui {

class MapAreaLayout : public QObject {
    Q_OBJECT
  public:
    // `client` at its least size, holding `map` at its left-top corner; installs itself.
    MapAreaLayout(QWidget* client, QWidget* map);

    // Where a component placed at `placed` for the least size goes in a client of `size`.
    static QRect arranged(QRect placed, QSize least, QSize size, QRect map);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void arrange();

    QWidget* client_;
    QWidget* map_;
    QSize least_;
    QRect mapPlaced_;
    std::vector<std::pair<QWidget*, QRect>> placed_;
};

}  // namespace prrsim::ui
