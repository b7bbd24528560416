// The computer opponent: the same command word a player gives, from a few
// geometric tests. Urge turns two-hand pushes into one-hand slaps when it
// pushes a lot.
#include "game/game_flow.h"
#include "wrestler/control.h"

namespace bb {

int computer_commands(Wrestler& w, Wrestler& o, ControlValues&) {
    if (GameState == HiddenPart) {
        // It only reacts to being hit.
        if (w.FigureBodies[Pelvis]->LastContactTick == TickCount && TickCount > 10 && w.Gait == 0 &&
            w.Phase == 0)
            flinch(w);
        return 0;
    }
    Vec3 vw = wrestler_mean_velocity(w);
    Vec3 vo = wrestler_mean_velocity(o);
    Vec3 s = mat3_transpose_mul_vec(Vec3{1, 0, 0}, w.FigureBodies[Pelvis]->Orientation);
    s.y = 0.0f;
    vec3_normalize(s);
    Vec3 f = vec3_cross(s, Vec3{0, 1, 0});
    Vec3 d = vec3_sub(o.FigureBodies[Pelvis]->Position, w.FigureBodies[Pelvis]->Position);
    float ahead = f.x * d.x + f.z * d.z;
    float across = s.x * d.x + s.z * d.z;
    float own_error = vec3_dot(f, w.BalanceError);
    bool opponent_pushing = o.ArmAction != 0;
    bool opponent_staggering = vec3_length_squared(o.BalanceError) > 25.0f;
    bool opponent_calm = vec3_length_squared(o.WalkDrive) < 0.04f;

    int command = 0;
    float t = opponent_calm ? 1.4f : 1.6f;
    if (w.Phase == 3) t = w.PhaseTicks * t * 0.0015384615f;
    float across2 = across * across;
    if ((across2 < 0.25f * (d.x * d.x + d.z * d.z) || across2 < 16.0f) &&
        vec3_length_squared(w.BalanceError) < 16.0f && ahead > 0.0f && !opponent_staggering &&
        (w.Urge < 160 || own_error > -2.0f) && vec3_length_squared(w.WalkDrive) < t * t)
        command |= CommandWalk;

    float reach = 5.1f;
    if (opponent_calm) reach = opponent_pushing ? 8.0f : 4.8f;
    float closing = ahead + 50.0f * vec3_dot(f, vec3_sub(vo, vw));
    if (reach * reach > closing * closing && own_error > -0.5f && across2 < 64.0f) {
        command |= w.Urge > 10 || reach > 7.5f ? CommandPushOne : CommandPushBoth;
        if (opponent_calm) command &= ~CommandWalk;
        w.Urge += 8;
    } else if (w.Urge > 0) {
        w.Urge -= 1;
    }

    if (GameState == BoutWaiting && TickCount % 300 > 150) command = CommandStart;
    return command;
}

} // namespace bb
