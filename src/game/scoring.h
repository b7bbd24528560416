// Bouts decided, points scored, and the win rule of a game.
#pragma once

namespace bb {

struct Wrestler;
struct Body;

// The referee's decision: loser lost by touching down with body part.
void decide_bout(Wrestler& loser, Body& part);
// A game is won with at least 5 points and a lead of 2.
bool game_over();

} // namespace bb
