#include "render/text_queue.h"

#include "game/camera.h"
#include "game/game_flow.h"

#include <cstring>

namespace bb {

TextVertex TextQueue[MaxTextVertices];
int32_t TextQueueCount = 0;
QueuedTextLog QueuedTexts;

void clear_text_queue() {
    TextQueueCount = 0;
    QueuedTexts.Used = 0;
    QueuedTexts.Count = 0;
}

static void log_text(const char* text) {
    QueuedTextLog& log = QueuedTexts;
    size_t n = std::strlen(text) + 1;
    if (log.Count >= 64 || static_cast<size_t>(log.Used) + n > sizeof log.Pool) return;
    std::memcpy(log.Pool + log.Used, text, n);
    log.Offsets[log.Count++] = log.Used;
    log.Used += static_cast<int32_t>(n);
}

Vec3 text_point_to_world(float x, float y) {
    float t = TickCount * 0.02f;
    float a = 1.1f * (float_cos(1.37f * t) + t);
    float b = float_sin(1.77f * t) + t;
    Vec3 p = {x, y, 1.0f};
    Vec3 w = vec3_normalized(p);
    w.z = 1.0f;
    for (int i = 0; i < 3; i++) {
        w.x = w.x + 0.004f * float_sin(10.0f * w.y + b);
        w.y = w.y + 0.004f * float_cos(10.0f * w.x + a);
    }
    return vec3_add(CameraPosition, mat3_transpose_mul_vec(vec3_add(p, w), CameraMatrix));
}

static void push_vertex(Vec3 p, uint32_t colour, float u, float v) {
    TextQueue[TextQueueCount++] = TextVertex{p.x, p.y, p.z, colour, u, v};
}

void draw_text(float x, float y, const char* text, uint32_t colour) {
    log_text(text);
    Vec3 o = mat3_transpose_mul_vec(Vec3{0.004f, 0.004f, 0.0f}, CameraMatrix);
    uint32_t black = colour & 0xFF000000u;
    float pen_x = x, pen_y = y;
    for (const char* c = text; *c; c++) {
        if (TextQueueCount + 18 > MaxTextVertices) return;
        Vec3 tl = text_point_to_world(pen_x, pen_y);
        Vec3 tr = text_point_to_world(pen_x + 0.025f, pen_y);
        Vec3 br = text_point_to_world(pen_x + 0.025f, pen_y - 0.038f);
        Vec3 bl = text_point_to_world(pen_x, pen_y - 0.038f);
        // Codes from 128 up are negative as signed bytes: their rows are negative.
        int code = static_cast<signed char>(*c);
        float cu = (code & 15) * 0.0625f, cv = (code / 16) * 0.0625f;
        float u1 = cu + 0.0625f, v1 = cv + 0.0625f;
        const Vec3 shifts[3] = {vec3_negate(o), o, Vec3{0, 0, 0}};
        for (int layer = 0; layer < 3; layer++) {
            Vec3 s = shifts[layer];
            uint32_t col = layer == 2 ? colour : black;
            push_vertex(vec3_add(tl, s), col, cu, cv);
            push_vertex(vec3_add(tr, s), col, u1, cv);
            push_vertex(vec3_add(bl, s), col, cu, v1);
            push_vertex(vec3_add(tr, s), col, u1, cv);
            push_vertex(vec3_add(br, s), col, u1, v1);
            push_vertex(vec3_add(bl, s), col, cu, v1);
        }
        if (c[1] == '\n') {
            pen_x = x;
            pen_y -= 0.038f;
            c++;
        } else {
            pen_x += 0.025f;
        }
    }
}

} // namespace bb
