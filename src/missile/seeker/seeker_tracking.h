#pragma once

#include <cstdint>

#include "missile/seeker/seeker_reception.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim {

struct WorldState;
struct SeekerScratch;

// Per-tick reception, target estimate and capture/lock/loss transitions (while capturing or
// locked).
void seekerStep(const SeekerCatalogs& c, WorldState& world, SeekerScratch& scratch, Missile& m,
                const seeker::Reading& reading = seeker::programReading());

// While it lives, the seekers' fast reception takes the radars from one index, built by the
// first step and again by the first after refresh(), instead of building one (and checking the
// landmark places) for every step. Its holder keeps the radars and landmarks as they are
// meanwhile, or calls refresh() once they may have changed (checked builds abort on a step
// that finds the radar index out of date). The tick holds one over the missiles' steps.
class IndexedRadars {
  public:
    explicit IndexedRadars(SeekerScratch& scratch);
    ~IndexedRadars();
    IndexedRadars(const IndexedRadars&) = delete;
    IndexedRadars& operator=(const IndexedRadars&) = delete;

    void refresh();

  private:
    SeekerScratch& scratch_;
};

// Whether the radar's emission on pass -1 (illumination) or 0 (main) matches what the seeker
// has memorised; `channelOut` always receives the radar's frequency channel.
bool acceptEmission(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, int32_t pass,
                    int32_t& channelOut);

// Slews the seeker antenna and recomputes the direction to the target.
void headStep(const SeekerCatalogs& c, WorldState& world, Missile& m);

// Advances the seeker timers by 0.01 s.
void timerStep(const SeekerCatalogs& c, Missile& m);

}  // namespace prrsim
