#include "math/vector_math.h"

#include <cmath>

namespace bb {

float float_sqrt(float a) {
    return static_cast<float>(std::sqrt(static_cast<double>(a)));
}
float float_sin(float a) {
    return static_cast<float>(std::sin(static_cast<double>(a)));
}
float float_cos(float a) {
    return static_cast<float>(std::cos(static_cast<double>(a)));
}

float vec3_normalize(Vec3& a) {
    float len = float_sqrt(vec3_length_squared(a));
    float k = len == 0.0f ? 0.0f : 1.0f / len;
    a = vec3_scale(a, k);
    return k;
}

Vec3 vec3_normalized(Vec3 a) {
    vec3_normalize(a);
    return a;
}

void mat3_identity(Mat3& m) {
    m = Mat3{{1, 0, 0, 0, 1, 0, 0, 0, 1}};
}

Vec3 mat3_mul_vec(const Mat3& m, Vec3 v) {
    return Vec3{m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z,
                m.m[3] * v.x + m.m[4] * v.y + m.m[5] * v.z,
                m.m[6] * v.x + m.m[7] * v.y + m.m[8] * v.z};
}

Vec3 mat3_transpose_mul_vec(Vec3 v, const Mat3& m) {
    return Vec3{m.m[0] * v.x + m.m[3] * v.y + m.m[6] * v.z,
                m.m[1] * v.x + m.m[4] * v.y + m.m[7] * v.z,
                m.m[2] * v.x + m.m[5] * v.y + m.m[8] * v.z};
}

Mat3 mat3_transpose(const Mat3& m) {
    return Mat3{{m.m[0], m.m[3], m.m[6], m.m[1], m.m[4], m.m[7], m.m[2], m.m[5], m.m[8]}};
}

// Combines columns a and b of every row: a' = co a + si b, b' = co b - si a.
static void combine_columns(Mat3& m, int a, int b, float co, float si) {
    for (int r = 0; r < 3; r++) {
        float ma = m.m[3 * r + a], mb = m.m[3 * r + b];
        m.m[3 * r + a] = co * ma + si * mb;
        m.m[3 * r + b] = co * mb - si * ma;
    }
}

// Combines rows a and b: row a' = co a + si b, row b' = co b - si a.
static void combine_rows(Mat3& m, int a, int b, float co, float si) {
    for (int j = 0; j < 3; j++) {
        float ma = m.m[3 * a + j], mb = m.m[3 * b + j];
        m.m[3 * a + j] = co * ma + si * mb;
        m.m[3 * b + j] = co * mb - si * ma;
    }
}

void mat3_post_rotate_x(Mat3& m, float t) {
    combine_columns(m, 1, 2, float_cos(t), float_sin(t));
}
void mat3_post_rotate_z(Mat3& m, float t) {
    combine_columns(m, 0, 1, float_cos(t), float_sin(t));
}

void mat3_post_rotate_y(Mat3& m, float t) {
    float co = float_cos(t), si = float_sin(t);
    for (int r = 0; r < 3; r++) {
        float m0 = m.m[3 * r], m2 = m.m[3 * r + 2];
        m.m[3 * r] = co * m0 - si * m2;
        m.m[3 * r + 2] = si * m0 + co * m2;
    }
}

void mat3_pre_rotate_x(Mat3& m, float t) {
    combine_rows(m, 1, 2, float_cos(t), float_sin(t));
}

void mat3_pre_rotate_y(Mat3& m, float t) {
    float co = float_cos(t), si = float_sin(t);
    for (int j = 0; j < 3; j++) {
        float r0 = m.m[j], r2 = m.m[6 + j];
        m.m[j] = co * r0 - si * r2;
        m.m[6 + j] = si * r0 + co * r2;
    }
}

void vec3_rotate_axis(Vec3& v, Vec3 k, float co, float si) {
    float f = vec3_dot(k, v) * (1.0f - co);
    Vec3 c = vec3_cross(v, k);
    v = Vec3{v.x * co + k.x * f + c.x * si, v.y * co + k.y * f + c.y * si,
             v.z * co + k.z * f + c.z * si};
}

void vec3_rotate_by_vector(Vec3& v, Vec3 w) {
    float angle = float_sqrt(vec3_length_squared(w));
    Vec3 k = vec3_normalized(w);
    vec3_rotate_axis(v, k, float_cos(angle), float_sin(angle));
}

float angle_atan2(float y, float x) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

} // namespace bb
