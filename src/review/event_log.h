#pragma once

// The event log as text: one-line Russian descriptions, JSON lines and CSV, and the run
// listeners that write them as a run goes.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "scenario/run_listener.h"
#include "world/events.h"

namespace prrsim::batch {

// Catalogue names; empty for an index outside the catalogue.
std::string_view radarTypeName(int32_t type);
std::string_view missileTypeName(int32_t type);
std::string_view launchModeName(int32_t type, int32_t mode);

// The kind's short Russian name ("Захват", "Подрыв"), as a list of kinds shows it.
std::string_view eventKindLabel(EventKind kind);

// One Russian sentence naming the objects by their numbers and catalogue types, e.g.
// "Ракета №1: захват РЛС №1 «Куб, РЛС сопровождения 1С31»".
std::string describeEvent(const WorldEvent& event);

// One JSON object and a line break: "tick", "kind" (eventKindCode), then for each object the
// event names its table position at that moment ("missile", "aircraft", "radar", ...), its
// number ("missileNumber", ...) and its catalogue type's name, then the kind's value, position
// and distances. Real numbers are written as in the trace.
std::string eventJsonLine(const WorldEvent& event);

// The CSV table of events: the header row, and one row per event.
std::string eventCsvHeader();
std::string eventCsvRow(const WorldEvent& event);
// The byte-order mark, the header and every event.
void writeEventsCsv(std::ostream& out, std::span<const WorldEvent> events);

// Writes each event as it comes: JSON lines.
class EventJsonWriter final : public RunListener {
  public:
    explicit EventJsonWriter(std::ostream& out) : out_(out) {}
    void onEvents(const WorldState& world, std::span<const WorldEvent> events) override;

  private:
    std::ostream& out_;
};

// Writes each event as it comes: the CSV table (the byte-order mark and header first).
class EventCsvWriter final : public RunListener {
  public:
    explicit EventCsvWriter(std::ostream& out);
    void onEvents(const WorldState& world, std::span<const WorldEvent> events) override;

  private:
    std::ostream& out_;
};

}  // namespace prrsim::batch
