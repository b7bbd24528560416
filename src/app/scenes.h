#pragma once

#include <string>

namespace bb {

// Builds the physics world and starts the scene a run asked for: "hidden",
// "bout" (two_players for a bout on one keyboard), "demo" (a bout with the
// computer on both sides) or "practice" (the hidden part's lone wrestler on
// the first key set). Anything else, "menu" or "", starts in the menu, as the
// game does.
void start_named_scene(const std::string& name, bool two_players);

} // namespace bb
