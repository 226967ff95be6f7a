#pragma once

// The reception part of the seeker step, between the step itself (seeker_tracking.cpp) and
// the readings that find what reaches the seeker (seeker_reading.h): the program's cached fast
// path, and the direct reading of test support it is checked against.

#include <cstdint>

#include "missile/seeker/seeker_reception.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim {

struct WorldState;
struct SeekerScratch;

namespace seeker {

// One radar pass: -1 the illumination signal, 0 the main emission.
inline constexpr int32_t kIlluminationPass = -1;
inline constexpr int32_t kMainPass = 0;

inline Channel channelOfPass(int32_t pass) {
    return pass == kIlluminationPass ? Channel::Illumination : Channel::Main;
}

// Everything a received path does to the missile and the step, in the order the paths are
// received: the running sums, the received-path list for the estimate, parameter learning on
// the first path of each radar, pulse-train following and the missile's received lists.
class ReceptionLog {
  public:
    // Empties the scratch area's received-path list, which the paths then fill.
    ReceptionLog(const SeekerCatalogs& c, WorldState& world, SeekerScratch& scratch, Missile& m);

    // The passes of radar table position `row` follow.
    void beginRadar(int32_t row);
    // A path of the current radar reached the seeker with `power`: path 0 is the direct path,
    // 1 + l the reflection by landmark l; `channel` is the frequency channel acceptEmission
    // reported for the pass.
    void received(int32_t path, double power, int32_t channel);
    // Writes the received lists' counts.
    void finish();

    bool anyReceived() const { return received_; }
    int64_t sumX() const { return sumX_; }
    int64_t sumY() const { return sumY_; }
    int32_t count() const { return n_; }
    double totalPower() const { return totalPower_; }
    // The step's working area: the received paths and the readings' caches.
    SeekerScratch& scratch() const { return scratch_; }

  private:
    const SeekerCatalogs& c_;
    WorldState& world_;
    SeekerScratch& scratch_;
    Missile& m_;
    int32_t row_ = -1;
    bool followable_ = false;
    bool firstHandled_ = false;
    bool received_ = false;
    int64_t sumX_ = 0;
    int64_t sumY_ = 0;
    int32_t n_ = 0;
    double totalPower_ = 0;
    int32_t directCount_ = 0;
    int32_t reflectionCount_ = 0;
};

// Every radar in table order, each pass, the direct path and every landmark, read with what
// does not depend on the radar computed once per step, what does not depend on the missile kept in
// the scratch area, and radars that cannot reach the seeker set aside by conservative
// pre-tests.
void receiveFast(const SeekerCatalogs& c, WorldState& world, Missile& m, ReceptionLog& log);

}  // namespace seeker
}  // namespace prrsim
