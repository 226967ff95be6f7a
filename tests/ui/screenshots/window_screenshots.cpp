// The README's and docs' pictures: a program of its own (scripts/screenshot-windows.sh runs it),
// not part of the test suite. Saves the radar panel, the add-radar dialog, the missile window in
// flight and the main window's scene menu, timeline and status bar, and the review windows and
// map overlays after two attacks, and the map view (the start-up scene maximised, a complex
// zoomed in, the capacity scene with its placed labels) into the directory named by
// PRRSIM_SCREENSHOT_DIR.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <memory>

#include "../../../bench/capacity_scene.h"
#include "missile/missile_control.h"
#include "missile/missile_loading.h"
#include "radar/radar_model.h"
#include "radar/radar_reaction.h"
#include "scenario/scenario.h"
#include "sim/tick.h"
#include "ui/add_radar_dialog.h"
#include "ui/form_fixture.h"
#include "ui/main_window.h"
#include "ui/missile_window.h"
#include "ui/radar_panel.h"
#include "ui/reaction_controls.h"
#include "ui/review_windows.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

class Screenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        directory = qEnvironmentVariable("PRRSIM_SCREENSHOT_DIR");
        if (directory.isEmpty()) {
            FAIL() << "PRRSIM_SCREENSHOT_DIR names no directory to save the pictures in";
        }
        QDir().mkpath(directory);
        world = makeWorld();
        startWorld(*world);
        main = std::make_unique<MainWindow>(*world);
        main->stopTimers();
        main->show();
    }

    void save(QWidget* widget, const char* name) {
        QCoreApplication::processEvents();
        const QString path = QDir(directory).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    }

    void clickMap(double x, double y) { main->clickMap(static_cast<int>(x), static_cast<int>(y)); }

    // Aircraft 0 heads for `radar`, which radiates and tracks it.
    void aimAtTrackingRadar(int32_t radar) {
        Aircraft& a = world->aircraft[0];
        const RadarSite& r = world->radars[radar];
        a.heading = bearingDeg(a.x, a.y, r.x, r.y);
        a.targetRadar = radar;
        setEmission(world->radars[radar], true);
        assignTarget(*world, radar, 0);
    }

    // An "AGM-88C HARM" in "самозахват и пуск" on aircraft 0, locked and launched; its row, or
    // -1 when it could not be added.
    int32_t launchLockedHarm() {
        const int32_t m = addMissile(*world, 0, 3, 0);
        if (m < 0) {
            return m;
        }
        activateMissile(*world, m);
        captureButton(*world, m);
        for (int i = 0; i < 300 && world->missiles[m].locked == 0; ++i) {
            SimulationTick(*world, *scratch);
        }
        launchButton(*world, m);
        return m;
    }

    QString directory;
    std::unique_ptr<WorldState> world;
    std::unique_ptr<SeekerScratch> scratch = makeSeekerScratch();
    std::unique_ptr<MainWindow> main;
};

TEST_F(Screenshots, RadarPanel) {
    for (int i = 0; i < 150; ++i) {
        SimulationTick(*world, *scratch);
    }
    const RadarSite& imbir = world->radars[3];
    clickMap(imbir.x, imbir.y);
    ASSERT_EQ(main->view().selectedRadar, 3);
    save(childNamed<RadarPanel>(main.get(), "radarPanel"), "radar-panel.png");
}

TEST_F(Screenshots, AddRadarDialog) {
    childNamed<QPushButton>(main.get(), "addRadarButton")->click();
    QCoreApplication::processEvents();  // the dialog's activation resets its lists
    childNamed<AddRadarDialog>(main.get(), "addRadarDialog")->resetChoices();
    childNamed<QComboBox>(main.get(), "complexBox")->setCurrentIndex(3);  // "ЗРК Тор"
    save(childNamed<AddRadarDialog>(main.get(), "addRadarDialog"), "add-radar.png");
    childNamed<QPushButton>(main.get(), "cancelButton")->click();
}

TEST_F(Screenshots, MissileWindowInFlight) {
    // Aircraft 0 heads for the "Куб" tracking radar, which tracks it; a HARM locks and flies.
    const int32_t radar = 0;
    const Aircraft& a = world->aircraft[0];
    aimAtTrackingRadar(radar);
    clickMap(a.x, a.y);
    ASSERT_EQ(main->view().selectedAircraft, 0);
    const int32_t m = launchLockedHarm();
    ASSERT_GE(m, 0);
    for (int i = 0; i < 250 && validMissile(*world, m); ++i) {
        SimulationTick(*world, *scratch);
    }
    ASSERT_TRUE(validMissile(*world, m));
    main->view().selectedMissile = m;
    childNamed<MissileWindow>(main.get(), "missileWindow")->show();
    childNamed<MissileWindow>(main.get(), "missileWindow")->refreshMissileWindow();
    save(childNamed<MissileWindow>(main.get(), "missileWindow"), "missile-window.png");
}

