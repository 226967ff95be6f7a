#pragma once

// Field-by-field, bit-for-bit comparison of two worlds for the seeker exactness tests.

#include <array>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "world/record_fields.h"
#include "world/world_state.h"

namespace prrsim::testing {

// Collects the fields that differ. The place of a field (table, slot, sub-record, entry) is
// kept as numbers and spelled out only for a difference.
class Comparison {
  public:
    struct Place {
        const char* table = "world";
        int32_t slot = -1;
        const char* sub = nullptr;
        int32_t entry = -1;
    };
    Place place;

    template <typename T>
    void field(const char* name, const T& a, const T& b) {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
        if (std::memcmp(&a, &b, sizeof(T)) != 0 && differences_.size() < 20) {
            std::ostringstream text;
            text << std::setprecision(17) << where() << name << ": " << +a << " vs " << +b;
            differences_.push_back(text.str());
        }
    }
    template <typename T, size_t N>
    void field(const char* name, const std::array<T, N>& a, const std::array<T, N>& b) {
        for (size_t i = 0; i < N; ++i) {
            if (std::memcmp(&a[i], &b[i], sizeof(T)) != 0) {
                field((std::string(name) + "[" + std::to_string(i) + "]").c_str(), a[i], b[i]);
            }
        }
    }
    void note(const std::string& what) { differences_.push_back(what); }
    bool same() const { return differences_.empty(); }
    std::string report() const {
        std::string all;
        for (const std::string& d : differences_) {
            all += d + "\n";
        }
        return all;
    }

  private:
    std::string where() const {
        std::string text = place.table;
        if (place.slot >= 0) {
            text += "[" + std::to_string(place.slot) + "]";
        }
        if (place.sub != nullptr) {
            text += std::string(".") + place.sub + "[" + std::to_string(place.entry) + "]";
        }
        return text + ".";
    }
    std::vector<std::string> differences_;
};

// Every field of two records, sub-records and lists entry by entry, from the one field list.
template <typename R>
void compare(Comparison& cmp, const R& a, const R& b) {
    RecordFields<R>::visit([&](FieldUse, const char* name, auto get) {
        const auto& x = get(a);
        const auto& y = get(b);
        using T = std::remove_cvref_t<decltype(x)>;
        if constexpr (HasRecordFields<T>) {
            compare(cmp, x, y);
        } else if constexpr (requires {
                                 x.size();
                                 x[0];
                             }) {
            using E = std::remove_cvref_t<decltype(x[0])>;
            if constexpr (HasRecordFields<E>) {
                const Comparison::Place outer = cmp.place;
                for (size_t i = 0; i < x.size(); ++i) {
                    cmp.place.sub = name;
                    cmp.place.entry = static_cast<int32_t>(i);
                    compare(cmp, x[i], y[i]);
                }
                cmp.place = outer;
            } else {
                cmp.field(name, x, y);
            }
        } else {
            cmp.field(name, x, y);
        }
    });
}

template <typename T, size_t N>
inline void compareTable(Comparison& cmp, const char* table, const std::array<T, N>& a,
                         const std::array<T, N>& b) {
    for (size_t i = 0; i < N; ++i) {
        cmp.place = Comparison::Place{table, static_cast<int32_t>(i)};
        compare(cmp, a[i], b[i]);
    }
    cmp.place = Comparison::Place{};
}

// Every record of the two worlds, every slot of every table (vacated slots included), the
// counts and the generator: what the simulation carries from tick to tick.
#define FIELD(f) cmp.field(#f, a.f, b.f)

inline Comparison compareRecords(const WorldState& a, const WorldState& b) {
    Comparison cmp;
    compareTable(cmp, "aircraft", a.aircraft, b.aircraft);
    compareTable(cmp, "radars", a.radars, b.radars);
    compareTable(cmp, "placedComplexes", a.placedComplexes, b.placedComplexes);
    compareTable(cmp, "missiles", a.missiles, b.missiles);
    compareTable(cmp, "landmarks", a.landmarks, b.landmarks);
    FIELD(aircraftCount), FIELD(radarCount), FIELD(placedComplexCount), FIELD(missileCount);
    FIELD(landmarkCount);
    if (!(a.random == b.random)) {
        cmp.note("world.random differs");
    }
    return cmp;
}

// The whole simulated world.
inline Comparison compareWorlds(const WorldState& a, const WorldState& b) {
    return compareRecords(a, b);
}

#undef FIELD

}  // namespace prrsim::testing
