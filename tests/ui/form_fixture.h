#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTest>
#include <memory>

#include "catalog/radar_catalog.h"
#include "sim/world.h"
#include "ui/tform1.h"

namespace prrsim::ui {

// The main window over a started world, its timers stopped so that only the test moves the
// world, its notices collected instead of shown.
class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startWorld(*world);
        form = std::make_unique<TForm1>(*world);
        form->Timer1->stop();
        form->Timer2->stop();
        form->showNotice = [this](const QString& text) { notices << text; };
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override { form.reset(); }

    // Moves the mouse to (x, y) over the map, then clicks there.
    void clickMap(int x, int y) {
        moveMouse(form->Image1, QPoint(x, y));
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(x, y));
    }

    // A move to the point the cursor already has is no move: step next to it first.
    static void moveMouse(QWidget* widget, const QPoint& to) {
        QTest::mouseMove(widget, to + QPoint(to.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(widget, to);
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
    std::unique_ptr<TForm1> form;
    QStringList notices;
};

}  // namespace prrsim::ui