// A crew that switches its radar off when a HARM comes within 20 km: the main window with the
// radar's reaction square on the map, the radar selected, and its "Реакция на ПРР" window.
TEST_F(Screenshots, ReactingRadar) {
    const int32_t radar = 0;  // the "Куб" tracking radar, which tracks the aircraft
    const RadarSite& r = world->radars[radar];
    aimAtTrackingRadar(radar);
    ASSERT_TRUE(setReaction(*world, radar, {kReactionShutdown, 20, 60, 0}));
    const int32_t m = launchLockedHarm();
    ASSERT_GE(m, 0);
    for (int i = 0; i < 6000 && !world->radars[radar].reactionApplied; ++i) {
        SimulationTick(*world, *scratch);
    }
    ASSERT_TRUE(world->radars[radar].reactionApplied);
    for (int i = 0; i < 300 && validMissile(*world, m); ++i) {
        SimulationTick(*world, *scratch);  // the missile flies on to where it heard the radar
    }
    clickMap(r.x, r.y);
    ASSERT_EQ(main->view().selectedRadar, radar);
    childNamed<QPushButton>(main.get(), "reactionButton")->click();
    main->redraw();
    save(main.get(), "radar-reaction.png");
    save(childNamed<ReactionControls>(main.get(), "reactionControls"), "reaction-controls.png");
}

// The main window with its menu "Сцена" open, the timeline back in a recorded exercise, and
// the status bar: time, speed, "Пауза", the scene file and the hint of an armed mode.
TEST_F(Screenshots, SceneMenuTimelineAndStatusBar) {
    main->sceneFiles().newScene(batch::StartWorld::Default);
    for (int i = 0; i < 2000; ++i) {
        main->runDueTicks();
    }
    const Aircraft& a = world->aircraft[0];
    clickMap(a.x, a.y);
    childNamed<QPushButton>(main.get(), "pickTargetButton")->click();
    clickMap(world->radars[2].x, world->radars[2].y);
    childNamed<QPushButton>(main.get(), "attackRunButton")->click();
    for (int i = 0; i < 6000; ++i) {
        main->runDueTicks();
    }
    const QString file = QDir(directory).filePath(QStringLiteral("учение.json"));
    ASSERT_TRUE(main->sceneFiles().saveScene(file));
    QFile::remove(file);
    main->setPaused(true);
    main->setSpeed(MainWindow::kNormalSpeed + 2);
    main->jumpTo(2345);
    const Aircraft& b = world->aircraft[2];
    clickMap(b.x, b.y);
    childNamed<QPushButton>(main.get(), "moveButton")->click();
    main->redraw();

    const QPoint at =
        childNamed<QMenuBar>(main.get(), "menuBar")
            ->mapTo(main.get(),
                    childNamed<QMenuBar>(main.get(), "menuBar")
                        ->actionGeometry(childNamed<QMenu>(main.get(), "sceneMenu")->menuAction())
                        .bottomLeft());
    childNamed<QMenu>(main.get(), "sceneMenu")->popup(main->mapToGlobal(at));
    QCoreApplication::processEvents();
    QImage picture = main->grab().toImage();
    QPainter painter(&picture);
    painter.drawPixmap(at, childNamed<QMenu>(main.get(), "sceneMenu")->grab());
    painter.end();
    childNamed<QMenu>(main.get(), "sceneMenu")->hide();
    const QString path = QDir(directory).filePath(QStringLiteral("scene-window.png"));
    EXPECT_TRUE(picture.save(path, "PNG")) << path.toStdString();
}

// The start-up scene: aircraft 3 launches a HARM at the "Куб" tracking radar, which it hits;
// aircraft 1 on its attack run launches one at the П-15, which starts blinking, and misses.
constexpr const char* kTwoAttacks = R"({
  "start": "default", "seed": 1, "ticks": 3400,
  "actions": [
    {"tick": 0, "op": "pickTarget", "aircraft": 2, "radar": 0},
    {"tick": 0, "op": "addMissile", "aircraft": 2, "type": 3, "launchMode": 0},
    {"tick": 0, "op": "activate", "missile": 0},
    {"tick": 0, "op": "capture", "missile": 0},
    {"tick": 150, "op": "launch", "missile": 0},
    {"tick": 300, "op": "pickTarget", "aircraft": 0, "radar": 2},
    {"tick": 300, "op": "attackRun", "aircraft": 0},
    {"tick": 300, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0},
    {"tick": 300, "op": "activate", "missile": 1},
    {"tick": 300, "op": "capture", "missile": 1},
    {"tick": 600, "op": "launch", "missile": 1},
    {"tick": 1200, "op": "setBlink", "radar": 2, "period": 2}
  ]})";

