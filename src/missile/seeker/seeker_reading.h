#pragma once

// How the seeker looks at the radars: the two places where it goes over the whole radar table,
// the step's reception and the automatic search's field-of-view test. The program reads them
// the fast way; the exactness tests and the benchmarks pass other readings of the same tests
// (test support keeps the direct one) and compare.

namespace prrsim {

struct WorldState;
struct Missile;
struct RadarSite;
struct SeekerCatalogs;

namespace seeker {

class ReceptionLog;
class FieldOfViewPretest;

struct Reading {
    // Finds the paths that reach the seeker in one step, radars in table order, into `log`.
    void (*receive)(const SeekerCatalogs& c, WorldState& world, Missile& m, ReceptionLog& log);
    // The automatic search's field-of-view test of radar `r` (not the wide search).
    bool (*searchSees)(const FieldOfViewPretest& view, const RadarSite& r);
};

// The program's reading: the fast reception, and the cone pre-test in front of the search's
// field-of-view test.
const Reading& programReading();

}  // namespace seeker
}  // namespace prrsim
