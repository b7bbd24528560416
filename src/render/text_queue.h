// Screen texts queued during a tick and drawn by the next frame.
#pragma once

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

// The world step empties the queue at the start of every tick.
inline void clear_text_queue() {
    TextQueueCount = 0;
}

} // namespace bb
