#include "platform/platform.h"

#include "app/input.h"
#include "platform/audio.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace bb {

// SDL's scancodes are the USB HID usages our table is keyed by.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_KP_ENTER == 88 &&
              SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_UP == 82);

static SDL_Window* MainWindow = nullptr;
static SDL_GLContext MainContext = nullptr;
static uint8_t AppliedCursor = 1;

bool platform_init_video(std::string& error) {
    // Ctrl+C in a terminal should end the program, not become a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        error = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set; use --headless to run "
                "without one";
        return false;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("no display could be opened (") + SDL_GetError() +
                "); use --headless to run without one";
        return false;
    }
    // NOTE: SDL falls back to an invisible off-screen driver when no display
    // answers; a window nobody can see is no window.
    const char* used = SDL_GetCurrentVideoDriver();
    if (used && !driver &&
        (std::strcmp(used, "offscreen") == 0 || std::strcmp(used, "dummy") == 0)) {
        error = "no display could be opened; use --headless to run without one";
        SDL_Quit();
        return false;
    }
    return true;
}

// Switches the full-screen window to the chosen mode; false when the display
// has no such mode or refuses it.
static bool set_full_screen_mode(int width, int height) {
    SDL_DisplayMode want = {0, width, height, 0, nullptr}, mode;
    if (!SDL_GetClosestDisplayMode(0, &want, &mode) || mode.w != width || mode.h != height)
        return false;
    return SDL_SetWindowDisplayMode(MainWindow, &mode) == 0 &&
           SDL_SetWindowFullscreen(MainWindow, SDL_WINDOW_FULLSCREEN) == 0;
}

bool platform_open_window(int width, int height, bool fullscreen, bool vsync, std::string& error) {
    if (!platform_init_video(error)) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    bool chosen_mode = fullscreen && width > 0 && height > 0;
    // NOTE: made at the full-screen size from the start: without a window
    // manager nothing would resize the window to the full screen later.
    SDL_DisplayMode desktop;
    if (fullscreen && !chosen_mode && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
    Uint32 flags =
        SDL_WINDOW_OPENGL | (fullscreen && !chosen_mode ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    MainWindow = SDL_CreateWindow("Brawlbox", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                  width, height, flags);
    if (!MainWindow) {
        error = std::string("the main window could not be created (") + SDL_GetError() +
                "); use --headless to run without a display";
        SDL_Quit();
        return false;
    }
    if (chosen_mode && !set_full_screen_mode(width, height)) {
        std::fprintf(stderr,
                     "brawlbox: the display refused the mode %dx%d; full screen in the desktop's "
                     "mode instead\n",
                     width, height);
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
            SDL_SetWindowSize(MainWindow, desktop.w, desktop.h);
        SDL_SetWindowFullscreen(MainWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    MainContext = SDL_GL_CreateContext(MainWindow);
    int stencil = 0;
    if (!MainContext || SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil) != 0 || stencil < 8) {
        error = MainContext
                    ? "the OpenGL context has no 8-bit stencil buffer"
                    : std::string("no OpenGL context could be created (") + SDL_GetError() + ")";
        error += "; use --headless to run without graphics";
        platform_close_window();
        return false;
    }
    // A driver without a swap interval presents at once; the loop keeps time either way.
    if (!vsync || SDL_GL_SetSwapInterval(1) != 0) SDL_GL_SetSwapInterval(0);
    AppliedCursor = 1;
    return true;
}

void platform_close_window() {
    if (MainContext) SDL_GL_DeleteContext(MainContext);
    if (MainWindow) SDL_DestroyWindow(MainWindow);
    MainContext = nullptr;
    MainWindow = nullptr;
    SDL_Quit();
}

void platform_pump_messages() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_KEYDOWN:
            // Keys pressed with Alt are system keys: not recorded.
            if (e.key.keysym.mod & KMOD_ALT) break;
            input_key_down(scan_code_from_usb_usage(e.key.keysym.scancode));
            break;
        case SDL_KEYUP:
            // Releases are always taken, so no key can stay held.
            input_key_up(scan_code_from_usb_usage(e.key.keysym.scancode));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                // Back-buffer pixels, also when the window was resized.
                int ww = 0, wh = 0, dw = 0, dh = 0;
                SDL_GetWindowSize(MainWindow, &ww, &wh);
                SDL_GL_GetDrawableSize(MainWindow, &dw, &dh);
                int x = e.button.x, y = e.button.y;
                if (ww > 0 && wh > 0 && (ww != dw || wh != dh)) {
                    x = static_cast<int>(static_cast<int64_t>(x) * dw / ww);
                    y = static_cast<int>(static_cast<int64_t>(y) * dh / wh);
                }
                input_click(x, y);
            }
            break;
        case SDL_AUDIODEVICEADDED:
        case SDL_AUDIODEVICEREMOVED:
            platform_audio_device_event(e.type == SDL_AUDIODEVICEADDED, e.adevice.which,
                                        e.adevice.iscapture != 0);
            break;
        default:
            // SDL_QUIT (the close box) is ignored: the game is left from its menu.
            break;
        }
    }
    platform_audio_keep_time();
    if (CursorShown != AppliedCursor) {
        AppliedCursor = CursorShown;
        SDL_ShowCursor(CursorShown ? SDL_ENABLE : SDL_DISABLE);
    }
}

uint64_t platform_milliseconds() {
    return SDL_GetTicks64();
}

void platform_yield() {
    std::this_thread::yield();
}

void platform_present_frame() {
    if (MainWindow) SDL_GL_SwapWindow(MainWindow);
}

void platform_drawable_size(int& width, int& height) {
    width = height = 0;
    if (MainWindow) SDL_GL_GetDrawableSize(MainWindow, &width, &height);
}

} // namespace bb
