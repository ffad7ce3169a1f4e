// What the player asks of the falling piece at a moment: the keys held, by
// meaning. Of the moves, left wins over right and right over down; of the
// turns, clockwise wins over anticlockwise.
#pragma once

#include <cstdint>

#include "engine/flag_set.h"

namespace stonerush {

enum class Steer : uint8_t { Left, Right, Down, TurnClockwise, TurnAnticlockwise };

using SteerSet = FlagSet<Steer>;

}  // namespace stonerush
