#pragma once

namespace bb {

// The hidden sandbox: clicks throw cubes along the click ray at the lone
// wrestler; too much debris returns to the menu.
void hidden_part_tick();

} // namespace bb
