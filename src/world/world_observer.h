#pragma once

#include <cstdint>

namespace prrsim {

// A missile detonation as the map and the batch runner see it.
struct ImpactEvent {
    int32_t missile = 0;  // its table index when removed
    int32_t typeIndex = 0;
    double x = 0;  // real position at removal
    double y = 0;
};

// How the core tells the windows that something they show has changed. The core never draws;
// the windows (and tests, which count the calls) implement this.
class WorldObserver {
  public:
    virtual ~WorldObserver() = default;
    // The radar panel should show radar `row` again (blink switched, track list changed...).
    virtual void radarPanelRefresh(int32_t row) = 0;
    // A missile detonated and left the table; the impact text starts at (trunc x, trunc y).
    virtual void missileDetonated(const ImpactEvent& impact) = 0;
    // Missile `row` left the table (detonated, or unloaded with its carrier); the records above
    // it moved down one position.
    virtual void missileRemoved(int32_t row) = 0;
};

}  // namespace prrsim
