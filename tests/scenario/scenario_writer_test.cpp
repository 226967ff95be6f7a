// The scenario writer: what the windows save reads back to the same scenario, and every file
// the reader accepts survives a write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "scenario/scenario.h"
#include "batch_test_support.h"

namespace prrsim::batch {
namespace {

using namespace testing;

Action make(Op op, int64_t tick) {
    Action a;
    a.op = op;
    a.tick = tick;
    return a;
}

// One action of every op, each field away from its default.
Scenario everyOp() {
    Scenario s;
    s.start = StartWorld::Empty;
    s.seed = 4294967295u;
    s.ticks = 900;
    s.description = "Кавычки \" и \\ обратная черта,\nперевод строки";
    int64_t tick = 0;
    for (int i = 0; i <= static_cast<int>(Op::SeekerOnDistance); ++i) {
        Action a = make(static_cast<Op>(i), tick += 7);
        a.aircraft = 3;
        a.radar = 5;
        a.missile = 2;
        a.type = 3;  // a radar type, or "AGM-88C HARM" with three launch modes
        a.complex = 2;
        a.launchMode = 1;
        a.operational = false;
        a.on = true;
        a.x = 599;
        a.y = 439;
        a.value = 60;
        if (a.op == Op::SetAircraft) {
            a.aircraftFields[kFieldAltitude] = 45.5;
        }
        s.actions.push_back(a);
    }
    // Values a window may write, and awkward ones a file may hold.
    const double reals[] = {-0.0, 1e-300, 0.1, 123456.789, -1e6, 750};
    for (const double v : reals) {
        Action a = make(Op::SetAircraft, tick);
        a.aircraft = 1;
        a.aircraftFields[kFieldHeading] = v;
        a.aircraftFields[kFieldSpeed] = std::fabs(v);
        s.actions.push_back(a);
    }
    Action track = make(Op::RemoveTrack, tick);
    track.radar = 0;
    track.value = -1;
    s.actions.push_back(track);
    // Each reaction kind; the field its kind does not use is kept (a campaign may vary the kind).
    const std::pair<int32_t, std::optional<int32_t>> reactions[] = {
        {0, std::nullopt}, {1, 7}, {2, std::nullopt}, {3, 100}};
    for (const auto& [kind, other] : reactions) {
        Action a = make(Op::SetReaction, tick);
        a.radar = 4;
        a.reactionKind = kind;
        a.warnKm = 150;
        a.holdSeconds = 600;
        a.blinkPeriod = kind == 2 ? std::optional<int32_t>(3) : other;
        a.frequencyPercent = kind == 3 ? std::optional<int32_t>(0) : std::nullopt;
        s.actions.push_back(a);
    }
    Action away = make(Op::PickTarget, tick);
    away.aircraft = 0;
    away.radar = -1;
    s.actions.push_back(away);
    for (size_t i = 0; i < s.actions.size(); ++i) {
        s.actions[i].position = static_cast<int32_t>(i);
    }
    return s;
}

// Equal, and every real with the same bits (-0.0 keeps its sign).
void expectSame(const Scenario& a, const Scenario& b) {
    EXPECT_EQ(a, b);
    ASSERT_EQ(a.actions.size(), b.actions.size());
    for (size_t i = 0; i < a.actions.size(); ++i) {
        for (int f = 0; f < kAircraftFieldCount; ++f) {
            const auto& x = a.actions[i].aircraftFields[f];
            const auto& y = b.actions[i].aircraftFields[f];
            if (x && y) {
                EXPECT_EQ(std::memcmp(&*x, &*y, sizeof(double)), 0) << "action " << i;
            }
        }
    }
}

// Only the fields its op uses: the rest of a parsed action keeps its defaults.
Scenario asRead(Scenario s) {
    std::string error;
    auto read = parseScenario(writeScenario(s), "w.json", error);
    EXPECT_TRUE(read) << error;
    return read ? *read : Scenario{};
}

TEST(ScenarioWriter, EveryOpReadsBackToTheSameAction) {
    const Scenario written = asRead(everyOp());
    ASSERT_EQ(written.actions.size(), everyOp().actions.size());
    // A second round trip changes nothing at all.
    expectSame(asRead(written), written);
    const Scenario original = everyOp();
    for (size_t i = 0; i < written.actions.size(); ++i) {
        const Action& a = written.actions[i];
        const Action& o = original.actions[i];
        EXPECT_EQ(a.op, o.op);
        EXPECT_EQ(a.tick, o.tick);
        EXPECT_EQ(a.position, o.position);
    }
    EXPECT_EQ(written.description, original.description);
    EXPECT_EQ(written.seed, original.seed);
    EXPECT_EQ(written.start, StartWorld::Empty);
    EXPECT_TRUE(std::signbit(*written.actions[26].aircraftFields[kFieldHeading]));
}

TEST(ScenarioWriter, EveryShippedScenarioSurvivesAWrite) {
    int files = 0;
    for (const char* folder : {"examples", "tests/scenario/scenarios"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(PRRSIM_SOURCE_DIR) / folder)) {
            if (entry.path().extension() != ".json" ||
                entry.path().filename().string().ends_with("-campaign.json")) {
                continue;  // campaign files name a scenario, they are none
            }
            std::string error;
            const auto read = loadScenario(entry.path().string(), error);
            ASSERT_TRUE(read) << error;
            const auto again = parseScenario(writeScenario(*read), "again.json", error);
            ASSERT_TRUE(again) << entry.path() << ": " << error;
            expectSame(*again, *read);
            ++files;
        }
    }
    EXPECT_GT(files, 20);
}

struct CheckRow {
    const char* name;
    Action action;
    const char* field;  // nullptr: accepted
};

Action with(Op op, void (*set)(Action&)) {
    Action a = make(op, 10);
    a.aircraft = 0;
    a.radar = 0;
    a.missile = 0;
    set(a);
    return a;
}

TEST(ScenarioWriter, CheckActionRefusesWhatAFileCouldNotHold) {
    const CheckRow rows[] = {
        {"placing on the map", with(Op::PlaceRadar, [](Action& a) { a.x = 599; }), nullptr},
        {"placing off the map", with(Op::PlaceRadar, [](Action& a) { a.x = 600; }), "x"},
        {"a click away from every radar", with(Op::PickTarget, [](Action&) {}), nullptr},
        {"no aircraft to track", with(Op::AssignTarget, [](Action& a) { a.aircraft = -1; }),
         "aircraft"},
        {"negative speed",
         with(Op::SetAircraft, [](Action& a) { a.aircraftFields[kFieldSpeed] = -1; }), "speed"},
        {"no value at all", with(Op::SetAircraft, [](Action&) {}), ""},
        {"distance beyond the bar", with(Op::SeekerOnDistance, [](Action& a) { a.value = 101; }),
         "value"},
        {"a hop without its percentage",
         with(Op::SetReaction, [](Action& a) { a.reactionKind = 3, a.warnKm = 5; }),
         "frequencyPercent"},
        {"a hop", with(Op::SetReaction, [](Action& a) {
             a.reactionKind = 3, a.warnKm = 5, a.frequencyPercent = 0;
         }),
         nullptr},
        {"a warning distance of 0", with(Op::SetReaction, [](Action&) {}), "warnKm"},
        {"launch mode beyond the type's",
         with(Op::AddMissile, [](Action& a) { a.type = 3, a.launchMode = 3; }), "launchMode"},
    };
    for (const CheckRow& row : rows) {
        const auto error = checkAction(row.action);
        if (row.field == nullptr) {
            EXPECT_FALSE(error) << row.name << ": " << error->line();
        } else {
            ASSERT_TRUE(error) << row.name;
            EXPECT_EQ(error->field, row.field) << row.name << ": " << error->line();
        }
    }
}

}  // namespace
}  // namespace prrsim::batch
