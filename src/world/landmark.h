#pragma once

#include <cstdint>

namespace prrsim {

// A fixed ground object: drawn as a black square of side size x 0.01 pixels, reflects radar
// emissions towards a seeker.
struct Landmark {
    double size = 0;
    int32_t x = 0;  // top-left corner, pixels
    int32_t y = 0;
    int32_t height = 0;
};

}  // namespace prrsim
