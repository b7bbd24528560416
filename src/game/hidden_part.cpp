#include "game/hidden_part.h"

#include "app/input.h"
#include "game/arena.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "game/menu.h"
#include "physics/body.h"
#include "render/text_queue.h"

namespace bb {

void hidden_part_tick() {
    ClickCooldown -= 1;
    if (InputState.ClickX != -1) {
        if (click_may_throw()) {
            Vec3 r = click_ray();
            Vec3 target = vec3_add(CameraPosition, vec3_scale(r, 50.0f));
            // A little to the right of the camera and ahead of it.
            Vec3 from =
                vec3_add(CameraPosition, mat3_transpose_mul_vec(Vec3{5, 0, 4}, CameraMatrix));
            throw_cube(from, target, 30, 2);
        }
        InputState.ClickX = -1;
    }
    draw_text(-0.2f, 0.55f, "Hidden Part", 0xB08F8FFFu);
    if (TickCount < 1000)
        draw_text(0.2f, 0.6f,
                  "Controls:\nLeft/Right = Move Camera\nMouse Click = Punish!!!\nEsc      = leave",
                  0xB0FFFFFFu);
    if (BodyCount > 400) build_menu();
}

} // namespace bb
