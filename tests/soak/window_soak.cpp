// Window soak: the main window with its add-radar dialog and missile window, offscreen, driven
// by seeded random QTest events: mouse moves and clicks over the map (often right on an
// aircraft, radar or missile), clicks on every visible, enabled button and box, list choices,
// combo-box and track-bar keys, the compass pictures, the dialog and the missile window closed
// by their frames, and ticks and redraws advanced by calling the timer handlers. Time control
// is part of it: pauses, steps, speeds, jumps on the timeline (back and forth) and changes made
// after a jump back, which drop the recording after them or not, as the prompt is answered at
// random; so are saving and opening the scene. The world invariants are checked after every
// event. Every session's recording is saved and run by the batch runner, which must give the
// window's world bit for bit (every field of every record): at the session's end, before some
// jumps back from the end, and against the world the window shows after opening the file.
//
//   window_soak            short form (CI): 50 sessions, 100,000 events
//   window_soak --long     long form: 1,000,000 events
//   PRRSIM_SOAK=long       the same as --long
//   --seed N, --events N   seed (default 1) and event count
//
// Exit status 0 when every check held, 1 with the seed, the event and the broken invariant or
// the differing fields on standard error otherwise.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "missile/world_comparison.h"
#include "scenario/runner.h"
#include "ui/add_radar_dialog.h"
#include "ui/find_child.h"
#include "ui/main_window.h"
#include "ui/map_view.h"
#include "ui/missile_window.h"
#include "ui/picture_box.h"
#include "world/units.h"
#include "world/world.h"
#include "world/world_invariants.h"

namespace prrsim::soak {
namespace {

using session::Session;
using ui::AddRadarDialog;
using ui::childNamed;
using ui::MainWindow;
using ui::MapView;
using ui::SceneFiles;
using ui::MissileWindow;

constexpr int64_t kSessionEvents = 2'000;

struct Totals {
    int64_t sessions = 0;
    int64_t events = 0;
    int64_t ticks = 0;
    int64_t redraws = 0;
    int64_t notices = 0;
    int64_t dialogs = 0;
    int64_t detonations = 0;
    int64_t actions = 0;
    int64_t jumps = 0;
    int64_t dropped = 0;  // changes after a jump back that dropped the recording after them
    int64_t kept = 0;     // ... and that were not made, the recording kept
    int64_t batchRuns = 0;
    int64_t opened = 0;
};

class WindowSoak {
  public:
    explicit WindowSoak(uint32_t seed) : rng_(seed), seed_(seed) { restart(); }

    // A new session: a new main window on a new scene, the start-up one or an empty map, with
    // a seed of its own; one in four opens a scene file as written by hand, whose aircraft fly
    // with fractional speeds, courses and climb angles, so that the panel's write-backs of
    // whole numbers change the world. Within a few simulated minutes every aircraft has flown
    // off the map, where no click reaches it, so sessions are kept short enough for the map to
    // stay busy.
    void restart() {
        form_.reset();
        form_ = std::make_unique<MainWindow>(*world_);
        form_->stopTimers();
        form_->showNotice = [this](const QString&) { ++totals_.notices; };
        form_->sceneFiles().showError = [this](const QString& text) {
            error_ = text.toStdString();
        };
        form_->sceneFiles().askYesNo = [this](const QString&, const QString&) {
            const bool drop = pick(3) == 0;
            ++(drop ? totals_.dropped : totals_.kept);
            return drop;
        };
        form_->sceneFiles().askSave = [](const QString&) {
            return SceneFiles::SaveAnswer::Discard;
        };
        const uint32_t seed = seed_ + static_cast<uint32_t>(totals_.sessions);
        const int kind = pick(4);
        if (kind == 0) {
            form_->sceneFiles().newScene(batch::StartWorld::Empty, seed);
        } else if (kind == 1) {
            openFractionalScene(seed);
        } else {
            form_->sceneFiles().newScene(batch::StartWorld::Default, seed);
        }
        form_->setPaused(false);
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_.get())) {
            std::fprintf(stderr, "window_soak: the main window was not exposed\n");
        }
        ++totals_.sessions;
    }

