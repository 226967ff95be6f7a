#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "world/units.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The map picture (Image1): shows the last finished frame at once, so a partly drawn frame is
// never seen, and reports mouse moves (mouse tracking on) and clicks.
class MapView : public QWidget {
    Q_OBJECT
  public:
    explicit MapView(QWidget* parent);

    // Replaces the shown picture by a finished frame.
    void showFrame(const QImage& frame);
    const QImage& frame() const { return frame_; }

  signals:
    void mouseMoved(int x, int y);
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage frame_;
};

// The impact text state: 0 nothing, 1 "БА", 2 "БАХ", at the impact point.
struct ImpactText {
    int state = 0;
    int x = 0;
    int y = 0;
};

// A fresh white map picture.
QImage blankMap();

// Fills the landmark squares in black into `map` (the background, prepared once).
void prepareBackground(const WorldState& world, QImage& map);

// Prepares a painter for map drawing: no antialiasing, clear brush.
void beginMapPainting(QPainter& painter);

// The drawing steps of the redraw, each over the whole table.
void drawAircraft(QPainter& painter, const WorldState& world);
void drawRadars(QPainter& painter, const WorldState& world);
void drawRadar(QPainter& painter, const WorldState& world, const RadarSite& radar);
void drawMissiles(QPainter& painter, const WorldState& world);
void drawImpactText(QPainter& painter, const ImpactText& impact);

// The text of a radar's label: complex name or type name, " №", number.
QString radarLabel(const WorldState& world, const RadarSite& radar);

}  // namespace prrsim::ui
