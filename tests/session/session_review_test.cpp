// The session's review against the batch runner's, as a broad net: random sessions are opened,
// restored, extended live, jumped back and branched, and after each step the review the
// session keeps must be the review of its recording as prrsim-batch gives it (its event and
// missile tables byte for byte, written by prrsim-batch's own listeners), and the review kept
// live must equal a rebuild in every sample and trail point.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <sstream>
#include <string>

#include "batch_files.h"
#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "review/event_log.h"
#include "review/missile_summary.h"
#include "review/review_store.h"
#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "session/session.h"
#include "world/aircraft_control.h"
#include "world/units.h"
#include "world/world.h"

namespace prrsim::session {
namespace {

using testing::batchFiles;
using testing::BatchFiles;
using testing::filesOf;

// Every sample and trail point, bit for bit (NaN included), as text.
std::string samplesAndTrails(const review::ReviewStore& review) {
    std::ostringstream out;
    const auto bits = [](float v) { return std::bit_cast<uint32_t>(v); };
    for (int32_t n = 1; n <= static_cast<int32_t>(review.summaries().size()); ++n) {
        for (const review::MissileSample& s : review.samples(n)) {
            out << n << ':' << s.tick << ' ' << bits(s.altitude) << ' ' << bits(s.groundDistance)
                << ' ' << bits(s.slantDistance) << ' ' << bits(s.speed) << ' ' << bits(s.power)
                << ' ' << static_cast<int>(s.phase) << '\n';
        }
    }
    for (const auto* trails : {&review.aircraftTrails(), &review.missileTrails()}) {
        out << "trails\n";
        for (const auto& trail : *trails) {
            for (const review::TrailPoint& p : trail) {
                out << p.tick << ' ' << p.x << ' ' << p.y << ';';
            }
            out << '\n';
        }
    }
    out << "detonations " << review.detonations().size() << " end " << review.end();
    return out.str();
}

// A random session of the windows: changes made now (mostly the road of a missile, so that
// missiles fly and detonate), ticks played, jumps back, and the scene saved and opened again.
class RandomSession {
  public:
    explicit RandomSession(uint32_t seed) : rng_(seed), world_(makeWorld()), session_(*world_) {
        session_.reset(pick(4) == 0 ? batch::StartWorld::Empty : batch::StartWorld::Default);
    }

    Session& session() { return session_; }
    int jumps = 0;
    int branches = 0;
    int reopened = 0;

    // One random step of the user.
    void act() {
        const int what = pick(20);
        if (what < 9) {
            session_.perform(randomAction());
        } else if (what < 15) {
            const int64_t ticks = pick(8) == 0 ? 500 + pick(2500) : 1 + pick(120);
            for (int64_t i = 0; i < ticks; ++i) {
                session_.step();
            }
        } else if (what < 18) {
            session_.jumpTo(pick(static_cast<int32_t>(session_.end()) + 1));
            ++jumps;
            if (session_.tick() < session_.end() && pick(2) == 0 &&
                session_.perform(randomAction())) {
                ++branches;
            }
        } else {
            // Saved and opened again, or restored from its recovery text: the same file.
            batch::ScenarioError error;
            const auto text = batch::writeScenario(session_.recording());
            const auto scenario = batch::parseScenario(text, "recovery", error);
            ASSERT_TRUE(scenario) << error.line();
            ASSERT_TRUE(session_.open(*scenario, "recovery", error)) << error.line();
            ++reopened;
        }
    }

  private:
    int32_t pick(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng_); }

    int32_t anyOf(int32_t count) { return count > 0 ? pick(count) : 0; }

    batch::Action randomAction() {
        static constexpr batch::Op kOps[] = {
            batch::Op::AddAircraft, batch::Op::AddRadar,       batch::Op::AddComplex,
            batch::Op::RemoveRadar, batch::Op::RemoveAircraft, batch::Op::SetEmission,
            batch::Op::SetBlink,    batch::Op::AssignTarget,   batch::Op::SetAircraft,
            batch::Op::PickTarget,  batch::Op::AttackRun,      batch::Op::AddMissile,
            batch::Op::Activate,    batch::Op::Capture,        batch::Op::Launch,
            batch::Op::PickTarget,  batch::Op::AddMissile,     batch::Op::Activate,
            batch::Op::Capture,     batch::Op::Launch,         batch::Op::Launch,
        };
        const WorldState& w = *world_;
        batch::Action a;
        a.op = kOps[pick(static_cast<int32_t>(std::size(kOps)))];
        a.aircraft = anyOf(w.aircraftCount);
        a.radar = anyOf(w.radarCount);
        a.missile = w.missileCount > 0 ? w.missileCount - 1 - pick(std::min(w.missileCount, 2)) : 0;
        a.on = pick(3) != 0;
        a.x = pick(kMapWidth);
        a.y = pick(kMapHeight);
        switch (a.op) {
            case batch::Op::AddRadar:
                a.type = pick(radarTypeCount());
                break;
            case batch::Op::AddComplex:
                a.complex = pick(samComplexCount());
                break;
            case batch::Op::AddMissile:
                a.type = pick(missileTypeCount());
                a.launchMode = pick(missileType(a.type).launchModeCount);
                break;
            case batch::Op::SetBlink:
                a.value = pick(6);
                break;
            case batch::Op::SetAircraft:
                a.aircraftFields[kFieldSpeed] = 300.0 + pick(900);
                a.aircraftFields[kFieldHeading] = static_cast<double>(pick(360));
                break;
            default:
                break;
        }
        return a;
    }

