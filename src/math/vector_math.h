// Vectors and 3x3 matrices in 32-bit float: the geometry of the whole game.
//
// +y is up; angles are radians. A body's or the camera's Mat3 holds its local
// axes as rows, so mat3_mul_vec takes world directions to local ones and
// mat3_transpose_mul_vec takes local directions back to the world.
//
// Every operation reads all its operands before it writes, so a result may be
// an operand. The order of each float operation is fixed on purpose: the
// simulation must give bit-identical results from identical inputs.
#pragma once

namespace bb {

struct Vec3 {
    float x, y, z;
};

// Element (r, j) at index 3r + j.
struct Mat3 {
    float m[9];
};

inline Vec3 vec3_set(float x, float y, float z) {
    return Vec3{x, y, z};
}
inline Vec3 vec3_add(Vec3 a, Vec3 b) {
    return Vec3{a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 vec3_sub(Vec3 a, Vec3 b) {
    return Vec3{a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3& vec3_add_to(Vec3& a, Vec3 b) {
    a = vec3_add(a, b);
    return a;
}
inline Vec3& vec3_sub_from(Vec3& a, Vec3 b) {
    a = vec3_sub(a, b);
    return a;
}
inline Vec3 vec3_negate(Vec3 a) {
    return Vec3{-a.x, -a.y, -a.z};
}
inline Vec3 vec3_scale(Vec3 a, float s) {
    return Vec3{a.x * s, a.y * s, a.z * s};
}
inline Vec3 vec3_cross(Vec3 a, Vec3 b) {
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float vec3_dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float vec3_length_squared(Vec3 a) {
    return a.x * a.x + a.y * a.y + a.z * a.z;
}

// Scales a to unit length and returns the factor used; a zero vector stays
// zero and gives 0.
float vec3_normalize(Vec3& a);
Vec3 vec3_normalized(Vec3 a);

void mat3_identity(Mat3& m);
Vec3 mat3_mul_vec(const Mat3& m, Vec3 v);
Vec3 mat3_transpose_mul_vec(Vec3 v, const Mat3& m);
inline Vec3 mat3_row(const Mat3& m, int r) {
    return Vec3{m.m[3 * r], m.m[3 * r + 1], m.m[3 * r + 2]};
}
Mat3 mat3_transpose(const Mat3& m);

// M becomes M R(t): the columns are combined.
void mat3_post_rotate_x(Mat3& m, float t);
void mat3_post_rotate_y(Mat3& m, float t);
void mat3_post_rotate_z(Mat3& m, float t);
// M becomes R(t)^T M = R(-t) M: the rows are combined.
void mat3_pre_rotate_x(Mat3& m, float t);
void mat3_pre_rotate_y(Mat3& m, float t);

// v becomes v co + k (k.v)(1 - co) + (v x k) si. The cross product is v x k,
// so a turn about +y by t is Ry(t)^T v: the sense of the pre-rotations, which
// joints, bodies, the camera orbit, lights and text wobble all rely on.
void vec3_rotate_axis(Vec3& v, Vec3 k, float co, float si);
// Turns v about w by the angle |w|; a zero w leaves v unchanged.
void vec3_rotate_by_vector(Vec3& v, Vec3 w);

float angle_atan2(float y, float x);
// The library's functions in double, stored back as float.
float float_sqrt(float a);
float float_sin(float a);
float float_cos(float a);

} // namespace bb
