#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "catalog/radar_catalog.h"
#include "find_child.h"
#include "scenario/actions.h"
#include "scenario/scenario.h"
#include "ui/add_radar_dialog.h"
#include "ui/aircraft_panel.h"
#include "ui/main_window.h"
#include "ui/map_view.h"
#include "ui/missile_window.h"
#include "ui/radar_panel.h"
#include "ui/review_windows.h"
#include "world/geometry.h"
#include "world/world.h"

namespace prrsim::ui {

// The main window over a started world, its timers stopped so that only the test moves the
// world, its notices collected instead of shown.
class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startWorld(*world);
        form = std::make_unique<MainWindow>(*world);
        form->stopTimers();
        form->showNotice = [this](const QString& text) { notices << text; };
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override { form.reset(); }

    // Moves the mouse to (x, y) over the map, then clicks there.
    void clickMap(int x, int y) {
        moveMouse(map(), QPoint(x, y));
        QTest::mouseClick(map(), Qt::LeftButton, {}, QPoint(x, y));
    }

    // The window's child of type T named `name`; the test fails without one.
    template <class T>
    T* child(const char* name) const {
        return childNamed<T>(form.get(), name);
    }
    MapView* map() const { return child<MapView>("mapView"); }

    // A move to the point the cursor already has is no move: step next to it first.
    static void moveMouse(QWidget* widget, const QPoint& to) {
        QTest::mouseMove(widget, to + QPoint(to.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(widget, to);
    }

    // Clicks on aircraft `i` at its map position.
    void clickAircraft(int i) {
        clickMap(trunc32(world->aircraft[i].x), trunc32(world->aircraft[i].y));
    }

    // The panels and windows shown and the remove buttons enabled, by name.
    std::string shown() const {
        std::string names;
        for (const char* name : {"aircraftPanel", "radarPanel", "complexMemberList",
                                 "addRadarDialog", "missileWindow"}) {
            if (child<QWidget>(name)->isVisible()) {
                names += (names.empty() ? "" : " ") + std::string(name);
            }
        }
        for (const char* name : {"removeRadarButton", "removeAircraftButton"}) {
            if (child<QWidget>(name)->isEnabled()) {
                names += (names.empty() ? "" : " ") + std::string(name);
            }
        }
        return names;
    }

    // Starts the scenario of tests/scenario/scenarios/<name>.json in the window's world and plays
    // it to tick `until` as the window would: its actions between ticks, each followed by a
    // redraw, and every tick through the tick timer's work.
    void playScenario(const std::string& name, int64_t until) {
        std::string error;
        auto loaded = batch::loadScenario(
            std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/scenarios/" + name + ".json", error);
        ASSERT_TRUE(loaded) << error;
        play(*loaded, until);
    }

    void play(const batch::Scenario& s, int64_t until) {
        scenario = s;
        // The scenario's start world, seeded, as a new scene: its review starts with it.
        form->session().reset(scenario->start, scenario->seed);
        played = 0;
        nextAction = 0;
        playUntil(until);
    }

    // Plays the started scenario on to tick `until`.
    void playUntil(int64_t until) {
        for (;;) {
            for (; nextAction < scenario->actions.size() &&
                   scenario->actions[nextAction].tick == played;
                 ++nextAction) {
                ASSERT_FALSE(batch::applyAction(*world, scenario->actions[nextAction]).has_value());
                form->redraw();
            }
            if (played >= until) {
                return;
            }
            form->runDueTicks();
            ++played;
        }
    }

    // Leaves only the landmarks: the test places what it needs.
    void emptyScene() {
        world->aircraftCount = 0;
        world->radarCount = 0;
        world->placedComplexCount = 0;
        world->missileCount = 0;
    }

    int placeAircraft(double x, double y) {
        const int i = addAircraft(*world);
        world->aircraft[i].x = x;
        world->aircraft[i].y = y;
        return i;
    }

    int placeRadar(int type, int x, int y, int placedComplex = -1) {
        const int n = world->radarCount;
        RadarSite r{};
        r.index = n;
        r.typeIndex = type;
        r.placedComplex = placedComplex;
        r.currentTarget = -1;
        r.emissionOn = true;
        r.radiating = true;
        r.x = x;
        r.y = y;
        world->radars[n] = r;
        world->radarCount = n + 1;
        return n;
    }

    // The first catalogue type drawn with symbol `kind`.
    static int typeOfKind(int kind) {
        for (int t = 0; t < radarTypeCount(); ++t) {
            if (radarType(t).kind == kind) {
                return t;
            }
        }
        return -1;
    }

    std::unique_ptr<WorldState> world;
    std::unique_ptr<MainWindow> form;
    QStringList notices;
    std::optional<batch::Scenario> scenario;
    int64_t played = 0;  // ticks played
    size_t nextAction = 0;
};

}  // namespace prrsim::ui
