// The only door to the operating system: window, messages, clock, cursor and
// the frame. Nothing else in the game includes SDL or GL.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

// Starts SDL's video; false with the cause in error when no display answers.
bool platform_init_video(std::string& error);
// Opens the main window "Brawlbox" with a GL context that has an 8-bit stencil
// buffer. Full screen it switches the display to width by height, or takes the
// desktop's mode for 0 by 0 or (with a message) when that mode is refused.
// vsync presents frames at the display's rate where the driver can. On failure
// returns false with the cause in error.
bool platform_open_window(int width, int height, bool fullscreen, bool vsync, std::string& error);
void platform_close_window();
// Drains pending window messages into InputState without blocking, and applies
// the cursor visibility asked for.
void platform_pump_messages();
// Milliseconds since start; never wraps.
uint64_t platform_milliseconds();
// Gives up the rest of the time slice.
void platform_yield();
// Shows the frame drawn into the back buffer.
void platform_present_frame();
// The window's drawable size in pixels (the desktop's mode when full screen).
void platform_drawable_size(int& width, int& height);

} // namespace bb