    void openFractionalScene(uint32_t seed) {
        std::string actions;
        for (int i = 0; i < 4; ++i) {
            const auto real = [this](int max) { return std::to_string(pick(max * 100) / 100.0); };
            actions += std::string(i == 0 ? "" : ",") + R"({"tick": 0, "op": "setAircraft", )" +
                       R"("aircraft": )" + std::to_string(i) + R"(, "speed": )" + real(1800) +
                       R"(, "heading": )" + real(360) + R"(, "climbAngle": )" +
                       std::to_string(pick(2000) / 100.0 - 10) + "}";
        }
        const QString path = dir_.filePath(QStringLiteral("by-hand.json"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write((R"({"start": "default", "seed": )" + std::to_string(seed) +
                    R"(, "ticks": 0, "actions": [)" + actions + "]}")
                       .c_str());
        file.close();
        if (!form_->sceneFiles().openScene(path)) {
            fault_ = "the scene written by hand did not open";
        }
    }

    bool run(int64_t events) {
        for (int64_t e = 0; e < events; ++e) {
            if (e > 0 && e % kSessionEvents == 0) {
                if (!finishSession(e)) {
                    return false;
                }
                restart();
            }
            const char* what = event();
            // The timers are driven by hand only.
            form_->stopTimers();
            ++totals_.events;
            std::string p = checkWorldInvariants(*world_);
            if (p.empty()) {
                p = viewProblem(*world_, form_->view());
            }
            if (p.empty() && !error_.empty()) {
                p = "the window showed an error: " + error_;
            }
            if (p.empty()) {
                p = fault_;
            }
            if (!p.empty()) {
                std::fprintf(stderr, "window_soak: seed %u, event %lld (%s): %s\n", seed_,
                             static_cast<long long>(e), what, p.c_str());
                return false;
            }
        }
        return finishSession(events);
    }

    const Totals& totals() const { return totals_; }

  private:
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    // One random event; returns what it was.
    const char* event() {
        const int k = pick(1000);
        if (k < 5) {
            return saveAndOpen();
        }
        if (k < 25) {
            form_->togglePause();
            return "pause or go on";
        }
        if (k < 40) {
            form_->setSpeed(pick(MainWindow::kSpeedCount));
            return "speed";
        }
        if (k < 45) {
            // Back to the start ("Заново") now and then, mostly into the recording.
            jump(pick(8) == 0 ? 0 : pick(static_cast<int>(form_->session().end()) + 1));
            return "jump";
        }
        if (k < 250) {
            return mapEvent();
        }
        if (k < 550) {
            return controlEvent();
        }
        if (k < 750) {
            runTicks(pick(10) == 0 ? 1 + pick(500) : 1 + pick(20));
            return "ticks";
        }
        if (k < 880) {
            form_->redraw();
            ++totals_.redraws;
            return "redraw";
        }
        if (k < 910) {
            form_->advanceImpactText();
            return "impact text";
        }
        if (k < 940) {
            auto* addRadar = childNamed<QPushButton>(form_.get(), "addRadarButton");
            if (form_->isEnabled() && addRadar->isVisible()) {
                QTest::mouseClick(addRadar, Qt::LeftButton);
                ++totals_.dialogs;
            }
            return "open the add-radar dialog";
        }
        if (k < 960) {
            childNamed<AddRadarDialog>(form_.get(), "addRadarDialog")->close();
            return "close the add-radar dialog";
        }
        if (k < 980) {
            childNamed<MissileWindow>(form_.get(), "missileWindow")->close();
            return "close the missile window";
        }
        return crewEvent();
    }

    // About n ticks by tick-timer events at the speed set (none while paused).
    void runTicks(int n) {
        const int events = std::max(1, n * 4 / (1 << form_->speed()));
        for (int i = 0; i < events; ++i) {
            const int32_t before = world_->missileCount;
            const int64_t tick = form_->session().tick();
            form_->runDueTicks();
            // Missiles leave the table during a tick only by detonating (or by a replayed
            // change, which the recording holds).
            totals_.detonations += std::max(0, before - world_->missileCount);
            totals_.ticks += form_->session().tick() - tick;
        }
    }

    // The timeline moved to `tick`; from the end of the recording, the window's world is first
    // checked against the batch run of the recording.
    void jump(int tick) {
        session::Session& session = form_->session();
        if (session.tick() == session.end() && pick(4) == 0) {
            checkAgainstBatch("before a jump back");
        }
        childNamed<QSlider>(form_.get(), "timeline")->setValue(tick);
        ++totals_.jumps;
    }

    // Saves the session, runs the file through the batch runner, compares the worlds.
    void checkAgainstBatch(const char* when) {
        if (!fault_.empty()) {
            return;
        }
        const QString path = dir_.filePath(QStringLiteral("check.json"));
        if (!form_->sceneFiles().saveScene(path)) {
            fault_ = std::string("the scene was not saved ") + when;
            return;
        }
        std::string error;
        const auto scenario = batch::loadScenario(path.toStdString(), error);
        if (!scenario) {
            fault_ = std::string("the saved scene does not read back ") + when + ": " + error;
            return;
        }
        auto batchWorld = makeWorld();
        const batch::RunResult result =
            batch::runScenario(*batchWorld, *scenario, "check.json", {});
        ++totals_.batchRuns;
        if (result.status != batch::RunStatus::Ok) {
            fault_ = std::string("the batch run failed ") + when + ": " + result.error;
            return;
        }
        const testing::Comparison cmp = testing::compareRecords(*world_, *batchWorld);
        if (!cmp.same()) {
            dir_.setAutoRemove(false);
            fault_ = std::string("the window and the batch run of ") + path.toStdString() +
                     " differ " + when + " at tick " + std::to_string(form_->session().tick()) +
                     ":\n" + cmp.report();
        }
    }

    // "Сохранить", then "Открыть" of the same file: the window shows the end of the recording,
    // which must be the world it had there.
    const char* saveAndOpen() {
        session::Session& session = form_->session();
        const QString path = dir_.filePath(QStringLiteral("scene.json"));
        const bool atEnd = session.tick() == session.end();
        auto before = makeWorld();
        *before = *world_;
        const size_t actions = session.actionCount();
        if (!form_->sceneFiles().saveScene(path) || !form_->sceneFiles().openScene(path)) {
            fault_ = "saving and opening the scene failed";
            return "save and open";
        }
        ++totals_.opened;
        if (session.actionCount() != actions || session.tick() != session.end() ||
            !form_->paused()) {
            fault_ = "the opened scene is not the saved one, at its end, paused";
        } else if (atEnd) {
            const testing::Comparison cmp = testing::compareRecords(*world_, *before);
            if (!cmp.same()) {
                fault_ = "the opened scene differs from the window's world:\n" + cmp.report();
            }
        }
        // Mostly go on running, as after opening an exercise.
        if (pick(3) != 0) {
            form_->setPaused(false);
        }
        return "save and open";
    }

    // The end of a session: played to the end of its recording by the ticks (replaying what
    // is recorded after a jump back), then compared with the batch run of its file.
    bool finishSession(int64_t e) {
        session::Session& session = form_->session();
        form_->setPaused(false);
        form_->setSpeed(MainWindow::kNormalSpeed);
        while (session.tick() < session.end()) {
            form_->runDueTicks();
        }
        totals_.actions += static_cast<int64_t>(session.actionCount());
        checkAgainstBatch("at the end of the session");
        if (!fault_.empty()) {
            std::fprintf(stderr, "window_soak: seed %u, session %lld (event %lld): %s\n", seed_,
                         static_cast<long long>(totals_.sessions), static_cast<long long>(e),
                         fault_.c_str());
            return false;
        }
        return true;
    }

    // Clicks `w` if a user could.
    void clickIfReachable(QWidget* w) {
        if (w->isVisible() && w->isEnabled()) {
            QTest::mouseClick(w, Qt::LeftButton);
        }
    }

    void clickMapAt(double x, double y) {
        MapView* map = childNamed<MapView>(form_.get(), "mapView");
        if (!map->isEnabled()) {
            return;
        }
        const QPoint p(std::clamp(static_cast<int>(std::clamp(x, -1e6, 1e6)), 0, 599),
                       std::clamp(static_cast<int>(std::clamp(y, -1e6, 1e6)), 0, 439));
        QTest::mouseMove(map, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(map, p);
        QTest::mouseClick(map, Qt::LeftButton, {}, p);
    }

    // The road of one missile by the windows' controls: select an aircraft, "Выбрать" and a
    // radar, "Добавить ПРР", then in the missile window power, capture and "ПУСК".
    const char* crewEvent() {
        const WorldState& w = *world_;
        if (w.aircraftCount == 0) {
            return mapEvent();
        }
        const Aircraft& a = w.aircraft[pick(w.aircraftCount)];
        clickMapAt(a.x, a.y);
        auto* pickTarget = childNamed<QPushButton>(form_.get(), "pickTargetButton");
        if (w.radarCount > 0 && pickTarget->isVisible()) {
            clickIfReachable(pickTarget);
            const RadarSite& r = w.radars[pick(w.radarCount)];
            clickMapAt(r.x, r.y);
        }
        clickIfReachable(childNamed<QPushButton>(form_.get(), "addMissileButton"));
        MissileWindow* f3 = childNamed<MissileWindow>(form_.get(), "missileWindow");
        clickIfReachable(childNamed<QPushButton>(f3, "activateButton"));
        clickIfReachable(childNamed<QPushButton>(f3, "seekerCaptureButton"));
        runTicks(pick(60));
        form_->redraw();
        clickIfReachable(childNamed<QPushButton>(f3, "missileLaunchButton"));
        return "crew";
    }

    // A point on the map: anywhere, or on (or next to) an object.
    QPoint mapPoint() {
        const WorldState& w = *world_;
        const int k = pick(4);
        double x = pick(kMapWidth);
        double y = pick(kMapHeight);
        if (k == 0 && w.aircraftCount > 0) {
            const Aircraft& a = w.aircraft[pick(w.aircraftCount)];
            x = a.x;
            y = a.y;
        } else if (k == 1 && w.radarCount > 0) {
            const RadarSite& r = w.radars[pick(w.radarCount)];
            x = r.x;
            y = r.y;
        } else if (k == 2 && w.missileCount > 0) {
            const Missile& m = w.missiles[pick(w.missileCount)];
            x = m.x;
            y = m.y;
        }
        const int px = static_cast<int>(std::clamp(x, -1e6, 1e6)) + pick(9) - 4;
        const int py = static_cast<int>(std::clamp(y, -1e6, 1e6)) + pick(9) - 4;
        return QPoint(std::clamp(px, 0, 599), std::clamp(py, 0, 439));
    }

    const char* mapEvent() {
        MapView* map = childNamed<MapView>(form_.get(), "mapView");
        if (!map->isEnabled()) {
            return "map (disabled)";
        }
        const QPoint p = mapPoint();
        QTest::mouseMove(map, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(map, p);
        if (pick(5) == 0) {
            return "map move";
        }
        QTest::mouseClick(map, Qt::LeftButton, {}, p);
        return "map click";
    }

    // Every control a user could reach now.
    std::vector<QWidget*> reachable() {
        std::vector<QWidget*> out;
        for (QWidget* w : form_->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled()) {
                continue;
            }
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QSlider*>(w) || qobject_cast<QListWidget*>(w) ||
                qobject_cast<ui::PictureBox*>(w)) {
                out.push_back(w);
            }
        }
        return out;
    }

    const char* controlEvent() {
        const std::vector<QWidget*> controls = reachable();
        if (controls.empty()) {
            return "no control";
        }
        QWidget* w = controls[pick(static_cast<int>(controls.size()))];
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            // On the indicator, which a click on the caption's far end would miss.
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
            return "check box";
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return "button";
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            static constexpr Qt::Key kKeys[] = {Qt::Key_Down, Qt::Key_Up,       Qt::Key_Home,
                                                Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp};
            QTest::keyClick(combo, kKeys[pick(6)]);
            return "list choice";
        }
        if (auto* slider = qobject_cast<QSlider*>(w)) {
            static constexpr Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right,    Qt::Key_Home,
                                                Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp,
                                                Qt::Key_Up,   Qt::Key_Down};
            const int n = 1 + pick(5);
            for (int i = 0; i < n; ++i) {
                QTest::keyClick(slider, kKeys[pick(8)]);
            }
            return "track bar";
        }
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            if (list->count() == 0) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
                return "empty list";
            }
            QListWidgetItem* item = list->item(pick(list->count()));
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
            return "list entry";
        }
        // A compass picture: move over it, then click.
        const QPoint p(pick(w->width()), pick(w->height()));
        QTest::mouseMove(w, p + QPoint(p.x() > 0 ? -1 : 1, 0));
        QTest::mouseMove(w, p);
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        return "compass";
    }

    std::mt19937 rng_;
    uint32_t seed_;
    Totals totals_;
    QTemporaryDir dir_;
    std::string error_;  // an error the window showed
    std::string fault_;  // a difference found
    std::unique_ptr<WorldState> world_ = makeWorld();
    std::unique_ptr<MainWindow> form_;
};

