// The module player: advances song position, row and tick, interprets the
// pattern cells and writes each channel's trigger, volume, pan and frequency
// into its mixer voice. It plays a subset of the XM effects; the rest are
// ignored. Only the linear frequency table gives notes a pitch.
#pragma once

#include "audio/module.h"

namespace bb {

// One tick. Called by the mixer whenever a tick's output frames are used up.
void player_tick(Module& module);

// Stores the BPM and the output frames per tick: 689 at BPM 160. A BPM
// below 1 is ignored.
void set_bpm(Module& module, int bpm);

// Starts playback from a song position (a position past the song's end
// starts at 0): default speed and BPM, fresh channels, channel c on voice c.
void player_start(Module& module, int position);

} // namespace bb
