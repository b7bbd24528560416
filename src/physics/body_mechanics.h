// How impulses change a body's motion; the sign convention is in body.h.
#pragma once

#include "physics/body.h"

namespace bb {

// Velocity of the body's material at world point p; zero for a static body.
Vec3 point_velocity(const Body& body, Vec3 p);
// Impulse j at world point p; nothing for a static body.
void apply_impulse(Body& body, Vec3 p, Vec3 j);
void apply_angular_impulse(Body& body, Vec3 j);
// Row k: the velocity change at p that the unit impulse e_k at p causes.
// Symmetric: InverseMass I + InverseInertia (|r|^2 I - r r^T), r = p - Position.
Mat3 response_matrix(const Body& body, Vec3 p);

Mat3 mat3_add(const Mat3& a, const Mat3& b);
// Adjugate over determinant (expanded along the first row); no test for zero.
Mat3 mat3_inverse(const Mat3& m);

} // namespace bb
