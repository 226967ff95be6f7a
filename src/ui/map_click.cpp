// The map's mouse handling: the click selects the nearest object or carries out an armed
// one-shot mode; and the buttons under the map that add and remove objects.
#include <cmath>

#include "catalog/radar_catalog.h"
#include "radar/radar_model.h"
#include "ui/add_radar_dialog.h"
#include "ui/aircraft_panel.h"
#include "ui/main_window.h"
#include "ui/missile_window.h"
#include "ui/object_names.h"
#include "ui/radar_panel.h"
#include "ui/ui_text.h"
#include "world/aircraft_control.h"
#include "world/world.h"

namespace prrsim::ui {

namespace {

constexpr int32_t kClickRadius = 10;
constexpr int32_t kFarAway = 10000000;

int32_t clickDistance(double x, double y, int cx, int cy) {
    return trunc32(std::sqrt(square(x - cx) + square(y - cy)));
}

// Index of the nearest record within the click radius, -1 when none; ties go to the lower
// index because only a strictly smaller distance replaces the best.
template <typename Table>
int32_t nearest(const Table& table, int32_t count, int cx, int cy) {
    int32_t best = kFarAway;
    int32_t found = -1;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t d = clickDistance(table[i].x, table[i].y, cx, cy);
        if (d < best) {
            best = d;
            found = i;
        }
    }
    return best > kClickRadius ? -1 : found;
}

}  // namespace

void MainWindow::mapMouseMoved(int x, int y) {
    view_.mapCursor = Point{x, y};
}

void MainWindow::clickMap(int x, int y) {
    mapMouseMoved(x, y);
    mapClicked();
}

void MainWindow::mapClicked() {
    const int cx = view_.mapCursor.x;
    const int cy = view_.mapCursor.y;
    complexMemberList_->hide();
    if (view_.moveAircraftMode) {
        if (validAircraft(world_, view_.selectedAircraft)) {
            perform(change::moveAircraft(view_.selectedAircraft, cx, cy));
        }
        view_.moveAircraftMode = false;
    } else if (view_.radarPlaceMode) {
        if (validRadar(world_, view_.selectedRadar)) {
            perform(change::placeRadar(view_.selectedRadar, cx, cy));
            // The panel's X and Y follow the radar to its new place.
            radarPanelRefresh(view_.selectedRadar);
        }
        view_.radarPlaceMode = false;
    } else {
        selectNearest(cx, cy);
    }
    updateModeIndicators();
}

void MainWindow::selectNearest(int cx, int cy) {
    const int32_t A = nearest(world_.aircraft, world_.aircraftCount, cx, cy);
    const int32_t R = nearest(world_.radars, world_.radarCount, cx, cy);
    const int32_t M = nearest(world_.missiles, world_.missileCount, cx, cy);

    // An armed mode takes the click for what it is for; the selection, and so every window
    // showing an object, stays.
    if (view_.pickTargetMode && validAircraft(world_, view_.selectedAircraft)) {
        perform(change::pickTarget(view_.selectedAircraft, R));
        view_.pickTargetMode = false;
        showRadarSelection();
        showSelectionPanels();
        return;
    }
    if (view_.captureMode && validRadar(world_, view_.selectedRadar) &&
        radarAt(world_, view_.selectedRadar).emissionOn) {
        if (A >= 0) {
            perform(change::assignTarget(view_.selectedRadar, A));
        }
        view_.captureMode = false;
        showRadarSelection();
        showSelectionPanels();
        return;
    }
    if (!view_.pickTargetMode && !view_.captureMode) {
        view_.selectedAircraft = A;
    }

    view_.selectedRadar = (view_.selectedAircraft != -1) ? -1 : R;
    showRadarSelection();

    view_.selectedMissile = (view_.selectedRadar != -1) ? -1 : M;
    if (view_.selectedAircraft != -1 && view_.selectedMissile != -1) {
        // Carriers follow their aircraft through removals, so the table position tells the
        // carrier; the id an aircraft got at creation may repeat after a removal and an add.
        if (missileAt(world_, view_.selectedMissile).carrier != view_.selectedAircraft) {
            view_.selectedAircraft = -1;
        }
    }
    showSelectionPanels();
}

