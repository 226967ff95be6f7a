// The flight recording read back by a reader of the ACMI 2.2 text format written from its public
// description: every object's track matches the trace, objects live exactly as long as their
// records, and launches and detonations are where the run had them.
#include "review/acmi.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>

#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "batch_test_support.h"
#include "world/units.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using nlohmann::json;

// What a recording says.
struct AcmiObject {
    std::map<std::string, std::string> properties;
    std::vector<double> transform;                 // now
    std::map<int64_t, std::vector<double>> track;  // after each moment that set it
    int64_t born = -1;
    int64_t gone = -1;
};
struct AcmiEvent {
    int64_t tick = 0;
    std::string type;
    std::vector<std::string> ids;
    std::string text;
};
struct Acmi {
    std::map<std::string, std::string> global;
    std::map<std::string, AcmiObject> objects;
    std::vector<AcmiEvent> events;
};

// Splits at the separator, except where a backslash escapes it; removes the escapes.
std::vector<std::string> split(const std::string& s, char separator) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            parts.back() += s[++i];
        } else if (s[i] == separator) {
            parts.emplace_back();
        } else {
            parts.back() += s[i];
        }
    }
    return parts;
}

// Lines: a header of two lines; "#seconds" starts a moment; "-id" removes an object; "id,Key=
// Value,..." sets properties (commas in values escaped); T is Lon|Lat|Alt[|...], an empty
// component keeps its value; object 0 holds global properties and events
// (Event=Type|id|...|text). Moments are read back as ticks of 0.01 s.
Acmi readAcmi(const std::string& text) {
    Acmi file;
    const std::vector<std::string> all = lines(text);
    EXPECT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], "FileType=text/acmi/tacview");
    EXPECT_EQ(all[1], "FileVersion=2.2");
    int64_t tick = 0;
    for (size_t n = 2; n < all.size(); ++n) {
        const std::string& line = all[n];
        if (line.empty() || line.rfind("//", 0) == 0) {
            continue;
        }
        if (line[0] == '#') {
            tick = std::llround(std::stod(line.substr(1)) * 100);
            continue;
        }
        if (line[0] == '-') {
            file.objects[line.substr(1)].gone = tick;
            continue;
        }
        std::vector<std::string> fields = split(line, ',');
        const std::string id = fields[0];
        for (size_t f = 1; f < fields.size(); ++f) {
            const size_t eq = fields[f].find('=');
            const std::string key = fields[f].substr(0, eq);
            const std::string value = fields[f].substr(eq + 1);
            if (id == "0" && key == "Event") {
                std::vector<std::string> parts = split(value, '|');
                AcmiEvent e{tick, parts.front(), {}, parts.back()};
                e.ids.assign(parts.begin() + 1, parts.end() - 1);
                file.events.push_back(e);
            } else if (id == "0") {
                file.global[key] = value;
            } else {
                AcmiObject& object = file.objects[id];
                if (object.born < 0) {
                    object.born = tick;
                }
                if (key != "T") {
                    object.properties[key] = value;
                    continue;
                }
                const std::vector<std::string> components = split(value, '|');
                object.transform.resize(std::max(object.transform.size(), components.size()));
                for (size_t c = 0; c < components.size(); ++c) {
                    if (!components[c].empty()) {
                        object.transform[c] = std::stod(components[c]);
                    }
                }
                object.track[tick] = object.transform;
            }
        }
    }
    return file;
}

std::string hexId(uint64_t id) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, id, 16);
    return std::string(buffer, r.ptr);
}

// Which object each table row holds at every sample.
struct Rows final : RunListener {
    std::map<int64_t, std::vector<std::string>> aircraft, radars, missiles;
    void onSample(const WorldState& w, int64_t tick) override {
        for (int32_t i = 0; i < w.aircraftCount; ++i) {
            aircraft[tick].push_back(hexId(acmiAircraftId(w.aircraft[i].number)));
        }
        for (int32_t j = 0; j < w.radarCount; ++j) {
            radars[tick].push_back(hexId(acmiRadarId(w.radars[j].number)));
        }
        for (int32_t k = 0; k < w.missileCount; ++k) {
            missiles[tick].push_back(hexId(acmiMissileId(w.missiles[k].review.number)));
        }
    }
};

struct Recorded {
    Acmi acmi;
    std::vector<json> trace;
    Rows rows;
    RunResult result;
};

Recorded record(const std::string& scenarioPath, int64_t every) {
    Recorded r;
    std::string error;
    const auto scenario = loadScenario(sourcePath(scenarioPath).string(), error);
    EXPECT_TRUE(scenario.has_value()) << error;
    std::ostringstream trace;
    std::ostringstream acmi;
    AcmiRecorder recorder(acmi, "t", scenario->description);
    RunOptions options(every, &trace);
    options.listeners = {&r.rows, &recorder};
    auto world = makeWorld();
    r.result = runScenario(*world, *scenario, "t", options);
    EXPECT_EQ(r.result.status, RunStatus::Ok);
    r.acmi = readAcmi(acmi.str());
    for (const std::string& line : lines(trace.str())) {
        r.trace.push_back(json::parse(line));
    }
    return r;
}

