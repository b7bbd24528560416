// The music cues of the game.
#pragma once

namespace bb {

// Restarts the music at a song position (3 menu, 6 bout, 9 result). Silent
// until the music output exists, as with sound off.
void music_restart(int position);

} // namespace bb
