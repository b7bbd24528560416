// Colour operations and channel moves, in place, pixel by pixel. Layer and
// channel parameters must already be in range (0..3 and 0..2).
#pragma once

#include <cstdint>

namespace bb {

void swap_channels(int target, const uint8_t* p);     // opcode 20
void channel_to_grey(int target, const uint8_t* p);   // opcode 21
void copy_channel(int target, const uint8_t* p);      // opcode 23
void contrast(int target, const uint8_t* p);          // opcode 30
void invert_blue(int target);                         // opcode 31
void modulate_by_layer(int target, const uint8_t* p); // opcode 32
void brightness(int target, const uint8_t* p);        // opcode 33
void cosine_bands(int target, const uint8_t* p);      // opcode 34
void channel_range(int target, const uint8_t* p);     // opcode 35
void hue_saturation(int target, const uint8_t* p);    // opcode 36
void gradient_map(int target, const uint8_t* p);      // opcode 37

} // namespace bb
