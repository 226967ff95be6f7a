#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <vector>

#include "radar/radar_reaction.h"
#include "ui/changes.h"
#include "world/world_state.h"

namespace prrsim::ui {

// "Реакция на ПРР": the crew's reaction of one radar, or of every member of a complex, as a
// small tool window. "Применить" records one setReaction per radar.
class ReactionControls : public QWidget {
    Q_OBJECT
  public:
    ReactionControls(WorldState& world, QWidget* parent);

    // Shows the reaction of radar `row` and makes "Применить" set it on `rows` (row and, for a
    // complex, its other members).
    void showRadars(const std::vector<int32_t>& rows);

    // The settings the controls hold.
    ReactionSettings settings() const;

    // How "Применить" changes the radars (applied directly unless the main window records).
    Perform perform;

  signals:
    // "Применить" changed radars; the panel shows them again.
    void applied();

  private:
    void createControls();
    void kindChanged();
    void apply();

    WorldState& world_;
    std::vector<int32_t> rows_;
    int32_t maxBlinkPeriod_ = 0;  // the shown radar type's
    QComboBox* kindBox_ = nullptr;  // none, shutdown, blink, hop
    QSpinBox* warnBox_ = nullptr;   // warning distance, km
    QSpinBox* holdBox_ = nullptr;   // hold time, s
    QLabel* valueLabel_ = nullptr;  // "Мерцание" or "Частота, %"
    QSpinBox* valueBox_ = nullptr;  // blink period or frequency percentage
    QPushButton* applyButton_ = nullptr;
};

// The rows of radar `row` and the other members of its placed complex, in table order.
std::vector<int32_t> radarAndComplexRows(const WorldState& world, int32_t row);

}  // namespace prrsim::ui
