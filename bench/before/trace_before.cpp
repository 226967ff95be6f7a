// The trace line writer before the performance work (bench/before/before.h): the former JSON
// writing, unchanged apart from its names.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <string>

#include "before.h"
#include "world/record_fields.h"

namespace prrsim::before {

using batch::ImpactRecord;

namespace {

void appendRealBefore(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    if (v == 0 && std::signbit(v)) {
        out += "-0.0";  // "-0" would read back as the integer 0 in many JSON readers
        return;
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
    out.append(buffer, result.ptr);
}

void appendStringBefore(std::string& out, std::string_view s) {
    out += '"';
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

// Writes one JSON object's members, comma-separated, in the order they are given.
class ObjectWriterBefore {
  public:
    explicit ObjectWriterBefore(std::string& out) : out_(out) { out_ += '{'; }
    void close() { out_ += '}'; }

    ObjectWriterBefore& integer(std::string_view name, int64_t v) {
        key(name);
        out_ += std::to_string(v);
        return *this;
    }
    ObjectWriterBefore& boolean(std::string_view name, bool v) {
        key(name);
        out_ += v ? "true" : "false";
        return *this;
    }
    ObjectWriterBefore& real(std::string_view name, double v) {
        key(name);
        appendRealBefore(out_, v);
        return *this;
    }
    ObjectWriterBefore& optionalReal(std::string_view name, const std::optional<double>& v) {
        key(name);
        if (v) {
            appendRealBefore(out_, *v);
        } else {
            out_ += "null";
        }
        return *this;
    }
    ObjectWriterBefore& string(std::string_view name, std::string_view v) {
        key(name);
        appendStringBefore(out_, v);
        return *this;
    }
    ObjectWriterBefore& integers(std::string_view name, std::span<const int32_t> v) {
        key(name);
        out_ += '[';
        for (size_t i = 0; i < v.size(); ++i) {
            out_ += (i == 0 ? "" : ",") + std::to_string(v[i]);
        }
        out_ += ']';
        return *this;
    }
    ObjectWriterBefore& null(std::string_view name) {
        key(name);
        out_ += "null";
        return *this;
    }
    // The caller writes the value next.
    ObjectWriterBefore& key(std::string_view name) {
        if (!first_) {
            out_ += ',';
        }
        first_ = false;
        appendStringBefore(out_, name);
        out_ += ':';
        return *this;
    }

  private:
    std::string& out_;
    bool first_ = true;
};

// How many entries of a traced list a record holds.
int32_t tracedListLength(const RadarSite& r) {
    return std::clamp(r.trackCount, 0, kTrackListCapacity);
}

// Every traced field of the record by its name, in record order; the 8-bit flags and states as
// integers.
template <typename R>
void appendRecord(std::string& out, const R& record) {
    ObjectWriterBefore writer(out);
    RecordFields<R>::visit([&](FieldUse use, const char* name, auto get) {
        const auto& value = get(record);
        using T = std::remove_cvref_t<decltype(value)>;
        if (use == FieldUse::Internal) {
            return;
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

}  // namespace

std::string traceLine(const WorldState& world, int64_t tick,
                      std::span<const ImpactRecord> impacts) {
    std::string out;
    out.reserve(1024 + 600 * static_cast<size_t>(world.radarCount + world.missileCount * 3));
    ObjectWriterBefore line(out);
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
                    ObjectWriterBefore(o)
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

}  // namespace prrsim::before
