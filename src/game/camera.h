// The spring camera that follows the wrestlers.
#pragma once

#include "math/vector_math.h"

namespace bb {

struct CameraStateRecord {
    Vec3 CameraPos; // position
    Vec3 CameraVel; // velocity per tick
    Vec3 PrevEye;   // last tick's desired eye position
    float CameraPitch, CameraYaw, CameraRoll;
    float PitchVel, YawVel, RollVel; // rates per tick
    float Heading;                   // tracks the line between the wrestlers
    float HeadingOffset;             // extra turn of the viewing side
    float OrbitAngle;                // the player's orbit (Left and Right)
};

extern CameraStateRecord CameraState;
// Rows: the camera's right, up and forward axes in world coordinates.
extern Mat3 CameraMatrix;
extern Vec3 CameraPosition;

// Resets the camera's motion and sets TickCount to 0.
void reset_camera_motion();
// Once per tick, before the world step: springs the camera towards an eye
// beside the wrestlers and turns it towards their midpoint; pinned in the menu.
void update_camera();
// The unit world direction through the last click.
Vec3 click_ray();

} // namespace bb
