// The arena every scene stands in.
#pragma once

namespace bb {

// Radius of the ring's circle of bales; the collision stamps overlaps centred
// more than RingRadius + 1 from the ring's top centre (0, 5, 0) as outside.
constexpr float RingRadius = 27.0f;

} // namespace bb
