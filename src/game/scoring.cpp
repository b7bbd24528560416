#include "game/scoring.h"

#include "audio/music_control.h"
#include "game/arena.h"
#include "game/game_flow.h"
#include "render/text_queue.h"
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

static const uint32_t PlayerColour[2] = {0xE08080FFu, 0xC0FFFFFFu};

void queue_result_texts() {
    bool over = game_over();
    if (over) {
        int winner = Score[1] > Score[0] ? 1 : 0;
        draw_text(-0.1f, 0.42f, winner == 0 ? " Game \n  ->  " : " Game \n  <-  ",
                  PlayerColour[winner]);
        draw_text(-0.1f, 0.1f, "           \n Game Over \n           ", 0xC0FFFF00u);
    }
    draw_text(-0.2f, 0.5f, LastWinner == 0 ? "Winner\n  ->  " : "Winner\n  <-  ",
              PlayerColour[LastWinner]);
    draw_text(-0.5f, 0.6f, over ? "Space to main menu" : "Space to continue", 0xC0C0C0C0u);
}

void queue_waiting_texts() {
    draw_text(0.2f, 0.6f,
              "Controls:\n DOWN      - start match\n UP        - walk forward\n"
              " BACKSPACE - Push\n ENTER     - Push 1 hand",
              0xB0FFFFFFu);
    if (TwoPlayers)
        draw_text(-0.8f, 0.6f,
                  "Controls:\n S         - start match\n W         - walk forward\n"
                  " SHIFT     - Push\n CTRL      - Push 1 hand",
                  0xB0FFFFFFu);
}

void format_score(char out[6]) {
    // NOTE: two characters a score, exact up to 99; above, a score shows as 99.
    int s1 = Score[1] < 0 ? 0 : Score[1] > 99 ? 99 : Score[1];
    int s0 = Score[0] < 0 ? 0 : Score[0] > 99 ? 99 : Score[0];
    out[0] = static_cast<char>('0' + s1 / 10);
    out[1] = static_cast<char>('0' + s1 % 10);
    out[2] = ':';
    out[3] = static_cast<char>('0' + s0 / 10);
    out[4] = static_cast<char>('0' + s0 % 10);
    out[5] = '\0';
}

void queue_score_text() {
    char text[6];
    format_score(text);
    draw_text(0.04f, 0.5f, text, 0xC0C0C0C0u);
}

} // namespace bb