class ReviewScreenshots : public FormTest {
  protected:
    void SetUp() override {
        directory = qEnvironmentVariable("PRRSIM_SCREENSHOT_DIR");
        if (directory.isEmpty()) {
            FAIL() << "PRRSIM_SCREENSHOT_DIR names no directory to save the pictures in";
        }
        QDir().mkpath(directory);
        FormTest::SetUp();
        std::string error;
        const auto scene = batch::parseScenario(kTwoAttacks, "two-attacks.json", error);
        ASSERT_TRUE(scene) << error;
        play(*scene, scene->ticks);
    }

    void save(QWidget* widget, const char* name) {
        QCoreApplication::processEvents();
        const QString path = QDir(directory).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    }

    QString directory;
};

TEST_F(ReviewScreenshots, EventLog) {
    child<QAction>("logAction")->trigger();
    save(child<EventLogWindow>("eventLogWindow"), "event-log.png");
}

TEST_F(ReviewScreenshots, DebriefWithPlots) {
    child<QAction>("debriefAction")->trigger();
    child<DebriefWindow>("debriefWindow")->chooseMissile(1);
    save(child<DebriefWindow>("debriefWindow"), "debrief.png");
}

TEST_F(ReviewScreenshots, MapOverlays) {
    child<QAction>("trailsFlightAction")->trigger();
    child<QAction>("impactsAction")->trigger();
    child<QAction>("radiatingAction")->trigger();
    child<QAction>("legendAction")->trigger();
    form->advanceImpactText();  // the impact text of the last detonation is over
    form->advanceImpactText();
    form->redraw();
    save(child<MapView>("mapView"), "map-overlays.png");
}

// The same overlays through the map view of the window maximised, zoomed x5 on the blinking
// П-15 and the miss beside it: trails and markers stay thin and sharp, the miss distances placed
// among the labels.
TEST_F(ReviewScreenshots, MapOverlaysZoomed) {
    for (const char* action : {"trailsFlightAction", "impactsAction", "radiatingAction"}) {
        child<QAction>(action)->trigger();
    }
    form->advanceImpactText();
    form->advanceImpactText();
    form->resize(1920, 1040);
    form->show();
    QCoreApplication::processEvents();
    MapView* view = child<MapView>("mapView");
    const RadarSite& r = world->radars[2];
    const MapCamera& camera = view->camera();
    view->zoomAbout(5 / camera.scale(), {camera.screenX(r.x), camera.screenY(r.y)});
    view->pan(camera.viewportWidth() / 2 - camera.screenX(r.x),
              camera.viewportHeight() / 2 - camera.screenY(r.y));
    form->redraw();
    save(view, "map-overlays-zoomed.png");
}

// The main window maximised on a 1920 x 1080 screen (the frame and the task bar aside).
const QSize kMaximised(1920, 1040);

class ViewScreenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        directory = qEnvironmentVariable("PRRSIM_SCREENSHOT_DIR");
        if (directory.isEmpty()) {
            FAIL() << "PRRSIM_SCREENSHOT_DIR names no directory to save the pictures in";
        }
        QDir().mkpath(directory);
    }

    void open(std::unique_ptr<WorldState> shown) {
        world = std::move(shown);
        main = std::make_unique<MainWindow>(*world);
        main->stopTimers();
        main->resize(kMaximised);
        main->show();
        QCoreApplication::processEvents();
    }

    void save(QWidget* widget, const char* name) {
        main->redraw();
        QCoreApplication::processEvents();
        const QString path = QDir(directory).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    }

    QString directory;
    std::unique_ptr<WorldState> world;
    std::unique_ptr<MainWindow> main;
};

TEST_F(ViewScreenshots, StartUpSceneMaximised) {
    auto w = makeWorld();
    startWorld(*w);
    open(std::move(w));
    save(main.get(), "main-window-maximised.png");
}

TEST_F(ViewScreenshots, ComplexZoomedIn) {
    auto w = makeWorld();
    startWorld(*w);
    open(std::move(w));
    int32_t member = 0;
    while (member < world->radarCount && world->radars[member].placedComplex < 0) {
        ++member;
    }
    ASSERT_LT(member, world->radarCount);
    const RadarSite& r = world->radars[member];
    const MapCamera& camera = childNamed<MapView>(main.get(), "mapView")->camera();
    childNamed<MapView>(main.get(), "mapView")
        ->zoomAbout(6 / camera.scale(), {camera.screenX(r.x), camera.screenY(r.y)});
    childNamed<MapView>(main.get(), "mapView")
        ->pan(camera.viewportWidth() / 2 - camera.screenX(r.x),
              camera.viewportHeight() / 2 - camera.screenY(r.y));
    save(childNamed<MapView>(main.get(), "mapView"), "map-zoomed-complex.png");
}

TEST_F(ViewScreenshots, CapacitySceneWithPlacedLabels) {
    auto w = scenes::capacityScene(scenes::Missiles::Harm, false);
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 0; n < 120; ++n) {
        SimulationTick(*w, *scratch);
    }
    open(std::move(w));
    save(childNamed<MapView>(main.get(), "mapView"), "map-capacity-labels.png");
}

}  // namespace
}  // namespace prrsim::ui
