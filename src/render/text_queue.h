// Screen texts: glyph quads placed in the world just in front of the camera,
// queued during a tick and drawn by the next frame, always on top.
#pragma once

#include "math/vector_math.h"

#include <cstdint>

namespace bb {

struct TextVertex {
    float X, Y, Z;   // world position
    uint32_t Colour; // 0xAARRGGBB
    float U, V;      // font atlas coordinates
};

// 18 vertices a character: at most 1365 characters a tick.
constexpr int MaxTextVertices = 24576;
extern TextVertex TextQueue[MaxTextVertices];
extern int32_t TextQueueCount;

// The strings queued since the queue was last emptied, in order, for the
// headless summary and the tests. Texts beyond its room are not recorded.
struct QueuedTextLog {
    char Pool[8192];
    int32_t Used;
    int32_t Offsets[64];
    int32_t Count;
};
extern QueuedTextLog QueuedTexts;

// The world step empties the queue at the start of every tick.
void clear_text_queue();

// Queues text at text-plane point (x, y) (camera units at distance 1, x right,
// y up) in colour 0xAARRGGBB, outlined in black. A line break right after a
// drawn character starts a new line at x. Characters beyond the queue's room
// are dropped.
void draw_text(float x, float y, const char* text, uint32_t colour);
// The world point of a text-plane point, at depth 2 before the camera, with a
// slow wobble that follows TickCount.
Vec3 text_point_to_world(float x, float y);

} // namespace bb
