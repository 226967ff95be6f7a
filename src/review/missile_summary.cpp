#include "review/missile_summary.h"

#include <cmath>

#include "review/csv.h"
#include "review/event_log.h"
#include "scenario/json_writer.h"

namespace prrsim::batch {

std::string_view outcomeCode(MissileOutcome outcome) {
    switch (outcome) {
        case MissileOutcome::NotLaunched:
            return "notLaunched";
        case MissileOutcome::Flying:
            return "flying";
        case MissileOutcome::Hit:
            return "hit";
        case MissileOutcome::Miss:
            return "miss";
        case MissileOutcome::RemovedWithCarrier:
            return "removedWithCarrier";
    }
    return {};
}

std::string_view outcomeLabel(MissileOutcome outcome) {
    switch (outcome) {
        case MissileOutcome::NotLaunched:
            return "на подвеске";
        case MissileOutcome::Flying:
            return "в полёте";
        case MissileOutcome::Hit:
            return "попадание";
        case MissileOutcome::Miss:
            return "промах";
        case MissileOutcome::RemovedWithCarrier:
            return "снята с носителем";
    }
    return {};
}

void MissileSummaryCollector::onEvents(const WorldState&, std::span<const WorldEvent> events) {
    add(events);
}

void MissileSummaryCollector::clear() {
    tracks_.clear();
}

void MissileSummaryCollector::add(std::span<const WorldEvent> events) {
    for (const WorldEvent& e : events) {
        const int32_t number = e.missile.number;
        if (number <= 0) {
            continue;
        }
        if (e.kind == EventKind::MissileAdded && static_cast<size_t>(number) > tracks_.size()) {
            tracks_.resize(static_cast<size_t>(number));
        }
        if (static_cast<size_t>(number) > tracks_.size()) {
            continue;  // a missile loaded before the collector was listening
        }
        Track& t = tracks_[static_cast<size_t>(number) - 1];
        MissileSummary& s = t.row;
        switch (e.kind) {
            case EventKind::MissileAdded:
                s.number = number;
                s.typeIndex = e.missile.type;
                s.launchModeIndex = e.value;
                s.carrier = e.aircraft.number;
                s.loadTick = e.tick;
                break;
            case EventKind::TargetDesignated:
                t.designated = e.radar.number;
                t.designatedType = e.radar.type;
                break;
            case EventKind::Locked:
            case EventKind::Relocked:
            case EventKind::SeekerTargetSwitched:
                if (!s.firstLockTick && e.kind != EventKind::SeekerTargetSwitched) {
                    s.firstLockTick = e.tick;
                }
                s.targetRadar = e.radar.number;
                s.targetRadarType = e.radar.type;
                break;
            case EventKind::Launched:
                if (!s.launchTick) {
                    s.launchTick = e.tick;
                }
                break;
            case EventKind::Detonated:
                t.detonated = true;
                s.endTick = e.tick;
                // A target radar removed before the detonation is named by number alone: its
                // type is the one it had when it was locked on or designated.
                if (e.radar.type >= 0 || e.radar.number == 0) {
                    s.targetRadarType = e.radar.type;
                } else if (e.radar.number == t.designated && e.radar.number != s.targetRadar) {
                    s.targetRadarType = t.designatedType;
                }
                s.targetRadar = e.radar.number;
                if (std::isfinite(e.distance)) {
                    s.missDistance = e.distance;
                }
                s.x = e.x;
                s.y = e.y;
                s.altitude = e.altitude;
                break;
            case EventKind::MissileRemoved:
                t.removed = true;
                s.endTick = e.tick;
                break;
            default:
                break;
        }
    }
}

std::vector<MissileSummary> MissileSummaryCollector::summaries(const WorldState& world,
                                                               double hitRadiusMetres) const {
    std::vector<MissileSummary> rows;
    rows.reserve(tracks_.size());
    for (const Track& t : tracks_) {
        if (t.row.number == 0) {
            continue;
        }
        MissileSummary s = t.row;
        if (s.targetRadar == 0 && !t.detonated) {
            s.targetRadar = t.designated;
            s.targetRadarType = t.designatedType;
        }
        bool inTable = false;
        for (int32_t m = 0; m < world.missileCount && !inTable; ++m) {
            inTable = missileAt(world, m).review.number == s.number;
        }
        if (t.detonated) {
            const bool hit = s.missDistance && *s.missDistance <= hitRadiusMetres;
            s.outcome = hit ? MissileOutcome::Hit : MissileOutcome::Miss;
        } else if (t.removed || !inTable) {
            s.outcome = MissileOutcome::RemovedWithCarrier;
        } else {
            s.outcome = s.launchTick ? MissileOutcome::Flying : MissileOutcome::NotLaunched;
        }
        if (s.launchTick && s.outcome != MissileOutcome::RemovedWithCarrier) {
            const int64_t end = t.detonated ? *s.endTick : world.events.tick;
            s.timeOfFlight = static_cast<double>(end - *s.launchTick) / 100;
        }
        rows.push_back(s);
    }
    return rows;
}

std::vector<MissileSummary> summarizeMissiles(std::span<const WorldEvent> events,
                                              const WorldState& world, double hitRadiusMetres) {
    MissileSummaryCollector collector;
    collector.add(events);
    return collector.summaries(world, hitRadiusMetres);
}

namespace {

void optionalTick(ObjectWriter& json, std::string_view key, const std::optional<int64_t>& tick) {
    if (tick) {
        json.integer(key, *tick);
    } else {
        json.null(key);
    }
}

}  // namespace

std::string missileSummaryJsonLine(const MissileSummary& s) {
    std::string out;
    ObjectWriter json(out);
    json.integer("missileNumber", s.number)
        .string("type", missileTypeName(s.typeIndex))
        .string("launchMode", launchModeName(s.typeIndex, s.launchModeIndex))
        .integer("carrierNumber", s.carrier);
    if (s.targetRadar != 0) {
        json.integer("targetRadarNumber", s.targetRadar)
            .string("targetRadarType", radarTypeName(s.targetRadarType));
    } else {
        json.null("targetRadarNumber").null("targetRadarType");
    }
    optionalTick(json, "launchTick", s.launchTick);
    optionalTick(json, "firstLockTick", s.firstLockTick);
    json.string("outcome", outcomeCode(s.outcome))
        .optionalReal("missDistance", s.missDistance)
        .optionalReal("timeOfFlight", s.timeOfFlight);
    optionalTick(json, "endTick", s.endTick);
    json.close();
    out += '\n';
    return out;
}

std::string missileSummaryCsvHeader() {
    return CsvRow()
        .text("Ракета №")
        .text("Тип")
        .text("Режим пуска")
        .text("Носитель: самолёт №")
        .text("Цель: РЛС №")
        .text("Тип цели")
        .text("Пуск, такт")
        .text("Первый захват, такт")
        .text("Исход")
        .text("Промах, м")
        .text("Время полёта, с")
        .text("Конец, такт")
        .line();
}

std::string missileSummaryCsvRow(const MissileSummary& s) {
    CsvRow row;
    const auto tick = [&row](const std::optional<int64_t>& t) {
        if (t) {
            row.integer(*t);
        } else {
            row.empty();
        }
    };
    row.integer(s.number)
        .text(missileTypeName(s.typeIndex))
        .text(launchModeName(s.typeIndex, s.launchModeIndex));
    if (s.carrier != 0) {
        row.integer(s.carrier);
    } else {
        row.empty();
    }
    if (s.targetRadar != 0) {
        row.integer(s.targetRadar);
    } else {
        row.empty();
    }
    row.text(radarTypeName(s.targetRadarType));
    tick(s.launchTick);
    tick(s.firstLockTick);
    row.text(outcomeLabel(s.outcome));
    row.real(s.missDistance.value_or(std::nan("")), 2);
    row.real(s.timeOfFlight.value_or(std::nan("")), 2);
    tick(s.endTick);
    return row.line();
}

void writeMissileSummaryCsv(std::ostream& out, std::span<const MissileSummary> summaries) {
    out << kCsvByteOrderMark << missileSummaryCsvHeader();
    for (const MissileSummary& s : summaries) {
        out << missileSummaryCsvRow(s);
    }
}

}  // namespace prrsim::batch
