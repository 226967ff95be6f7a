#pragma once

// The legend of the map symbols ("Вид → Условные обозначения") in a small window of its own:
// it opens beside the main window, or where the screen has no room there, beside the map's world
// rectangle (over the panels or the fitted map's empty margin), never over the world itself; the
// user moves it like any window and it stays where it was put while the session lasts.

#include <QImage>
#include <QLabel>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace prrsim::ui {

class MapView;

// Where a legend window of `size` (its frame included) opens on `screen`: beside `window` (right,
// left, below, above) if it fits there, else beside `world` (the map's world rectangle on the
// screen) clear of it, else at the screen's lower right corner.
QRect legendPlace(QSize size, QRect window, QRect world, QRect screen);

// The part of the world the map view shows, in global screen coordinates.
QRect worldOnScreen(const MapView& map);

class MapLegend : public QWidget {
    Q_OBJECT
  public:
    MapLegend(const QImage& picture, const MapView* map, QWidget* mainWindow);

    // Shows the legend (the first time at its default place) or hides it.
    void setShown(bool on);

  signals:
    void closed();  // by its own close button

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const MapView* map_;
    QWidget* mainWindow_;
    QLabel* legendPicture = nullptr;
    bool placed_ = false;
};

}  // namespace prrsim::ui
