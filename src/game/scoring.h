// Bouts decided, points scored, and the win rule of a game.
#pragma once

namespace bb {

struct Wrestler;
struct Body;

// The referee's decision: loser lost by touching down with body part.
void decide_bout(Wrestler& loser, Body& part);
// A game is won with at least 5 points and a lead of 2.
bool game_over();

// The texts of the bout states, queued on drawing ticks.
void queue_result_texts();
void queue_waiting_texts();
void queue_score_text();
// The score text: player 1's points, a colon, player 0's, two digits each.
void format_score(char out[6]);

} // namespace bb
