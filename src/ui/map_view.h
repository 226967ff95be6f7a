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
#include <functional>
#include <string_view>
#include <vector>

#include "ui/label_modes.h"
#include "ui/label_placement.h"
#include "ui/map_camera.h"
#include "ui/map_overlays.h"
#include "ui/map_ruler.h"
#include "ui/view_state.h"
#include "world/units.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The impact text state: 0 nothing, 1 "БА", 2 "БАХ", at the impact point.
struct ImpactText {
    int state = 0;
    int x = 0;
    int y = 0;
};

// Where a label's object stands on the screen, for placing the label.
struct LabelAnchor {
    double x = 0;
    double y = 0;
    double clearance = 0;  // half the symbol's extent
    int priority = 0;      // selected objects place first
    QString shortText;     // shown when the full text finds no place
};

// What a frame's labels do: drawn where they always were, or placed clear of each other and of
// the symbols (a view other than the plain map, or asked for), and which are shown.
// The overlays whose impact texts are placed after the labels, clear of them and of the symbols
// (none: the frame collects no boxes).
struct LabelSettings {
    bool placing = false;
    LabelMode mode = LabelMode::All;
    MapOverlays* overlays = nullptr;
};

// The map's labels (radar and missile names) as pictures kept between redraws: each text is
// laid out and rasterised once in the label font and colour, then copied into every frame that
// shows it, pixel for pixel what drawing the text there gives. A picture not shown in a frame
// is dropped once the kept ones outnumber twice those shown, plus 64. While placing, the frame's
// labels are collected with the symbols' boxes and placed and drawn together at its end.
class MapLabels {
  public:
    MapLabels();

    // Starts a frame drawn on `device` (its resolution decides the font's pixel size).
    void beginFrame(const QPaintDevice& device, LabelSettings settings = {});
    // Draws `text` with its left-top corner at (x, y), as textOut would.
    void draw(QPainter& painter, int x, int y, const QString& text);
    // A label of an object: drawn at (x, y) now, or, while placing, asked for near `anchor`.
    void label(QPainter& painter, int x, int y, const QString& text, const LabelAnchor& anchor);
    // A symbol or text on the screen that placed labels keep clear of (ignored unless
    // collecting).
    void noteObstacle(const ScreenBox& box);
    // While placing: places the labels asked for and draws them, with a thin line to the object
    // for a label moved away from it. Then the overlays' impact texts are placed after them.
    void finishFrame(QPainter& painter);

    bool placing() const { return settings_.placing; }
    // Whether the frame collects the boxes of its symbols and labels: placing, or placing the
    // impact texts after labels drawn where they always were.
    bool collecting() const { return settings_.placing || settings_.overlays != nullptr; }
    bool shows(const WorldState& world, const ViewState& view, LabelOwner owner,
               int32_t row) const {
        return labelShown(world, view, settings_.mode, owner, row);
    }
    // The last placement made: labels shown, shortened, left out.
    const LabelPlacement& lastPlacement() const { return placement_; }
    const std::vector<QString>& lastTexts() const { return texts_; }
    // The symbols and texts the last placement kept clear of.
    const std::vector<ScreenBox>& lastObstacles() const { return obstacles_; }

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
        QSizeF box;     // the text's advance and line height
        int64_t frame = 0;
    };

    Picture& picture(const QString& text);
    void placeAndDraw(QPainter& painter, const ScreenBox& viewport);

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
    qreal pixelRatio_ = 1;
    int64_t frame_ = 0;
    LabelSettings settings_;
    std::vector<LabelRequest> requests_;
    std::vector<QString> texts_;  // full and short text of each request
    std::vector<ScreenBox> obstacles_;
    LabelPlacement placement_;
    int shownLastFrame_ = 0;
    int shown_ = 0;
    int64_t made_ = 0;
    QHash<QString, Picture> pictures_;
    std::array<RowText, kRadarCapacity> radarTexts_{};
    std::array<RowText, kMissileCapacity> missileTexts_{};
};

// The map picture: shows the last finished frame at once, so a partly drawn frame is
// never seen, and reports mouse moves (mouse tracking on) and clicks as the map pixel under the
// cursor. Its view fills the widget with the whole world, kept in proportion; the wheel zooms
// about the cursor, the right or middle button and the arrow keys pan. In the ruler's mode a
// left drag measures instead of clicking.
class MapView : public QWidget {
    Q_OBJECT
  public:
    explicit MapView(QWidget* parent);

    // Replaces the shown picture by a finished frame.
    void showFrame(const QImage& frame);
    const QImage& frame() const { return frame_; }