    std::mt19937 rng_;
    std::unique_ptr<WorldState> world_;
    Session session_;
};

TEST(SessionReview, EqualsTheBatchRunnersOnRandomSessionsAndLiveEqualsARebuild) {
    int kept = 0;     // checks of a review kept live (opened, extended, jumped)
    int rebuilt = 0;  // checks after a branch left it to be rebuilt
    int jumps = 0;
    int branches = 0;
    int reopened = 0;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        RandomSession random(seed);
        Session& session = random.session();
        for (int step = 0; step < 24; ++step) {
            random.act();
            if (HasFatalFailure()) {
                return;
            }
            const std::string where =
                "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ", tick " +
                std::to_string(session.tick()) + " of " + std::to_string(session.end());
            if (session.reviewCurrent()) {
                ++kept;
                const auto rebuild = review::reviewOf(session.recording(), "session");
                ASSERT_TRUE(rebuild) << where;
                EXPECT_EQ(samplesAndTrails(session.review()), samplesAndTrails(*rebuild)) << where;
            } else {
                ++rebuilt;
                session.rebuildReview();
                ASSERT_TRUE(session.reviewCurrent()) << where;
            }
            const BatchFiles expected = batchFiles(session.recording());
            const BatchFiles shown = filesOf(session.review());
            ASSERT_EQ(shown.events, expected.events) << where;
            ASSERT_EQ(shown.missiles, expected.missiles) << where;
        }
        jumps += random.jumps;
        branches += random.branches;
        reopened += random.reopened;
    }
    // The net was cast: every way of coming to a review was taken.
    EXPECT_GT(kept, 20);
    EXPECT_GT(rebuilt, 2);
    EXPECT_GT(jumps, 5);
    EXPECT_GT(branches, 2);
    EXPECT_GT(reopened, 2);
}

// A change made at the recorded end of a sampled tick comes before that tick's sample, as the
// batch runner applies a tick's actions before sampling it.
TEST(SessionReview, AChangeAtASampledTickIsSampledAfterIt) {
    auto world = makeWorld();
    Session session(*world);
    session.reset(batch::StartWorld::Default);
    for (int i = 0; i < 2 * review::kSampleTicks; ++i) {
        session.step();
    }
    batch::Action add;
    add.op = batch::Op::AddAircraft;
    ASSERT_TRUE(session.perform(add));
    batch::Action move;
    move.op = batch::Op::SetAircraft;
    move.aircraft = world->aircraftCount - 1;
    move.aircraftFields[kFieldX] = 100.0;
    move.aircraftFields[kFieldY] = 100.0;
    ASSERT_TRUE(session.perform(move));
    ASSERT_TRUE(session.reviewCurrent());
    const auto rebuild = review::reviewOf(session.recording(), "session");
    ASSERT_TRUE(rebuild);
    const auto& trails = session.review().aircraftTrails();
    ASSERT_FALSE(trails.empty());
    ASSERT_FALSE(trails.back().empty());
    EXPECT_EQ(trails.back().back().x, 100);
    EXPECT_EQ(samplesAndTrails(session.review()), samplesAndTrails(*rebuild));
}

// A rebuild made of a recording that changed meanwhile is not taken.
TEST(SessionReview, ARebuildOfAFormerRecordingIsRefused) {
    auto world = makeWorld();
    Session session(*world);
    session.reset(batch::StartWorld::Default);
    for (int i = 0; i < 50; ++i) {
        session.step();
    }
    session.jumpTo(10);
    batch::Action add;
    add.op = batch::Op::AddAircraft;
    ASSERT_TRUE(session.perform(add));  // a branch: the review is to be rebuilt
    ASSERT_FALSE(session.reviewCurrent());
    const Session::ReviewJob job = session.reviewJob();
    session.step();  // the recording moves on before the rebuild is handed back
    auto fresh = job.run();
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(session.adoptReview(std::move(*fresh), job.stamp));
    EXPECT_FALSE(session.reviewCurrent());
    const Session::ReviewJob again = session.reviewJob();
    auto current = again.run();
    ASSERT_TRUE(current);
    EXPECT_TRUE(session.adoptReview(std::move(*current), again.stamp));
    EXPECT_TRUE(session.reviewCurrent());
    EXPECT_EQ(session.review().end(), session.end());
}

}  // namespace
}  // namespace prrsim::session
