#include "missile/seeker/seeker_scratch.h"

namespace prrsim {

std::unique_ptr<SeekerScratch> makeSeekerScratch() {
    return std::make_unique<SeekerScratch>();
}

}  // namespace prrsim
