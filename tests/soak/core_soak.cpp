// Core soak: seeded random sessions of scenario actions, applied through the batch runner's
// action code, with random numbers of ticks between them. The world invariants are checked
// after every action and every tick; a refused action must leave the world unchanged.
//
//   core_soak            short form (CI): 200 sessions, >= 2,000 actions, >= 100,000 ticks
//   core_soak --long     long form: >= 1,000,000 actions and >= 10 simulated hours
//   PRRSIM_SOAK=long     the same as --long
//   --seed N             first session seed (default 1); session k uses seed N + k
//   --sessions N         run exactly N sessions (overrides the form's minimums)
//
// Exit status 0 when every check held, 1 with the session, the step and the broken invariant
// on standard error otherwise.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <string>

#include "catalog/missile_catalog.h"
#include "scenario/actions.h"
#include "scenario/scenario.h"
#include "scenario/trace.h"
#include "sim/tick.h"
#include "world/units.h"
#include "world/world.h"
#include "world/world_invariants.h"

namespace prrsim::soak {
namespace {

using batch::Action;
using batch::Op;

constexpr int kOpCount = static_cast<int>(Op::SetReaction) + 1;
// A planned action's missile: the last one in the table when the action is applied.
constexpr int32_t kLastMissile = -2;

// A detonation must come from a finite position.
class ImpactWatch final : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t) override {}
    void missileRemoved(int32_t) override {}
    void missileDetonated(const ImpactEvent& e) override {
        ++impacts;
        if (!std::isfinite(e.x) || !std::isfinite(e.y)) {
            badImpact = true;
        }
    }
    int64_t impacts = 0;
    bool badImpact = false;
};

bool verbose = false;  // every applied action on standard error

struct Totals {
    int64_t sessions = 0;
    int64_t actions = 0;
    int64_t refused = 0;
    int64_t ticks = 0;
    int64_t impacts = 0;
};

class Session {
  public:
    Session(uint32_t seed, int32_t actionCount, Totals& totals)
        : rng_(seed), seed_(seed), actionCount_(actionCount), totals_(totals) {}

    bool run() {
        world_->observer = &watch_;
        if (pick(4) == 0) {
            startEmptyWorld(*world_);
        } else {
            startWorld(*world_);
        }
        world_->random.seed(seed_);
        if (!check("start")) {
            return false;
        }
        for (step_ = 0; step_ < actionCount_;) {
            if (pick(100) == 0) {
                // A burst of one add fills its table and goes on against the full table.
                const Action a = randomAction(burstOp());
                const int32_t n = 60 + pick(150);
                for (int32_t i = 0; i < n && step_ < actionCount_; ++i) {
                    if (!apply(a)) {
                        return false;
                    }
                }
            } else if (!plan_.empty()) {
                Action a = plan_.front();
                plan_.pop_front();
                if (a.missile == kLastMissile) {
                    a.missile = world_->missileCount > 0 ? world_->missileCount - 1 : 0;
                }
                if (!apply(a)) {
                    return false;
                }
            } else if (pick(15) == 0) {
                planAttack();
            } else if (!apply(randomAction(randomOp()))) {
                return false;
            }
            const int32_t gap = tickGap();
            for (int32_t t = 0; t < gap; ++t) {
                SimulationTick(*world_, *scratch_);
                ++totals_.ticks;
                ++ticks_;
                if (!check("tick")) {
                    return false;
                }
            }
        }
        totals_.impacts += watch_.impacts;
        world_->observer = nullptr;
        return true;
    }

  private:
    int32_t pick(int32_t n) { return n <= 0 ? 0 : static_cast<int32_t>(rng_() % n); }
    int32_t between(int32_t lo, int32_t hi) { return lo + pick(hi - lo + 1); }

    // Exactly onto a radar or a landmark, at its height: zero distances for the seeker and
    // the radars' geometry.
    void onTopOfSomething(Action& a) {
        const WorldState& w = *world_;
        if (pick(2) == 0 && w.radarCount > 0) {
            const RadarSite& r = w.radars[pick(w.radarCount)];
            a.aircraftFields[kFieldX] = r.x;
            a.aircraftFields[kFieldY] = r.y;
            a.aircraftFields[kFieldAltitude] = r.height;
        } else if (w.landmarkCount > 0) {
            const Landmark& l = w.landmarks[pick(w.landmarkCount)];
            a.aircraftFields[kFieldX] = l.x;
            a.aircraftFields[kFieldY] = l.y;
            a.aircraftFields[kFieldAltitude] = l.height;
        }
        if (pick(2) == 0) {
            a.aircraftFields[kFieldSpeed] = 0.0;
        }
    }

    // Every op, the ones of the road of a missile twice as often.
    Op randomOp() {
        const int32_t k = pick(kOpCount + 8);
        if (k < kOpCount) {
            return static_cast<Op>(k);
        }
        static constexpr Op kMissileRoad[] = {Op::PickTarget,   Op::AttackRun,  Op::AddMissile,
                                              Op::Activate,     Op::Capture,    Op::Launch,
                                              Op::AssignTarget, Op::SetEmission};
        return kMissileRoad[k - kOpCount];
    }