    const MapCamera& camera() const { return camera_; }
    void fitWorld();  // "Весь район"
    void oneToOne();  // "1:1"
    // Zooms by `factor` about a point of the widget; pans by screen pixels.
    void zoomAbout(double factor, QPointF at);
    void pan(double dx, double dy);

    // The frame to draw on: the background (the map's own picture of kMapWidth x kMapHeight) as
    // the view shows it, at the screen's pixel density. The plain map is the background itself.
    QImage startFrame(const QImage& background);
    // Whether the view is the map as drawn without one: 1:1 at the map's own size.
    bool plain() const { return camera_.identity() && pixelRatio() == 1; }

    // "Вид → Подписи": placed clear of each other whenever the view is not plain, or always.
    LabelSettings labelSettings() const;
    void setLabelMode(LabelMode mode);
    void setPlaceLabelsAlways(bool on);
    // The review overlays drawn over this view's frames: their impact texts join the placement.
    void setOverlays(MapOverlays* overlays) { overlays_ = overlays; }

    MapRuler& ruler() { return ruler_; }
    void setRulerOn(bool on);
    bool rings() const { return rings_; }
    void setRings(bool on);
    // Range rings around the selected object and the ruler, over the finished frame.
    void drawViewMarks(QPainter& painter, const WorldState& world, const ViewState& view) const;
    // The world the ruler's ends hold on to (none: free ends).
    void setWorld(const WorldState* world, const ViewState* view) {
        world_ = world;
        view_ = view;
    }

    // The scale and the cursor's position, for the status bar.
    QString statusText() const;

  signals:
    void mouseMoved(int x, int y);  // the map pixel under the cursor
    void clicked();
    void viewChanged();  // the picture must be drawn again
    void statusChanged(const QString& text);
    void rulerEnded();  // Esc in the ruler's mode

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    double pixelRatio() const;
    void changed();
    ViewPoint worldAt(QPointF at) const { return camera_.toWorld({at.x(), at.y()}); }

    QImage frame_;
    MapCamera camera_;
    QImage viewBackground_;  // the background as last shown through the camera
    qint64 backgroundKey_ = 0;
    QString backgroundView_;
    LabelMode labelMode_ = LabelMode::All;
    bool placeAlways_ = false;
    MapOverlays* overlays_ = nullptr;
    bool rings_ = false;
    MapRuler ruler_;
    const WorldState* world_ = nullptr;
    const ViewState* view_ = nullptr;  // the window's selection, with world_
    QPointF dragFrom_;
    bool dragging_ = false;
    ViewPoint cursor_;
};

// A fresh white map picture.
QImage blankMap();

// Fills the landmark squares in black into `map` (the background, prepared once).
void prepareBackground(const WorldState& world, QImage& map);

// Prepares a painter for map drawing: no antialiasing, clear brush.
void beginMapPainting(QPainter& painter);

// The drawing steps of the redraw, each over the whole table, through the view's camera (the
// plain map when none is given); symbols and texts keep their screen size at every scale. The
// selected objects of `view` are drawn emphasised.
void drawAircraft(QPainter& painter, const WorldState& world, const ViewState& view,
                  const MapCamera& camera = {});
void drawRadars(QPainter& painter, const WorldState& world, const ViewState& view,
                MapLabels& labels, const MapCamera& camera = {});
void drawRadar(QPainter& painter, const WorldState& world, const ViewState& view, int32_t row,
               MapLabels& labels, const MapCamera& camera = {});
void drawMissiles(QPainter& painter, const WorldState& world, const ViewState& view,
                  MapLabels& labels, const MapCamera& camera = {});
void drawImpactText(QPainter& painter, const ImpactText& impact, const MapCamera& camera = {},
                    MapLabels* labels = nullptr);

// The review overlays, drawn in map pixels by `draw`, through the camera: unchanged on the plain
// map, otherwise scaled and moved with the view; impact texts placed among the frame's labels are
// drawn in screen pixels (the legend has a window of its own: map_legend.h).
void drawOverlaysInView(QPainter& painter, const MapCamera& camera, MapOverlays& overlays,
                        const std::function<void(QPainter&)>& draw);

// The label of one radar of a complex among placed labels: the complex's label and the radar's
// short type name ("ЗРК Тор №1 РЛС обн.").
QString complexMemberLabel(const QString& complexLabel, std::string_view typeName);
// The short text of a label: its number ("№3"), or the whole text when it has none.
QString labelNumber(const QString& label);

}  // namespace prrsim::ui
