#include "wrestler/wrestler.h"

namespace bb {

void controller_tick(Wrestler&, Wrestler&) {
    // NOTE: the figures' sensing, balance and gaits come with the wrestlers themselves.
}

void run_all_controllers() {
    for (Wrestler* w = Wrestlers; w != WrestlersEnd; w++) {
        Wrestler* o = w;
        if (w == Wrestlers && WrestlersEnd - Wrestlers > 1)
            o = w + 1;
        else if (w != Wrestlers)
            o = w - 1;
        controller_tick(*w, *o);
    }
}

} // namespace bb
