// The physics world's constants.
#pragma once

namespace bb {

// Change of every awake body's Velocity.y per tick (98 units/s^2 at 100 ticks/s).
constexpr float Gravity = -0.0098f;

} // namespace bb
