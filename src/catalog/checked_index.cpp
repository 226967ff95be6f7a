#include <cstdio>
#include <cstdlib>

#include "catalog/checked_index.h"

namespace prrsim {

void tableIndexFailure(const char* table, int32_t index, int32_t count) {
    std::fprintf(stderr, "prrsim: table index out of range: %s[%d] read with count %d\n", table,
                 static_cast<int>(index), static_cast<int>(count));
    std::fflush(stderr);
    std::abort();
}

}  // namespace prrsim
