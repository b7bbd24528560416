// Cutting a convex polyhedron by one plane: the only way the physics
// intersects shapes (overlaps of pairs, pieces of broken bodies).
#pragma once

#include "physics/body.h"

namespace bb {

constexpr int MaxCrossings = 256;

// Writes into destination the part of source with n . x > d (strictly; a vertex
// on the plane is cut away), in source's local coordinates, closed by a cap face
// in the plane with Weight -1. Vertices made on the plane get OnCut 1, and copies
// keep the flag. The destination has no faces when nothing is kept, and also when
// the result would not fit its storage or 256 crossings, or the cut does not
// close into a ring: callers test emptiness by the face count.
void clip_polyhedron(Body& destination, Body& source, Vec3 n, float d);

} // namespace bb