    // The road of one missile as a crew goes it: a target, a missile on the carrier, power,
    // capture or data entry, launch (sometimes twice); the random actions around it remove
    // carriers and targets, switch emissions and blink while it flies.
    void planAttack() {
        const Action base = randomAction(Op::PickTarget);
        auto step = [&](Op op) {
            Action a = randomAction(op);
            a.aircraft = base.aircraft;
            a.radar = base.radar;
            a.missile = kLastMissile;
            plan_.push_back(a);
        };
        step(Op::PickTarget);
        if (pick(2) == 0) {
            step(Op::AttackRun);
        }
        step(Op::AddMissile);
        step(Op::Activate);
        step(Op::Capture);
        if (pick(4) == 0) {
            step(Op::Capture);
        }
        step(Op::Launch);
        if (pick(4) == 0) {
            step(Op::Launch);
        }
    }

    // Mostly a few ticks; sometimes a second, sometimes long enough for a whole flight.
    int32_t tickGap() {
        if (pick(50) == 0) {
            return pick(3001);
        }
        return pick(10) == 0 ? pick(101) : pick(4);
    }

    Op burstOp() {
        static constexpr Op kAdds[] = {Op::AddAircraft, Op::AddRadar, Op::AddComplex,
                                       Op::AddMissile};
        return kAdds[pick(4)];
    }

    // A table position: mostly an existing one, sometimes any the reader accepts.
    int32_t position(int32_t count, int32_t capacity) {
        if (count > 0 && pick(8) != 0) {
            return pick(count);
        }
        return pick(capacity);
    }

    // A recent missile more often: the one just loaded is the one the user goes on with.
    int32_t missilePosition() {
        const int32_t count = world_->missileCount;
        if (count > 0 && pick(2) == 0) {
            return count - 1;
        }
        return position(count, kMissileCapacity);
    }

    double aircraftValue(int field) {
        if (pick(20) == 0) {
            // Extremes the reader still accepts.
            const double extremes[] = {0.0, -0.0, 1e6, -1e6, 1e-300, 999999.999};
            const double v = extremes[pick(6)];
            return field == kFieldSpeed ? std::fabs(v) : v;
        }
        switch (field) {
            case kFieldX:
                return between(-50, 650) + pick(1000) * 0.001;
            case kFieldY:
                return between(-50, 490) + pick(1000) * 0.001;
            case kFieldAltitude:
                return between(-5, 200) + pick(100) * 0.01;
            case kFieldHeading:
            case kFieldClimbAngle:
                return between(-720, 720) + pick(100) * 0.01;
            default:
                return between(0, 3000);
        }
    }

    // Any action the scenario reader accepts: catalogue indices and control ranges valid,
    // table positions anything within the tables' capacities.
    Action randomAction(Op op) {
        const WorldState& w = *world_;
        Action a;
        a.op = op;
        a.position = static_cast<int32_t>(totals_.actions);
        a.aircraft = position(w.aircraftCount, kAircraftCapacity);
        a.radar = position(w.radarCount, kRadarCapacity);
        a.missile = missilePosition();
        a.on = pick(2) == 0;
        a.operational = pick(4) != 0;
        a.x = pick(kMapWidth);
        a.y = pick(kMapHeight);
        switch (op) {
            case Op::AddRadar:
                a.type = pick(radarTypeCount());
                break;
            case Op::AddComplex:
                a.complex = pick(samComplexCount());
                break;
            case Op::AddMissile:
                a.type = pick(missileTypeCount());
                a.launchMode = pick(missileType(a.type).launchModeCount);
                break;
            case Op::PickTarget:
                if (pick(5) == 0) {
                    a.radar = -1;
                }
                break;
            case Op::SetAircraft:
                for (int f = 0; f < kAircraftFieldCount; ++f) {
                    if (pick(3) == 0) {
                        a.aircraftFields[f] = aircraftValue(f);
                    }
                }
                if (pick(6) == 0) {
                    onTopOfSomething(a);
                }
                if (!a.aircraftFields[pick(kAircraftFieldCount)]) {
                    a.aircraftFields[kFieldSpeed] = aircraftValue(kFieldSpeed);
                }
                break;
            case Op::SetBlink:
            case Op::SetScanMethod:
                a.value = pick(6);
                break;
            case Op::SetPrfMode:
                a.value = pick(8);
                break;
            case Op::SetAntennaDirection:
                a.value = pick(361);
                break;
            case Op::SetFrequency:
            case Op::SeekerOnDistance:
                a.value = pick(101);
                break;
            case Op::RemoveTrack:
                a.value = between(-2, 21);
                break;
            case Op::SetReaction:
                // Short holds, so that reactions are undone within a session too.
                a.reactionKind = pick(kReactionKindCount);
                a.warnKm = between(kReactionWarnKmMin, kReactionWarnKmMax);
                a.holdSeconds = pick(6);
                a.blinkPeriod = between(1, 4);
                a.frequencyPercent = pick(kReactionPercentMax + 1);
                break;
            default:
                break;
        }
        return a;
    }

