#include "audio/music_control.h"

namespace bb {

void music_restart(int) {}

} // namespace bb
