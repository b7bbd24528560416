#include "game/camera.h"

#include "game/game_flow.h"

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

} // namespace bb