// Radar panel and the complex's member list for the radar selection.
void MainWindow::showRadarSelection() {
    radarPanel_->setVisible(view_.selectedRadar >= 0);
    if (!validRadar(world_, view_.selectedRadar)) {
        return;
    }
    complexMemberList_->show();
    complexMemberList_->clear();
    const int32_t complex = radarAt(world_, view_.selectedRadar).placedComplex;
    if (validPlacedComplex(world_, complex)) {
        const PlacedComplex& pc = placedComplexAt(world_, complex);
        for (int32_t i = 0; i < pc.memberCount && i < kComplexMemberCapacity; ++i) {
            const int32_t member = pc.members[i];
            const int32_t type =
                validRadar(world_, member) ? radarAt(world_, member).typeIndex : -1;
            const bool known = type >= 0 && type < radarTypeCount();
            // A member no longer in the table keeps its place in the list, shown as absent.
            complexMemberList_->addItem(known
                                            ? fromView(radarType(type).name) + QStringLiteral(" ") +
                                                  numberText(radarAt(world_, member).number)
                                            : absentText());
        }
    }
    radarPanelRefresh(view_.selectedRadar);
}

// Missile window, aircraft panel and the remove buttons for the new selection.
void MainWindow::showSelectionPanels() {
    if (view_.selectedMissile != -1) {
        if (missileWindow_->isHidden()) {
            missileWindow_->show();
        }
    } else if (!missileWindow_->isHidden()) {
        missileWindow_->hide();
    }
    if (validAircraft(world_, view_.selectedAircraft)) {
        aircraftPanel_->show();
        aircraftPanel_->refresh(view_.selectedAircraft);
    } else {
        aircraftPanel_->hide();
    }
    if (view_.selectedMissile != -1) {
        missileWindow_->refreshMissileWindow();
    }
    removeRadarButton_->setEnabled(view_.selectedRadar != -1);
    removeAircraftButton_->setEnabled(view_.selectedAircraft != -1);
}

// "Добавить РЛС"
void MainWindow::openAddRadarDialog() {
    setEnabled(false);
    // Disabling a window disables its child windows too: the dialog (and the missile window,
    // a window of its own) stay usable.
    addRadarDialog_->setEnabled(true);
    missileWindow_->setEnabled(true);
    addRadarDialog_->show();
    addRadarDialog_->raise();
    addRadarDialog_->activateWindow();
}

void MainWindow::onRadarsAdded() {
    // The last radar added is selected and waits for its place on the map.
    view_.selectedRadar = world_.radarCount - 1;
    view_.radarPlaceMode = true;
    view_.moveAircraftMode = false;
    // The new radar is selected: the aircraft selection gives way so that only one panel shows.
    if (view_.selectedAircraft != -1) {
        view_.selectedAircraft = -1;
        aircraftPanel_->hide();
        removeAircraftButton_->setEnabled(false);
    }
    complexMemberList_->hide();
    radarPanel_->show();
    radarPanelRefresh(view_.selectedRadar);
    removeRadarButton_->setEnabled(validRadar(world_, view_.selectedRadar));
    updateModeIndicators();
}

// "Убрать РЛС"
void MainWindow::removeRadar() {
    if (perform(change::onRadar(batch::Op::RemoveRadar, view_.selectedRadar))) {
        view_.selectedRadar = -1;
        // The modes that act on the selected radar have nothing left to act on.
        view_.radarPlaceMode = false;
        view_.captureMode = false;
        radarPanel_->hide();
        complexMemberList_->hide();
        removeRadarButton_->setEnabled(false);
    }
    updateModeIndicators();
}

// "Добавить самолёт"
void MainWindow::addAircraft() {
    if (world_.aircraftCount >= kAircraftCapacity) {
        showNotice(QStringLiteral("Самолёт не добавлен: таблица самолётов заполнена (%1).")
                       .arg(kAircraftCapacity));
        return;
    }
    perform(change::addAircraft());
}

// "Убрать самолёт"
void MainWindow::removeAircraft() {
    if (perform(change::onAircraft(batch::Op::RemoveAircraft, view_.selectedAircraft))) {
        view_.selectedAircraft = -1;
        // The modes that act on the selected aircraft have nothing left to act on.
        view_.moveAircraftMode = false;
        view_.pickTargetMode = false;
        aircraftPanel_->hide();
        removeAircraftButton_->setEnabled(false);
    }
    updateModeIndicators();
}

// The member radars of a SAM complex under the radar panel.
void MainWindow::selectComplexMember() {
    const int chosen = complexMemberList_->currentRow();
    if (complexMemberList_->count() == 0 || chosen < 0 ||
        !validRadar(world_, view_.selectedRadar)) {
        return;
    }
    const int32_t complex = radarAt(world_, view_.selectedRadar).placedComplex;
    if (!validPlacedComplex(world_, complex)) {
        return;
    }
    const PlacedComplex& pc = placedComplexAt(world_, complex);
    // A member left behind by a radar removal is no radar any more: nothing to select.
    if (chosen >= pc.memberCount || !validRadar(world_, pc.members[chosen])) {
        return;
    }
    view_.selectedRadar = pc.members[chosen];
    radarPanelRefresh(view_.selectedRadar);
    updateModeIndicators();
}

}  // namespace prrsim::ui
