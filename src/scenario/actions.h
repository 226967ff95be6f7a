#pragma once

#include <optional>
#include <string>

#include "scenario/scenario.h"
#include "world/world_state.h"

namespace prrsim::batch {

// Why an action could not be applied to the world as it stands: a table position that does not
// exist now, a full table, or a value outside the range its radar's type offers.
struct ApplyError {
    std::string field;  // empty when the action as a whole is refused
    Refusal refusal;
};

// Performs the action through the core operation of its control. On error the world is
// unchanged.
std::optional<ApplyError> applyAction(WorldState& world, const Action& action);

}  // namespace prrsim::batch
