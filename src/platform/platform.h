// The only door to the operating system: window, messages, clock, cursor and
// the frame. Nothing else in the game includes SDL or GL.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

// Opens the main window "Brawlbox" with a GL context that has an 8-bit stencil
// buffer; full screen it takes the desktop's mode whatever the size asked for.
// On failure returns false with the cause in error.
bool platform_open_window(int width, int height, bool fullscreen, std::string& error);
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
