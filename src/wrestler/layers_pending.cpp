// The layers of arm actions, bout phases, falling and getting up, and the
// computer opponent. Until they are built the figure only stands and walks:
// they leave the working values as they are and the computer gives no command.
#include "wrestler/control.h"

namespace bb {

void phase_layer(Wrestler&, Wrestler&, ControlValues&) {}
void arm_layer(Wrestler&, Wrestler&, ControlValues&) {}
int computer_commands(Wrestler&, Wrestler&, ControlValues&) {
    return 0;
}
void gait_limp(Wrestler&, ControlValues&) {}
void gait_get_up(Wrestler&, ControlValues&) {}
void gait_roll_over(Wrestler&, ControlValues&) {}

} // namespace bb
