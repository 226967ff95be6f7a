// The review's rebuild: the whole recording run through the batch runner with the review's
// recorder (events, the missile summary, samples and trails), as a window does after a change
// made before the end of its recording, off its user-interface thread.
//
//   BM_ReviewRebuild/scene:0  the start-up scene, two "AGM-88C HARM" launched, 10 minutes
//   BM_ReviewRebuild/scene:1  one hour at capacity: 50 aircraft, 200 radars, 100 HARM on their
//                             carriers, activated and capturing (every seeker works all hour)

#include <benchmark/benchmark.h>

#include <cstdint>

#include "../capacity_scene.h"
#include "review/review_store.h"
#include "scenario/scenario.h"
#include "world/aircraft_control.h"

namespace prrsim {
namespace {

constexpr int64_t kTenMinutes = 60'000;
constexpr int64_t kOneHour = 360'000;

class Recording {
  public:
    Recording(batch::StartWorld start, int64_t ticks) {
        scenario_.start = start;
        scenario_.ticks = ticks;
    }
    batch::Action& add(int64_t tick, batch::Op op) {
        batch::Action a;
        a.position = static_cast<int32_t>(scenario_.actions.size());
        a.tick = tick;
        a.op = op;
        scenario_.actions.push_back(a);
        return scenario_.actions.back();
    }
    const batch::Scenario& scenario() const { return scenario_; }

  private:
    batch::Scenario scenario_;
};

// Aircraft 0 of the start-up scene locks a HARM on radar 0 and launches it, then a second
// one on radar 1.
batch::Scenario startSceneTwoHarm() {
    Recording r(batch::StartWorld::Default, kTenMinutes);
    const int32_t harm = scenes::missileTypeNamed("AGM-88C HARM");
    for (int32_t k = 0; k < 2; ++k) {
        const int64_t tick = 100 * k;
        batch::Action& pick = r.add(tick, batch::Op::PickTarget);
        pick.aircraft = 0;
        pick.radar = k;
        batch::Action& load = r.add(tick, batch::Op::AddMissile);
        load.aircraft = 0;
        load.type = harm;
        for (const batch::Op op : {batch::Op::Activate, batch::Op::Capture}) {
            r.add(tick, op).missile = k;
        }
    }
    for (int32_t k = 0; k < 2; ++k) {
        r.add(200 + 100 * k, batch::Op::Launch).missile = k;  // actions in tick order
    }
    return r.scenario();
}

// The capacity scene's tables as a recording: a grid of 200 radars of every type tracking
// the 50 aircraft, which fly at 3 to 6 km towards their attack targets, two HARM on each.
batch::Scenario capacityHour() {
    Recording r(batch::StartWorld::Empty, kOneHour);
    constexpr int32_t kColumns = 20;
    constexpr int32_t kRows = 10;
    int32_t radars = 0;
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t col = 0; col < kColumns; ++col) {
            r.add(0, batch::Op::AddRadar).type = (col + 7 * row) % kRadarTypeCapacity;
            batch::Action& place = r.add(0, batch::Op::PlaceRadar);
            place.radar = radars++;
            place.x = 15 + 29 * col + (row % 2) * 7;
            place.y = 22 + 43 * row;
        }
    }
    for (int32_t i = 0; i < kAircraftCapacity; ++i) {
        r.add(0, batch::Op::AddAircraft);
        batch::Action& set = r.add(0, batch::Op::SetAircraft);
        set.aircraft = i;
        set.aircraftFields[kFieldX] = 40.0 + 52 * (i % 10) + (i / 10) * 5;
        set.aircraftFields[kFieldY] = 30.0 + 85 * (i / 10);
        set.aircraftFields[kFieldAltitude] = 30.0 + (i * 7) % 31;
        set.aircraftFields[kFieldHeading] = static_cast<double>((i * 47) % 360);
        set.aircraftFields[kFieldSpeed] = 700.0 + (i * 13) % 200;
        batch::Action& pick = r.add(0, batch::Op::PickTarget);
        pick.aircraft = i;
        pick.radar = (i * 41) % radars;
    }
    for (int32_t j = 0; j < radars; ++j) {
        batch::Action& assign = r.add(0, batch::Op::AssignTarget);
        assign.radar = j;
        assign.aircraft = j % kAircraftCapacity;
    }
    const int32_t harm = scenes::missileTypeNamed("AGM-88C HARM");
    int32_t missiles = 0;
    for (int32_t i = 0; i < kAircraftCapacity; ++i) {
        for (int32_t k = 0; k < 2; ++k) {
            batch::Action& load = r.add(0, batch::Op::AddMissile);
            load.aircraft = i;
            load.type = harm;
            load.launchMode = k;
            for (const batch::Op op : {batch::Op::Activate, batch::Op::Capture}) {
                r.add(0, op).missile = missiles;
            }
            ++missiles;
        }
    }
    return r.scenario();
}

void BM_ReviewRebuild(benchmark::State& state) {
    const batch::Scenario scenario = state.range(0) == 0 ? startSceneTwoHarm() : capacityHour();
    size_t events = 0;
    size_t samples = 0;
    size_t missiles = 0;
    for (auto _ : state) {
        const auto review = review::reviewOf(scenario, "bench");
        if (!review) {
            state.SkipWithError("the recording could not be run");
            return;
        }
        events = review->events().size();
        missiles = review->summaries().size();
        samples = 0;
        for (int32_t n = 1; n <= static_cast<int32_t>(missiles); ++n) {
            samples += review->samples(n).size();
        }
    }
    state.counters["ticks"] = static_cast<double>(scenario.ticks);
    state.counters["events"] = static_cast<double>(events);
    state.counters["missiles"] = static_cast<double>(missiles);
    state.counters["samples_MB"] =
        static_cast<double>(samples * sizeof(review::MissileSample)) / 1e6;
}
BENCHMARK(BM_ReviewRebuild)
    ->ArgName("scene")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace prrsim
