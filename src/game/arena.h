// The arena every scene stands in, and the scenes of bouts and the hidden part.
#pragma once

#include "math/vector_math.h"

namespace bb {

// Radius of the ring's circle of bales; the collision stamps overlaps centred
// more than RingRadius + 1 from the ring's top centre (0, 5, 0) as outside.
constexpr float RingRadius = 27.0f;

// How far shadow volumes are extruded along the light: 40, 80 in the menu.
extern float ShadowLength;

// Empties the world and builds the ground, the ring with sloped front and back,
// 24 breakable wall blocks and 31 bales: 57 static bodies.
void build_arena(int texture);
// A cube at from, moving so that gravity brings it to to after flight ticks.
void throw_cube(Vec3 from, Vec3 to, float flight, int texture);
// A new bout: arena, score cubes and two wrestlers, GameState BoutWaiting.
void start_bout();
// The hidden part: arena, score cubes and one computer wrestler, GameState HiddenPart.
void start_hidden_part();

} // namespace bb
