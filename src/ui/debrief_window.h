#pragma once

// "Разбор": the per-missile table of the session, live, and for the chosen missile its plots
// against time (altitude, distance to its target radar, speed, power received from the radar
// it follows) with its guidance phases in colour, and a side view (altitude against ground
// distance to the target). Exports the table as CSV and the plots as PNG or SVG.

#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
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

    // Rewrites the table from the summary as of the world's tick, and the plots when the
    // chosen missile has new samples.
    void refresh();

    // Shows the plots of the missile with this number (0: none).
    void chooseMissile(int32_t number);
    int32_t chosenMissile() const { return chosen_; }
    const std::vector<batch::MissileSummary>& summaries() const { return summaries_; }

    // Writes the table as CSV; the plots as PNG or SVG, by the file's suffix. False (and a
    // notice) when it cannot.
    bool exportTableCsv(const QString& path);
    bool exportPlots(const QString& path);
    void TableExportClick();
    void PlotsExportClick();

    // The file to export to (empty: cancelled) and notices; replaceable for tests.
    std::function<QString(const QString& title, const QString& suggested, const QString& filter)>
        askExportFile;
    std::function<void(const QString&)> showNotice;

    QTableWidget* Table = nullptr;
    QWidget* Plots = nullptr;  // the plots and their phase key, as exported
    QLabel* PlotsTitle = nullptr;
    QChartView* AltitudeChart = nullptr;
    QChartView* DistanceChart = nullptr;
    QChartView* SpeedChart = nullptr;
    QChartView* PowerChart = nullptr;
    QChartView* SideChart = nullptr;
    QPushButton* TableExportButton = nullptr;
    QPushButton* PlotsExportButton = nullptr;

  private:
    void fillTable();
    void plot();

    const WorldState& world_;
    const review::ReviewStore& store_;
    std::vector<batch::MissileSummary> summaries_;
    int32_t chosen_ = 0;
    size_t plotted_ = 0;  // samples shown in the plots
    int64_t plottedEnd_ = -1;
    uint64_t generation_ = 0;
};

}  // namespace prrsim::ui