int run(int argc, char** argv) {
    const char* env = std::getenv("PRRSIM_SOAK");
    int64_t events = (env != nullptr && std::strcmp(env, "long") == 0) ? 1'000'000 : 100'000;
    uint32_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--long") {
            events = 1'000'000;
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--events" && i + 1 < argc) {
            events = std::strtoll(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: window_soak [--long] [--seed N] [--events N]\n");
            return 2;
        }
    }
    WindowSoak soak(seed);
    if (!soak.run(events)) {
        return 1;
    }
    const Totals& t = soak.totals();
    std::printf(
        "window_soak: %lld sessions, %lld events, %lld ticks (%.2f simulated hours), %lld redraws, "
        "%lld dialogs opened, %lld detonations, %lld notices, %lld recorded actions, %lld jumps, "
        "%lld changes after a jump back (%lld dropped the rest, %lld kept it), %lld scenes "
        "opened, %lld batch runs identical, 0 faults\n",
        static_cast<long long>(t.sessions), static_cast<long long>(t.events),
        static_cast<long long>(t.ticks), t.ticks * 0.01 / 3600, static_cast<long long>(t.redraws),
        static_cast<long long>(t.dialogs), static_cast<long long>(t.detonations),
        static_cast<long long>(t.notices), static_cast<long long>(t.actions),
        static_cast<long long>(t.jumps), static_cast<long long>(t.dropped + t.kept),
        static_cast<long long>(t.dropped), static_cast<long long>(t.kept),
        static_cast<long long>(t.opened), static_cast<long long>(t.batchRuns));
    return 0;
}

}  // namespace
}  // namespace prrsim::soak

namespace {

// The offscreen platform cannot raise windows and says so on every dialog opened.
QtMessageHandler previousHandler = nullptr;

void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("does not support raise()"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    previousHandler = qInstallMessageHandler(quietRaise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return prrsim::soak::run(argc, argv);
}
