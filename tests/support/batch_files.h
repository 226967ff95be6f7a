#pragma once

// What prrsim-batch writes of a scenario's review, and the same tables written from a review
// the windows keep, for comparing the two byte for byte.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "review/event_log.h"
#include "review/missile_summary.h"
#include "review/review_store.h"
#include "scenario/runner.h"
#include "world/world.h"

namespace prrsim::testing {

// The files of `prrsim-batch SCENE --events-csv E --summary-csv S`.
struct BatchFiles {
    std::string events;
    std::string missiles;
};

// Runs the scenario as prrsim-batch does, through its own listeners.
inline BatchFiles batchFiles(const batch::Scenario& scenario) {
    auto world = makeWorld();
    std::ostringstream events;
    std::ostringstream missiles;
    batch::MissileSummaryCollector collector;
    batch::EventCsvWriter eventCsv(events);
    batch::RunOptions options;
    options.listeners = {&collector, &eventCsv};
    const batch::RunResult result = batch::runScenario(*world, scenario, "scene", options);
    EXPECT_EQ(result.status, batch::RunStatus::Ok) << result.error;
    batch::writeMissileSummaryCsv(missiles, collector.summaries(*world));
    return {events.str(), missiles.str()};
}

// The same tables written from a review.
inline BatchFiles filesOf(const review::ReviewStore& review) {
    std::ostringstream events;
    std::ostringstream missiles;
    batch::writeEventsCsv(events, review.events());
    batch::writeMissileSummaryCsv(missiles, review.summaries());
    return {events.str(), missiles.str()};
}

}  // namespace prrsim::testing
