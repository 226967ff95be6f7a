#pragma once

#include <cstdint>

// Checked reads. In debug and sanitizer builds (PRRSIM_CHECKED=1) every read of a table or
// catalogue entry through the checked accessors verifies the index against the count and aborts
// with a message naming the table and the index; in release builds they are plain array reads.
#ifndef PRRSIM_CHECKED
#ifdef NDEBUG
#define PRRSIM_CHECKED 0
#else
#define PRRSIM_CHECKED 1
#endif
#endif

namespace prrsim {

inline constexpr bool kTableAccessChecked = PRRSIM_CHECKED != 0;

// Reports "<table>[<index>] read with count <count>" on stderr and aborts.
[[noreturn]] void tableIndexFailure(const char* table, int32_t index, int32_t count);

inline void checkTableIndex([[maybe_unused]] const char* table, [[maybe_unused]] int32_t index,
                            [[maybe_unused]] int32_t count) {
#if PRRSIM_CHECKED
    if (index < 0 || index >= count) {
        tableIndexFailure(table, index, count);
    }
#endif
}

}  // namespace prrsim
