// How impulses change a body's motion; the sign convention is in body.h.
#pragma once

#include "physics/body.h"

namespace bb {

// Velocity of the body's material at world point p; zero for a static body.
inline Vec3 point_velocity(const Body& body, Vec3 p) {
    if (body.Fixed) return Vec3{0, 0, 0};
    return vec3_add(body.Velocity, vec3_cross(vec3_sub(p, body.Position), body.AngularVelocity));
}

// Impulse j at world point p; nothing for a static body.
inline void apply_impulse(Body& body, Vec3 p, Vec3 j) {
    if (body.Fixed) return;
    Vec3 r = vec3_sub(p, body.Position);
    vec3_sub_from(body.AngularVelocity, vec3_scale(vec3_cross(r, j), body.InverseInertia));
    vec3_add_to(body.Velocity, vec3_scale(j, body.InverseMass));
}

// The same two with the offset r = p - Position already at hand.
inline Vec3 offset_velocity(const Body& body, Vec3 r) {
    if (body.Fixed) return Vec3{0, 0, 0};
    return vec3_add(body.Velocity, vec3_cross(r, body.AngularVelocity));
}
inline void apply_offset_impulse(Body& body, Vec3 r, Vec3 j) {
    if (body.Fixed) return;
    vec3_sub_from(body.AngularVelocity, vec3_scale(vec3_cross(r, j), body.InverseInertia));
    vec3_add_to(body.Velocity, vec3_scale(j, body.InverseMass));
}

inline void apply_angular_impulse(Body& body, Vec3 j) {
    if (body.Fixed) return;
    vec3_sub_from(body.AngularVelocity, vec3_scale(j, body.InverseInertia));
}
// Row k: the velocity change at p that the unit impulse e_k at p causes.
// Symmetric: InverseMass I + InverseInertia (|r|^2 I - r r^T), r = p - Position.
Mat3 response_matrix(const Body& body, Vec3 p);

Mat3 mat3_add(const Mat3& a, const Mat3& b);
// Adjugate over determinant (expanded along the first row); no test for zero.
Mat3 mat3_inverse(const Mat3& m);

} // namespace bb
