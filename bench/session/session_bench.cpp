// The main window's time control and the session's jumps, at capacity.
//
// BM_WindowSpeedAtCapacity/speed:N runs the main window (offscreen, its real timers and message
// loop, the map redrawn every 100 ms) on the capacity scene with the 100 "AGM-88C HARM" in
// flight at speed N (7 = x32, 8 = x64) and reports the simulated seconds per wall second it
// achieves ("achieved"), with the missiles flying at the start and at the end of the measurement.
//
// BM_JumpInOneHourSession/scene:S builds a one-hour session (360,000 ticks) of the start-up
// scene (S = 0) or of the capacity scene with its 100 HARM on their carriers, activated and
// capturing (S = 1; they never detonate, so the seekers work all hour), and measures jumps from
// the end to the tick before each snapshot (the longest replay), with the snapshots' memory.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "../capacity_scene.h"
#include "session/session.h"
#include "sim/tick.h"
#include "ui/main_window.h"

namespace prrsim {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "prrsim_session_bench";
    static char* argv[] = {name, nullptr};
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static_cast<void>(offscreen);
    return app;
}

// Warm-up ticks before launch: the captures have turned into locks.
constexpr int32_t kWarmUpTicks = 120;

// The window maximised on a 1920 x 1080 screen (the frame and the task bar aside).
const QSize kMaximisedSize(1920, 1040);

void BM_WindowSpeedAtCapacity(benchmark::State& state) {
    QApplication& app = application();
    constexpr int kSettleMs = 100;
    constexpr int kMeasureMs = 1500;
    for (auto _ : state) {
        std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, false);
        const auto scratch = makeSeekerScratch();
        for (int32_t n = 0; n < kWarmUpTicks; ++n) {
            SimulationTick(*world, *scratch);
        }
        scenes::launchAll(*world);
        ui::MainWindow form(*world);
        form.setSpeed(static_cast<int>(state.range(0)));
        if (state.range(1) != 0) {
            form.resize(kMaximisedSize);  // the map fitted into the room of a 1920 x 1080 screen
        }
        form.show();
        int64_t startTick = 0;
        int32_t missilesAtStart = 0;
        QElapsedTimer wall;
        QTimer::singleShot(kSettleMs, [&] {
            startTick = form.session().tick();
            missilesAtStart = world->missileCount;
            wall.start();
        });
        QTimer::singleShot(kSettleMs + kMeasureMs, &app, &QCoreApplication::quit);
        app.exec();
        const double seconds = wall.nsecsElapsed() * 1e-9;
        const double simulated = (form.session().tick() - startTick) * 0.01;
        state.SetIterationTime(seconds);
        state.counters["achieved"] = simulated / seconds;
        state.counters["missiles_at_start"] = missilesAtStart;
        state.counters["missiles_at_end"] = world->missileCount;
    }
}
BENCHMARK(BM_WindowSpeedAtCapacity)
    ->ArgNames({"speed", "maximised"})
    ->Args({7, 0})
    ->Args({8, 0})
    ->Args({7, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

constexpr int64_t kOneHour = 360'000;

struct HourSession {
    std::unique_ptr<WorldState> world;
    std::unique_ptr<session::Session> session;
};

HourSession& hourSession(int scene) {
    static HourSession sessions[2];
    HourSession& s = sessions[scene];
    if (!s.session) {
        if (scene == 0) {
            s.world = makeWorld();
            s.session = std::make_unique<session::Session>(*s.world);
            s.session->reset(batch::StartWorld::Default);
        } else {
            s.world = scenes::capacityScene(scenes::Missiles::Harm, false);
            s.session = std::make_unique<session::Session>(*s.world);
        }
        for (int64_t n = 0; n < kOneHour; ++n) {
            s.session->step();
        }
    }
    return s;
}

void BM_JumpInOneHourSession(benchmark::State& state) {
    HourSession& s = hourSession(static_cast<int>(state.range(0)));
    session::Session& session = *s.session;
    int64_t snapshot = 1;
    for (auto _ : state) {
        // From the end to the tick before a snapshot: the longest replay there is.
        session.jumpTo(kOneHour);
        const int64_t target = snapshot * session::Session::kSnapshotInterval - 1;
        QElapsedTimer wall;
        wall.start();
        session.jumpTo(target);
        state.SetIterationTime(wall.nsecsElapsed() * 1e-9);
        snapshot = snapshot % (kOneHour / session::Session::kSnapshotInterval) + 7;
    }
    state.counters["snapshots"] = static_cast<double>(session.snapshotCount());
    state.counters["snapshot_MB"] = session.snapshotBytes() / 1e6;
}
BENCHMARK(BM_JumpInOneHourSession)
    ->ArgName("scene")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prrsim
