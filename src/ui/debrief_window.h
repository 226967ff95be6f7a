#pragma once

// "Разбор": the per-missile table of the whole recording, and for the chosen missile its plots
// against time (altitude, distance to its target radar, speed, power received from the radar
// it follows) with its guidance phases in colour and the present moment as a vertical line,
// and a side view (altitude against ground distance to the target). Exports the table as CSV
// and the plots as PNG or SVG.

#include <QChartView>
#include <QLineSeries>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "review/missile_summary.h"
#include "review/review_store.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The phase's name ("Прямое наведение") and its colour in the plots.
QString flightPhaseLabel(review::FlightPhase phase);
QColor flightPhaseColour(review::FlightPhase phase);

class DebriefWindow : public QWidget {
    Q_OBJECT
  public:
    DebriefWindow(const WorldState& world, const review::ReviewStore& store, QWidget* parent);

    // Rewrites the table from the review's summary, the plots when the chosen missile has new
    // samples, and moves the present moment's line to the world's tick.
    void refresh();
    // The present moment's line on a time plot: its x (seconds) while it is inside the plot.
    std::optional<double> presentMarker(const QChartView* chart) const;

    // Shows the plots of the missile with this number (0: none).
    void chooseMissile(int32_t number);
    int32_t chosenMissile() const { return chosen_; }
    const std::vector<batch::MissileSummary>& summaries() const { return summaries_; }

    // The table of missiles as shown.
    const QAbstractItemModel& tableModel() const { return *missileTable_->model(); }

    // Writes the table as CSV; the plots as PNG or SVG, by the file's suffix. False (and a
    // notice) when it cannot.
    bool exportTableCsv(const QString& path);
    bool exportPlots(const QString& path);

    // The file to export to (empty: cancelled) and notices; replaceable for tests.
    std::function<QString(const QString& title, const QString& suggested, const QString& filter)>
        askExportFile;
    std::function<void(const QString&)> showNotice;

  private:
    void fillTable();
    void plot();
    void placeMarkers();
    void exportTableChosen();
    void exportPlotsChosen();

    const WorldState& world_;
    const review::ReviewStore& store_;
    std::vector<batch::MissileSummary> summaries_;
    int32_t chosen_ = 0;
    size_t plotted_ = 0;  // samples shown in the plots
    int64_t plottedEnd_ = -1;
    uint64_t generation_ = 0;
    int64_t markedTick_ = -1;
    std::vector<std::pair<QChartView*, QLineSeries*>> markers_;  // on the time plots
    QTableWidget* missileTable_ = nullptr;
    QWidget* plots_ = nullptr;  // the plots and their phase key, as exported
    QLabel* plotsTitle_ = nullptr;
    QChartView* altitudeChart_ = nullptr;
    QChartView* distanceChart_ = nullptr;
    QChartView* speedChart_ = nullptr;
    QChartView* powerChart_ = nullptr;
    QChartView* sideChart_ = nullptr;
    QPushButton* tableExportButton_ = nullptr;
    QPushButton* plotsExportButton_ = nullptr;
};

}  // namespace prrsim::ui
