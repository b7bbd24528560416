// One frame: clear, the scene's passes, the texts, and showing it.
#pragma once

#include "math/vector_math.h"

#include <cstdint>
#include <vector>

namespace bb {

// The camera as the frame saw it, copied at the start of each frame.
extern Mat3 ViewMatrix;
extern Vec3 ViewPosition;

// Draws the frame into the back buffer without showing it, with the lights
// of Lights and the camera's view.
void draw_frame();
// At the end of a drawing tick: the lights from LightCount, draw_frame, then
// the picture is shown. When CaptureNextFrame is set, the picture is first
// read into CapturedFrame (RGBA, rows top first) and the flag cleared.
void render_frame();

extern bool CaptureNextFrame;
extern std::vector<uint8_t> CapturedFrame;

} // namespace bb
