#pragma once

// The code paths the benchmarks measure the program against, as they were before the
// performance work of the radar index, the label cache and the batch runner: each one is the
// former code, kept unchanged apart from its namespace, so that any machine can measure before
// and after in one run.

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "campaign/campaign.h"
#include "missile/seeker/seeker_reading.h"
#include "missile/seeker/seeker_scratch.h"
#include "scenario/runner.h"
#include "scenario/trace.h"
#include "world/world_state.h"

namespace prrsim::before {

// The seekers' working area of the former reception: the program's, and the landmark places
// field by field that only the former code compares.
struct Scratch : SeekerScratch {
    std::array<LandmarkPlace, kScratchLandmarks> landmarks{};
};
std::unique_ptr<Scratch> makeScratch();

// The seeker's fast reading in which every missile visits every radar. Its steps must work in
// a before::Scratch.
const seeker::Reading& fastReading();

// The former radar update (antenna, blinking, tracking).
void updateRadar(WorldState& world, int32_t row);

// The tick with that reading and that radar update.
void tick(WorldState& world, Scratch& scratch);

// The former trace line writer.
std::string traceLine(const WorldState& world, int64_t tick,
                      std::span<const batch::ImpactRecord> impacts);

// The batch runner with that tick and that trace line writer.
batch::RunResult runScenario(WorldState& world, const batch::Scenario& scenario,
                             std::string_view source, const batch::RunOptions& options);

// The campaign pipeline with every run's line kept to the end and parsed back for the
// statistics and the runs table; returns the bytes of the lines and the table plus the hits.
int64_t campaignResults(const batch::CampaignPlan& plan, std::span<const int64_t> runs,
                        int threads);

}  // namespace prrsim::before
