#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

#include "ui/view_state.h"
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

// The map's labels (radar and missile names) as pictures kept between redraws: each text is
// laid out and rasterised once in the label font and colour, then copied into every frame that
// shows it, pixel for pixel what drawing the text there gives. A picture not shown in a frame
// is dropped once the kept ones outnumber twice those shown, plus 64.
class MapLabels {
  public:
    MapLabels();

    // Starts a frame drawn on `device` (its resolution decides the font's pixel size).
    void beginFrame(const QPaintDevice& device);
    // Draws `text` with its left-top corner at (x, y), as textOut would.
    void draw(QPainter& painter, int x, int y, const QString& text);

    // The label texts of radar and missile rows, remade only when what they show changed.
    const QString& radarText(const WorldState& world, int32_t row);
    const QString& missileText(const WorldState& world, int32_t row);

    int pictureCount() const { return static_cast<int>(pictures_.size()); }
    // Pictures made since construction (each a label laid out and rasterised).
    int64_t picturesMade() const { return made_; }

  private:
    struct Picture {
        QImage image;
        QPoint offset;  // of the picture's corner from the label's left-top corner
        int64_t frame = 0;
    };

    // A row's label text and what it was made from.
    struct RowText {
        std::array<int32_t, 4> from{};
        bool made = false;
        QString text;
    };

    Picture render(const QString& text) const;

    QFont font_;
    QColor colour_;
    int dpiX_ = 0;
    int dpiY_ = 0;
    int64_t frame_ = 0;
    int shownLastFrame_ = 0;
    int shown_ = 0;
    int64_t made_ = 0;
    QHash<QString, Picture> pictures_;
    std::array<RowText, kRadarCapacity> radarTexts_{};
    std::array<RowText, kMissileCapacity> missileTexts_{};
};

// A fresh white map picture.
QImage blankMap();

// Fills the landmark squares in black into `map` (the background, prepared once).
void prepareBackground(const WorldState& world, QImage& map);

// Prepares a painter for map drawing: no antialiasing, clear brush.
void beginMapPainting(QPainter& painter);

// The drawing steps of the redraw, each over the whole table.
// The selected objects of `view` are drawn emphasised.
void drawAircraft(QPainter& painter, const WorldState& world, const ViewState& view);
void drawRadars(QPainter& painter, const WorldState& world, const ViewState& view,
                MapLabels& labels);
void drawRadar(QPainter& painter, const WorldState& world, const ViewState& view, int32_t row,
               MapLabels& labels);
void drawMissiles(QPainter& painter, const WorldState& world, const ViewState& view,
                  MapLabels& labels);
void drawImpactText(QPainter& painter, const ImpactText& impact);

}  // namespace prrsim::ui