// The object's transform in force at `tick`.
const std::vector<double>* at(const AcmiObject& object, int64_t tick) {
    auto it = object.track.upper_bound(tick);
    return it == object.track.begin() ? nullptr : &std::prev(it)->second;
}

bool alive(const AcmiObject& object, int64_t tick) {
    return object.born >= 0 && object.born <= tick && (object.gone < 0 || object.gone > tick);
}

TEST(AcmiRecording, EveryObjectsTrackReadBackMatchesTheTrace) {
    const std::string scenarios[] = {"examples/default.json",
                                     "tests/scenario/scenarios/harm_self_lock.json"};
    for (const std::string& path : scenarios) {
        const Recorded r = record(path, 50);
        ASSERT_FALSE(r.trace.empty()) << path;
        for (const json& line : r.trace) {
            const int64_t tick = line["tick"];
            std::vector<std::string> expected;
            // The same arithmetic as the recording: the trace's doubles read back exactly.
            const auto check = [&](const std::string& id, const json& record, bool air) {
                expected.push_back(id);
                ASSERT_TRUE(r.acmi.objects.count(id)) << path << " " << id;
                const std::vector<double>* t = at(r.acmi.objects.at(id), tick);
                ASSERT_NE(t, nullptr) << path << " " << id << " at " << tick;
                const size_t u = air ? 6 : 3;
                const double height =
                    air ? record["altitude"].get<double>() : record["height"].get<double>();
                EXPECT_EQ((*t)[u], record["x"].get<double>() * 100) << path << id << " " << tick;
                EXPECT_EQ((*t)[u + 1], (kMapHeight - record["y"].get<double>()) * 100)
                    << path << id << " " << tick;
                EXPECT_EQ((*t)[2], height * 100) << path << id << " " << tick;
            };
            for (size_t i = 0; i < line["aircraft"].size(); ++i) {
                check(r.rows.aircraft.at(tick)[i], line["aircraft"][i], true);
            }
            for (size_t j = 0; j < line["radars"].size(); ++j) {
                check(r.rows.radars.at(tick)[j], line["radars"][j], false);
            }
            for (size_t k = 0; k < line["missiles"].size(); ++k) {
                if (line["missiles"][k]["launched"] == 1) {
                    check(r.rows.missiles.at(tick)[k], line["missiles"][k], true);
                }
            }
            std::vector<std::string> living;
            for (const auto& [id, object] : r.acmi.objects) {
                if (alive(object, tick)) {
                    living.push_back(id);
                }
            }
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(living, expected) << path << " at " << tick;
        }
    }
}

// A description ending in a backslash continued the briefing onto the next line.
TEST(AcmiRecording, TextValuesEscapeBackslashesAndCommas) {
    const std::string rows[] = {"ends in a backslash\\", "a backslash\\, then a comma",
                                "C:\\scenarios\\, two", "\\\\"};
    for (const std::string& description : rows) {
        std::ostringstream out;
        { const AcmiRecorder recorder(out, description, description); }
        const Acmi acmi = readAcmi(out.str());
        EXPECT_EQ(acmi.global.at("Briefing"), description);
        EXPECT_EQ(acmi.global.at("Title"), description);
        for (const std::string& line : lines(out.str())) {
            const size_t kept = line.find_last_not_of('\\');
            const size_t trailing = line.size() - (kept == std::string::npos ? 0 : kept + 1);
            EXPECT_EQ(trailing % 2, 0u) << "a line continued: " << line;
        }
    }
}

TEST(AcmiRecording, ALaunchAndADetonationAsTheRunHadThem) {
    const Recorded r = record("tests/scenario/scenarios/harm_self_lock.json", 100);
    const std::string missile = hexId(acmiMissileId(1));
    const std::string carrier = hexId(acmiAircraftId(1));
    const std::string radar = hexId(acmiRadarId(1));
    const AcmiObject& m = r.acmi.objects.at(missile);
    ASSERT_EQ(r.result.impacts.size(), 1u);
    EXPECT_EQ(m.born, 150);
    EXPECT_EQ(m.gone, r.result.impacts[0].tick);
    EXPECT_EQ(m.properties.at("Name"), "AGM-88C HARM");
    EXPECT_EQ(m.properties.at("Type"), "Weapon+Missile");
    EXPECT_EQ(m.properties.at("Parent"), carrier);
    EXPECT_EQ(m.properties.at("LockedTarget"), radar);
    EXPECT_EQ(r.acmi.objects.at(radar).properties.at("Name"), "Куб, РЛС сопровождения 1С31");
    // The last position is the point of detonation.
    EXPECT_EQ(m.track.rbegin()->first, r.result.impacts[0].tick);
    EXPECT_EQ(m.track.rbegin()->second[6], r.result.impacts[0].x * 100);
    const auto destroyed = std::find_if(r.acmi.events.begin(), r.acmi.events.end(),
                                        [](const AcmiEvent& e) { return e.type == "Destroyed"; });
    ASSERT_NE(destroyed, r.acmi.events.end());
    EXPECT_EQ(destroyed->tick, r.result.impacts[0].tick);
    EXPECT_EQ(destroyed->ids, std::vector<std::string>{missile});
    EXPECT_NE(destroyed->text.find("промах 9 м"), std::string::npos) << destroyed->text;
}

}  // namespace
}  // namespace prrsim::batch
