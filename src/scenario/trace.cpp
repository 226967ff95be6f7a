#include "scenario/trace.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "scenario/json_writer.h"
#include "catalog/missile_catalog.h"
#include "world/record_fields.h"

namespace prrsim::batch {

void measureMiss(const WorldState& world, ImpactRecord& impact) {
    impact.nearestRadar = -1;
    impact.missDistance.reset();
    double best = 0;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        const double d = std::sqrt(square(r.x - impact.x) + square(r.y - impact.y));
        if (impact.nearestRadar < 0 || d < best) {
            impact.nearestRadar = j;
            best = d;
        }
    }
    if (impact.nearestRadar >= 0) {
        impact.missDistance = best * 100;  // one map unit is 100 m
    }
}

char* writeReal(char* first, double v) {
    if (!std::isfinite(v)) {
        return std::copy_n("null", 4, first);
    }
    if (v == 0 && std::signbit(v)) {
        return std::copy_n("-0.0", 4, first);  // "-0" would read back as the integer 0
    }
    // A whole number below 10^15 prints as its digits in the 17-digit general form too, and
    // the integer conversion is several times faster.
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) {
        return writeInteger(first, static_cast<int64_t>(v));
    }
    return std::to_chars(first, first + kNumberChars, v, std::chars_format::general, 17).ptr;
}

char* writeInteger(char* first, int64_t v) {
    return std::to_chars(first, first + kNumberChars, v).ptr;
}

void appendReal(std::string& out, double v) {
    char buffer[kNumberChars];
    out.append(buffer, static_cast<size_t>(writeReal(buffer, v) - buffer));
}

void appendInteger(std::string& out, int64_t v) {
    char buffer[kNumberChars];
    out.append(buffer, static_cast<size_t>(writeInteger(buffer, v) - buffer));
}

void appendString(std::string& out, std::string_view s) {
    out += '"';
    // Names and most texts need no escape: one append.
    if (std::none_of(s.begin(), s.end(), [](char c) {
            return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        })) {
        out.append(s);
        out += '"';
        return;
    }
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xf];
        } else {
            out += c;  // UTF-8 passes through
        }
    }
    out += '"';
}

namespace {

// How many entries of a traced list a record holds.
int32_t tracedListLength(const RadarSite& r) {
    return std::clamp(r.trackCount, 0, kTrackListCapacity);
}

// Every traced field of the record by its name, in record order; the 8-bit flags and states as
// integers.
template <typename R>
void appendRecord(std::string& out, const R& record) {
    ObjectWriter writer(out);
    RecordFields<R>::visit([&](FieldUse use, const char* name, auto get) {
        const auto& value = get(record);
        using T = std::remove_cvref_t<decltype(value)>;
        if (use == FieldUse::Internal) {
            return;
        }
        if constexpr (std::is_same_v<R, RadarSite>) {
            if (use == FieldUse::TracedReaction && record.reactionKind == kReactionNone) {
                return;
            }
        }
        if constexpr (std::is_same_v<T, bool>) {
            writer.boolean(name, value);
        } else if constexpr (std::is_same_v<T, double>) {
            writer.real(name, value);
        } else if constexpr (std::is_integral_v<T>) {
            writer.integer(name, value);
        } else if constexpr (std::is_same_v<R, RadarSite>) {
            if (use == FieldUse::TracedList) {
                writer.integers(name,
                                std::span<const int32_t>(value.data(), tracedListLength(record)));
            }
        }
    });
    writer.close();
}

template <typename Record, typename Append>
void appendTable(std::string& out, const Record* records, int32_t count, Append append) {
    out += '[';
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += ',';
        }
        append(out, records[i]);
    }
    out += ']';
}

std::string_view missileTypeName(int32_t typeIndex) {
    if (typeIndex < 0 || typeIndex >= missileTypeCount()) {
        return "";
    }
    return missileType(typeIndex).name;
}

}  // namespace

std::string traceLine(const WorldState& world, int64_t tick,
                      std::span<const ImpactRecord> impacts) {
    std::string out;
    out.reserve(1024 + 600 * static_cast<size_t>(world.radarCount + world.missileCount * 3));
    ObjectWriter line(out);
    line.integer("tick", tick);
    line.key("aircraft");
    appendTable(out, world.aircraft.data(), world.aircraftCount, appendRecord<Aircraft>);
    line.key("radars");
    appendTable(out, world.radars.data(), world.radarCount, appendRecord<RadarSite>);
    line.key("missiles");
    appendTable(out, world.missiles.data(), world.missileCount, appendRecord<Missile>);
    line.key("impacts");
    appendTable(out, impacts.data(), static_cast<int32_t>(impacts.size()),
                [](std::string& o, const ImpactRecord& i) {
                    ObjectWriter(o)
                        .integer("tick", i.tick)
                        .integer("missile", i.missile)
                        .real("x", i.x)
                        .real("y", i.y)
                        .close();
                });
    line.close();
    out += '\n';
    return out;
}

std::string summaryLine(const WorldState& world, int64_t ticks,
                        std::span<const ImpactRecord> impacts) {
    std::string out;
    ObjectWriter summary(out);
    summary.integer("ticks", ticks)
        .integer("aircraft", world.aircraftCount)
        .integer("radars", world.radarCount)
        .integer("missiles", world.missileCount);
    summary.key("impacts");
    appendTable(out, impacts.data(), static_cast<int32_t>(impacts.size()),
                [](std::string& o, const ImpactRecord& i) {
                    ObjectWriter(o)
                        .integer("tick", i.tick)
                        .integer("missile", i.missile)
                        .string("type", missileTypeName(i.typeIndex))
                        .real("x", i.x)
                        .real("y", i.y)
                        .integer("nearestRadar", i.nearestRadar)
                        .optionalReal("missDistance", i.missDistance)
                        .close();
                });
    summary.close();
    out += '\n';
    return out;
}

}  // namespace prrsim::batch
