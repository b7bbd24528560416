#include "game/camera.h"

#include "app/input.h"
#include "game/game_flow.h"
#include "render/projection.h"
#include "wrestler/wrestler.h"

#include <cstring>

namespace bb {

CameraStateRecord CameraState;
Mat3 CameraMatrix = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
Vec3 CameraPosition = {0, 0, 0};

void reset_camera_motion() {
    CameraState = CameraStateRecord{};
    CameraState.CameraPos = TwoPlayers ? Vec3{-100, 7, 0} : Vec3{0, 15, -100};
    CameraState.Heading = 1.5f;
    CameraState.HeadingOffset = 0.5f;
    TickCount = 0;
}

Vec3 click_ray() {
    Vec3 r = {(InputState.ClickX + RayOffsetX) * RayScaleX,
              -(InputState.ClickY + RayOffsetY) * RayScaleY, 1.0f};
    return vec3_normalized(mat3_transpose_mul_vec(r, CameraMatrix));
}

static float bits_to_float(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void update_camera() {
    CameraStateRecord& s = CameraState;
    float delta = 0.0f;
    if (GameState == BoutDecided || GameState == HiddenPart) {
        s.HeadingOffset = 0.0f;
        float speed = GameState == BoutDecided ? 0.008f : 0.02f;
        if (InputState.KeyDown[ScanRight]) delta = speed;
        if (InputState.KeyDown[ScanLeft]) delta = delta - speed;
    } else {
        s.HeadingOffset = GameState == BoutRunning && TwoPlayers == 0 ? 0.5f : 0.0f;
    }
    s.OrbitAngle += delta;

    Vec3 target, eye;
    int wrestlers = static_cast<int>(WrestlersEnd - Wrestlers);
    if (wrestlers > 0) {
        Vec3 p0 = wrestler_centre_of_mass(Wrestlers[0]);
        Vec3 p1 = p0;
        float d = 50.0f;
        if (wrestlers > 1) {
            p1 = wrestler_centre_of_mass(Wrestlers[1]);
            d = 1.27f * float_sqrt(vec3_length_squared(vec3_sub(p0, p1))) + 10.0f;
        }
        if (d < 40.0f) d = 40.0f;
        Vec3 dir = vec3_sub(p1, p0);
        dir.y = 0.0f;
        vec3_normalize(dir);
        float a = s.Heading - s.HeadingOffset;
        Vec3 along = {float_cos(a), 0.0f, float_sin(a)};
        Vec3 b = vec3_cross(along, Vec3{0, 0.75f, 0});
        s.Heading += 0.9f * vec3_dot(b, dir) / d;
        vec3_rotate_by_vector(b, Vec3{0, s.OrbitAngle + s.HeadingOffset, 0});
        b = vec3_scale(b, d);
        target = vec3_scale(vec3_add(p0, p1), 0.5f);
        eye = vec3_add(target, b);
        eye.y = 24.0f;
    } else {
        target = Vec3{0, 0, 0};
        eye = Vec3{0, 10, -20};
    }

    // The springs' constants as the game has always had them, to the bit.
    float k = bits_to_float(0x3A1D4952u); // 0.0006
    if (GameState == BoutDecided && vec3_length_squared(vec3_sub(eye, s.CameraPos)) > 100.0f)
        k = bits_to_float(0x3B03126Fu); // 0.002
    vec3_add_to(s.CameraVel,
                vec3_scale(vec3_sub(vec3_sub(eye, s.PrevEye), s.CameraVel), 30.0f * k));
    Vec3 sideways = mat3_transpose_mul_vec(Vec3{0.6f * delta, 0, 0}, CameraMatrix);
    vec3_add_to(s.CameraVel, vec3_scale(vec3_add(vec3_sub(eye, s.CameraPos), sideways), k));
    s.CameraVel = vec3_scale(s.CameraVel, 0.98f);
    s.PrevEye = eye;
    vec3_add_to(s.CameraPos, s.CameraVel);

    if (GameState == Menu) {
        s.CameraPos = Vec3{-129, 17, 6};
        s.CameraPitch = 0.05f;
        s.CameraYaw = -1.6650441f;
        s.CameraRoll = 0.0f;
    }
    CameraPosition = s.CameraPos;
    mat3_identity(CameraMatrix);
    mat3_post_rotate_x(CameraMatrix, s.CameraPitch);
    mat3_post_rotate_y(CameraMatrix, s.CameraYaw);
    mat3_post_rotate_z(CameraMatrix, s.CameraRoll);

    Vec3 l = mat3_mul_vec(CameraMatrix, vec3_sub(target, s.CameraPos));
    float g = 1.0f / float_sqrt(vec3_length_squared(l));
    s.PitchVel = 0.8f * (s.PitchVel + 0.016f * l.y * g);
    s.YawVel = 0.8f * (s.YawVel - 0.016f * l.x * g);
    s.RollVel = 0.8f * s.RollVel;
    s.CameraPitch += s.PitchVel;
    s.CameraYaw += s.YawVel;
    s.CameraRoll += s.RollVel;
}

} // namespace bb
