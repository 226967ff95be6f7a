#pragma once

// The run as an ACMI 2.2 text flight recording, the public format of the common flight-debrief
// viewers.
//
// The map is a flat world in metres: U = 100 x (east), V = 100 (440 - y) (north), so the map's
// lower left corner is the origin and one pixel is 100 m; heights are 100 x altitude. Longitude
// and latitude are the same metres read as degrees on a sphere at the equator
// (ReferenceLongitude = ReferenceLatitude = 0, 111319.49 m to the degree). Times are simulated
// seconds from the start (ReferenceTime 2000-01-01T00:00:00Z).
//
// Objects: aircraft (Air+FixedWing, "Самолёт №n") from their creation to their removal; radars
// (Ground+Static+AntiAircraft, named by their catalogue type, RadarMode 1 while radiating);
// missiles (Weapon+Missile, named by their catalogue type, Parent = the carrier) from their
// launch to their detonation (Event=Destroyed) or removal; LockedTarget names the radar a
// missile's seeker holds. Every other event of the log is an Event=Message naming its objects.
// Aircraft and missiles carry T = Lon|Lat|Alt|Roll|Pitch|Yaw|U|V|Heading, radars
// T = Lon|Lat|Alt|U|V; a component that has not changed since the object's last line is left
// empty. Positions are sampled with the trace interval and written at every creation, launch
// and detonation.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "scenario/run_listener.h"

namespace prrsim::batch {

// Object ids (hexadecimal in the file): one range per kind, the object's number within it.
uint64_t acmiAircraftId(int32_t number);
uint64_t acmiRadarId(int32_t number);
uint64_t acmiMissileId(int32_t number);

inline constexpr double kAcmiMetresPerDegree = 111319.49079327357;

class AcmiRecorder final : public RunListener {
  public:
    // Writes the header; `title` and `briefing` name the recording.
    AcmiRecorder(std::ostream& out, std::string_view title, std::string_view briefing);

    void onEvents(const WorldState& world, std::span<const WorldEvent> events) override;
    void onSample(const WorldState& world, int64_t tick) override;

  private:
    struct Shown {
        std::vector<double> transform;  // the last values written, per component
        int radarMode = -1;
    };

    void at(int64_t tick);
    void line(const std::string& text);
    // Writes the components that changed (all of them for a new object) and `properties`.
    void place(uint64_t id, const std::vector<double>& transform, const std::string& properties);
    void remove(uint64_t id, std::string_view event, const std::string& text);
    void message(const WorldEvent& e, const std::string& text);
    void event(const WorldState& world, const WorldEvent& e);
    void sampleRadarMode(uint64_t id, bool radiating);
    bool shown(uint64_t id) const { return shown_.count(id) != 0; }

    std::ostream& out_;
    int64_t tick_ = 0;
    int64_t written_ = -1;  // the tick of the last time line
    std::unordered_map<uint64_t, Shown> shown_;
};

}  // namespace prrsim::batch