    bool apply(const Action& a) {
        ++step_;
        ++totals_.actions;
        if (verbose) {
            describe("apply", a);
        }
        *before_ = *world_;
        if (const auto error = batch::applyAction(*world_, a)) {
            ++totals_.refused;
            // A refused action leaves the world as it was.
            if (batch::traceLine(*before_, 0, {}) != batch::traceLine(*world_, 0, {})) {
                return fail(a, "refused action (" + batch::englishText(error->refusal) +
                                   ") changed the world");
            }
        }
        return check(a);
    }

    bool check(const Action& a) {
        std::string p = checkWorldInvariants(*world_);
        if (p.empty() && watch_.badImpact) {
            p = "a detonation at a position that is not finite";
        }
        return p.empty() || fail(a, p);
    }

    bool check(const char* what) {
        const std::string p = checkWorldInvariants(*world_);
        if (p.empty() && !watch_.badImpact) {
            return true;
        }
        std::fprintf(stderr, "core_soak: seed %u, after action %d, %s %lld: %s\n", seed_, step_,
                     what, static_cast<long long>(ticks_),
                     p.empty() ? "a detonation at a position that is not finite" : p.c_str());
        return false;
    }

    void describe(const char* what, const Action& a) {
        std::fprintf(stderr,
                     "%s %d at tick %lld: %.*s aircraft %d radar %d missile %d type %d "
                     "mode %d complex %d value %d on %d x %d y %d",
                     what, step_, static_cast<long long>(ticks_),
                     static_cast<int>(batch::opName(a.op).size()), batch::opName(a.op).data(),
                     a.aircraft, a.radar, a.missile, a.type, a.launchMode, a.complex, a.value, a.on,
                     a.x, a.y);
        for (int f = 0; f < kAircraftFieldCount; ++f) {
            if (a.aircraftFields[f]) {
                std::fprintf(stderr, " %.*s %.17g",
                             static_cast<int>(batch::aircraftFieldName(f).size()),
                             batch::aircraftFieldName(f).data(), *a.aircraftFields[f]);
            }
        }
        std::fprintf(stderr, "\n");
    }

    bool fail(const Action& a, const std::string& problem) {
        std::fprintf(stderr,
                     "core_soak: seed %u, action %d (%.*s aircraft %d radar %d missile %d "
                     "value %d): %s\n",
                     seed_, step_, static_cast<int>(batch::opName(a.op).size()),
                     batch::opName(a.op).data(), a.aircraft, a.radar, a.missile, a.value,
                     problem.c_str());
        return false;
    }

    std::mt19937 rng_;
    uint32_t seed_;
    int32_t actionCount_;
    int32_t step_ = 0;
    int64_t ticks_ = 0;
    Totals& totals_;
    ImpactWatch watch_;
    std::deque<Action> plan_;
    std::unique_ptr<WorldState> world_ = makeWorld();
    std::unique_ptr<SeekerScratch> scratch_ = makeSeekerScratch();
    std::unique_ptr<WorldState> before_ = makeWorld();
};

struct Form {
    int64_t minSessions;
    int64_t minActions;
    int64_t minTicks;
    int32_t actionsPerSession;
};

constexpr Form kShort{200, 2'000, 100'000, 80};
constexpr Form kLong{1, 1'000'000, 3'600'000, 200};  // 3,600,000 ticks = 10 simulated hours

int run(int argc, char** argv) {
    const char* env = std::getenv("PRRSIM_SOAK");
    Form form = (env != nullptr && std::strcmp(env, "long") == 0) ? kLong : kShort;
    uint32_t seed = 1;
    int64_t sessions = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--long") {
            form = kLong;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--sessions" && i + 1 < argc) {
            sessions = std::strtoll(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr,
                         "usage: core_soak [--long] [--seed N] [--sessions N] [--verbose]\n");
            return 2;
        }
    }
    Totals totals;
    auto more = [&] {
        if (sessions >= 0) {
            return totals.sessions < sessions;
        }
        return totals.sessions < form.minSessions || totals.actions < form.minActions ||
               totals.ticks < form.minTicks;
    };
    while (more()) {
        Session session(seed + static_cast<uint32_t>(totals.sessions), form.actionsPerSession,
                        totals);
        if (!session.run()) {
            return 1;
        }
        ++totals.sessions;
    }
    std::printf(
        "core_soak: %lld sessions, %lld actions (%lld refused), %lld ticks (%.2f simulated "
        "hours), %lld detonations, 0 faults\n",
        static_cast<long long>(totals.sessions), static_cast<long long>(totals.actions),
        static_cast<long long>(totals.refused), static_cast<long long>(totals.ticks),
        totals.ticks * 0.01 / 3600, static_cast<long long>(totals.impacts));
    return 0;
}

}  // namespace
}  // namespace prrsim::soak

int main(int argc, char** argv) {
    return prrsim::soak::run(argc, argv);
}
