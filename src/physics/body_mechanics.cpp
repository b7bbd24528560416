#include "physics/body_mechanics.h"

namespace bb {

Mat3 response_matrix(const Body& body, Vec3 p) {
    Vec3 r = vec3_sub(p, body.Position);
    Mat3 k;
    for (int row = 0; row < 3; row++) {
        Vec3 e = {row == 0 ? 1.0f : 0.0f, row == 1 ? 1.0f : 0.0f, row == 2 ? 1.0f : 0.0f};
        Vec3 v = vec3_add(vec3_scale(e, body.InverseMass),
                          vec3_scale(vec3_cross(vec3_cross(r, e), r), body.InverseInertia));
        k.m[3 * row] = v.x;
        k.m[3 * row + 1] = v.y;
        k.m[3 * row + 2] = v.z;
    }
    return k;
}

Mat3 mat3_add(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 9; i++) r.m[i] = a.m[i] + b.m[i];
    return r;
}

Mat3 mat3_inverse(const Mat3& m) {
    const float* a = m.m;
    float c00 = a[4] * a[8] - a[5] * a[7];
    float c01 = a[5] * a[6] - a[3] * a[8];
    float c02 = a[3] * a[7] - a[4] * a[6];
    float det = a[0] * c00 + a[1] * c01 + a[2] * c02;
    Mat3 r = {{c00, a[2] * a[7] - a[1] * a[8], a[1] * a[5] - a[2] * a[4], c01,
               a[0] * a[8] - a[2] * a[6], a[2] * a[3] - a[0] * a[5], c02, a[1] * a[6] - a[0] * a[7],
               a[0] * a[4] - a[1] * a[3]}};
    for (float& x : r.m) x /= det;
    return r;
}

} // namespace bb
