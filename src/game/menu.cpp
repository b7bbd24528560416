#include "game/menu.h"

#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "game/arena.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "math/random_stream.h"
#include "physics/fracture.h"
#include "physics/joint.h"
#include "render/scene_fade.h"
#include "render/text_queue.h"

#include <cmath>

namespace bb {

int32_t MenuFade = 255;
int32_t ClickCooldown = 0;

const char* const MenuTitle = "Brawlbox";
const char* const MenuMotto = "\"Tested on party animals\"";
const char* const MenuCredit = "Brawlbox developers\nhttps://brawlbox.example/";
const char* const DocumentationText =
    "WARNING: The characters in the game were performed by\n"
    "trained professionals!!! Do not try this at home!!!\n"
    " \n"
    "Sumo rules:\n"
    "If you cheat in the game, you and your computer will be\n"
    "thrown out from the party. (and cubes will be thrown at them)\n"
    "The bout starts when both players touch the ground, and ends when a\n"
    "player falls to the ground or steps outside the circle. \n"
    "A cube of the winner's color is thrown in.\n"
    "Then players stand up and bend for greeting.(may be difficult)\n"
    "To win a game you need to have two more points than your enemy,\n"
    " and at least 5. Cubes in corner count score.\n"
    "A new arena is built for every bout.\n"
    " \n"
    "The texts on the screen are straight and still.\n"
    "Can you find the hidden part?\n"
    "homepage: https://brawlbox.example/\n";

namespace {

struct Chain {
    Body* Last;  // the body the next link hangs from
    Vec3 Anchor; // the point on it, local
};

void add_chain_joint(Chain& chain, Body* next, Vec3 next_anchor, Vec3 axis_a, float cone) {
    if (JointCount >= MaxJoints) return;
    Joint& j = Joints[JointCount++];
    j = Joint{};
    j.BodyA = chain.Last;
    j.BodyB = next;
    j.AnchorA = chain.Anchor;
    j.AnchorB = next_anchor;
    j.AxisA = axis_a;
    j.AxisB = Vec3{0, 1, 0};
    j.RefA = j.RefB = Vec3{1, 0, 0};
    j.LockTwist = 0;
    j.ConeLimit = cone;
    j.TwistLimit = 1.21f;
}

// A column of signs hanging on two chains from the beam.
void build_column(Body* beam, int column, int rows) {
    int page = MenuPage;
    Vec3 offset = {0, 0, -20.0f * column};
    int texture = page == 3 ? 4 + 2 * column : page + 4 + 2 * column;
    int first_item = 1 + 16 * column;
    int label_offset = page == 3 ? 2 : 0;
    int links = column == 0 ? 3 : 5;
    float h = column == 0 ? 1.8f : 4.5f;
    Chain chains[2] = {{beam, Vec3{-5, 0, 7.0f + offset.z}}, {beam, Vec3{-5, 0, -7.0f + offset.z}}};
    float y = 40.0f;
    for (int row = 0; row < rows; row++) {
        for (int level = 0; level < links; level++) {
            for (int k = 0; k < 2; k++) {
                float z = k == 0 ? 7.0f : -7.0f;
                Body* link = make_box(0.5f, -0.9f, 0.5f, -85, y + 0.9f, z + offset.z, 0, 0.125f);
                if (!link) return;
                link->Inertia *= 3.0f;
                link->InverseInertia *= 1.0f / 3.0f;
                bool first = row == 0 && level == 0;
                add_chain_joint(chains[k], link, Vec3{0, -0.9f, 0},
                                first ? Vec3{0, -1, 0} : Vec3{0, 1, 0}, 0.81f);
                chains[k] = Chain{link, Vec3{0, 0.9f, 0}};
            }
            y += 1.8f;
        }
        Body* sign = make_box(0.6f, -h, 9, -85, y + h, offset.z, texture, -0.0555556f);
        if (!sign) return;
        sign->ItemId = first_item + row;
        sign->TextureOffset = Vec3{-0.6f, h + 2.953125f * (row + label_offset), -9};
        sign->Mass *= 0.03f;
        sign->Density *= 0.03f;
        sign->Inertia *= 0.03f;
        sign->InverseMass *= 33.333336f;
        sign->InverseInertia *= 33.333336f;
        sign->SoundId = 2;
        sign->SoundGain = 3.0f;
        float r1 = random_next();
        float r2 = random_next();
        sign->Velocity = Vec3{(r2 + 1.0f) * -0.04f, r1 * 0.26f, 0};
        y += 2.0f * h;
        sign->BreakThreshold = 15;
        for (int k = 0; k < 2; k++) {
            float z = k == 0 ? 7.0f : -7.0f;
            add_chain_joint(chains[k], sign, Vec3{0, -h, z}, Vec3{0, 1, 0}, 0.80999994f);
            chains[k] = Chain{sign, Vec3{0, h, z}};
        }
    }
}

void make_choice(int item) {
    switch (MenuPage) {
    case 0:
        switch (item) {
        case 1:
        case 2:
            TwoPlayers = item == 2 ? 1 : 0;
            Score[0] = Score[1] = 0;
            start_bout();
            break;
        case 3:
            MenuPage = 1;
            build_menu();
            break;
        case 4:
            QuitRequested = 1;
            break;
        case 6:
            start_hidden_part();
            break;
        case 17:
            MenuPage = 3;
            build_menu();
            break;
        default:
            break;
        }
        break;
    default:
        MenuPage = 0;
        build_menu();
        break;
    }
    SceneColour = 0;
}

} // namespace

void build_menu() {
    TickCount = 0;
    show_cursor(1);
    InputState.ClickX = -1;
    GameState = Menu;
    build_arena(0);
    ShadowLength = 80.0f;
    BrokenItemId = 0;
    for (int i = -4; i <= 4; i++) make_static(*make_box(1, -25, 1, -80, 15, 7.0f * i, 1, 0.125f));
    Body* beam = make_box(4, -1.5f, 30, -80, 40, 0, 1, 0.125f);
    make_static(*beam);
    switch (MenuPage) {
    case 0:
        build_column(beam, 0, 4);
        build_column(beam, 1, 1);
        break;
    case 1:
        build_column(beam, 0, 4);
        break;
    case 3:
        build_column(beam, 1, 1);
        break;
    default:
        break;
    }
    rebuild_joint_links();
}

bool click_may_throw() {
    if (ClickCooldown > 0) return false;
    ClickCooldown = 60;
    return true;
}

void menu_tick(uint8_t draw) {
    if (BodyCount > 200) build_menu();

    if (BrokenItemId == 0) {
        MenuFade = 255;
    } else {
        if (MenuPage == 1) {
            ShadowsOn = 1;
            switch (BrokenItemId) {
            case 1:
                ShadowsOn = 0;
                LightCount = 2;
                break;
            case 2:
                LightCount = 2;
                break;
            case 3:
                LightCount = 4;
                break;
            case 4:
                LightCount = 12;
                break;
            default:
                break;
            }
        }
        MenuFade -= 2;
        if (MenuFade > 0) {
            uint32_t b = static_cast<uint32_t>(std::sqrt(256.0 * MenuFade));
            SceneColour = b * 0x010101u;
        } else {
            make_choice(BrokenItemId);
        }
    }

    ClickCooldown -= 1;
    if (InputState.ClickX != -1) {
        if (click_may_throw()) {
            Vec3 r = click_ray();
            float k = (CameraPosition.x + 84.0f) / r.x;
            Vec3 target = vec3_sub(CameraPosition, vec3_scale(r, k));
            throw_cube(Vec3{-120, 10, 0}, target, 30, 2);
        }
        InputState.ClickX = -1;
    }

    if (InputState.EscapeRequested) QuitRequested = 1;

    if (!draw) return;
    if (MenuPage == 3) {
        draw_text(-0.85f, 0.4f, DocumentationText, 0xC0FFFFFFu);
        uint32_t c = SceneColour;
        SceneColour = (((c & 0xFF00u) * 3 / 4) & 0xFF00u) | ((c / 2) & 0x7F007Fu);
    }
    draw_text(-0.2f, 0.6f, MenuTitle, 0xC08080FFu);
    draw_text(0.27f, -0.5f, MenuMotto, 0xC0FFFFFFu);
    draw_text(-0.85f, -0.5f, MenuCredit, 0xC0FFFFFFu);
}

} // namespace bb
