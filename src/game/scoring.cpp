#include "game/scoring.h"

#include "audio/music_control.h"
#include "game/arena.h"
#include "game/game_flow.h"
#include "wrestler/wrestler.h"

namespace bb {

void decide_bout(Wrestler& loser, Body& part) {
    ResultTicks = 0;
    GameState = BoutDecided;
    music_restart(9);
    LastWinner = &loser == &Wrestlers[0] ? 1 : 0;
    Score[LastWinner] += 1;
    throw_cube(Vec3{-30, 16, -15}, part.Position, 50, 2 + LastWinner);
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++) w->Phase = 5;
}

bool game_over() {
    int lead = Score[0] - Score[1];
    return (Score[0] >= 5 || Score[1] >= 5) && (lead >= 2 || lead <= -2);
}

} // namespace bb
