#include "platform/settings_window.h"

#include "platform/platform.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cstdio>

namespace bb {

namespace {

constexpr int ClientWidth = 600, ClientHeight = 300;
// The background colour 0xD0C0C0 as blue, green, red bytes: red and green 0xC0, blue 0xD0.
const ImVec4 Background = {0xC0 / 255.0f, 0xC0 / 255.0f, 0xD0 / 255.0f, 1.0f};

enum ListId { ModeListId, DetailListId, SoundListId, ListCount };

struct SettingsWindowState {
    DisplayModeList Modes;
    char ModeLabels[MaxDisplayModes + 1][40];
    SettingsChoices Choices;
    int FocusedList;
    bool ScrollToSelection; // once the selection moved by key, or at the start
    bool Done;
    SettingsWindowResult Result;
    bool Apply; // ended by a button, Enter or Escape: the choices count
};

int* selected_line(SettingsWindowState& s, int list) {
    return list == ModeListId     ? &s.Choices.ModeLine
           : list == DetailListId ? &s.Choices.DetailLine
                                  : &s.Choices.SoundLine;
}

int line_count(const SettingsWindowState& s, int list) {
    return list == ModeListId ? s.Modes.Count + 1 : list == DetailListId ? DetailCount : 2;
}

const char* line_label(const SettingsWindowState& s, int list, int line) {
    return list == ModeListId     ? s.ModeLabels[line]
           : list == DetailListId ? DetailLabels[line]
                                  : SoundLabels[line];
}

void finish(SettingsWindowState& s, SettingsWindowResult result, bool apply) {
    if (s.Done) return;
    s.Done = true;
    s.Result = result;
    s.Apply = apply;
}

// Arrow keys move in the focused list, Tab moves between the lists, Enter
// plays and Escape quits, as the buttons do.
void handle_key(SettingsWindowState& s, const SDL_KeyboardEvent& key) {
    int* line = selected_line(s, s.FocusedList);
    int last = line_count(s, s.FocusedList) - 1;
    int moved = *line;
    switch (key.keysym.sym) {
    case SDLK_UP:
        moved--;
        break;
    case SDLK_DOWN:
        moved++;
        break;
    case SDLK_PAGEUP:
        moved -= 8;
        break;
    case SDLK_PAGEDOWN:
        moved += 8;
        break;
    case SDLK_HOME:
        moved = 0;
        break;
    case SDLK_END:
        moved = last;
        break;
    case SDLK_TAB:
        s.FocusedList =
            (s.FocusedList + ((key.keysym.mod & KMOD_SHIFT) ? ListCount - 1 : 1)) % ListCount;
        return;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        finish(s, SettingsWindowPlay, true);
        return;
    case SDLK_ESCAPE:
        finish(s, SettingsWindowQuit, true);
        return;
    default:
        return;
    }
    *line = moved < 0 ? 0 : moved > last ? last : moved;
    s.ScrollToSelection = true;
}

void draw_list(SettingsWindowState& s, int list, const char* id, float x, float y, float w,
               float h) {
    ImGui::SetCursorPos({x, y});
    bool focused = s.FocusedList == list;
    ImGui::PushStyleColor(ImGuiCol_Border, focused ? ImVec4{0.1f, 0.1f, 0.5f, 1.0f}
                                                   : ImVec4{0.45f, 0.45f, 0.5f, 1.0f});
    ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, focused ? 2.0f : 1.0f);
    if (ImGui::BeginListBox(id, {w, h})) {
        int* line = selected_line(s, list);
        for (int i = 0; i < line_count(s, list); i++) {
            ImGui::PushID(i);
            if (ImGui::Selectable(line_label(s, list, i), *line == i)) {
                *line = i;
                s.FocusedList = list;
            }
            if (*line == i && s.ScrollToSelection) ImGui::SetScrollHereY();
            ImGui::PopID();
        }
        if (ImGui::IsWindowHovered() && ImGui::IsMouseClicked(ImGuiMouseButton_Left))
            s.FocusedList = list;
        ImGui::EndListBox();
    }
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
}

void draw_window(SettingsWindowState& s) {
    ImGui::SetNextWindowPos({0, 0});
    ImGui::SetNextWindowSize({ClientWidth, ClientHeight});
    ImGui::Begin("Settings", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
    static char caption[] = "System Settings";
    ImGui::SetCursorPos({10, 0});
    ImGui::SetNextItemWidth(380);
    ImGui::InputText("##caption", caption, sizeof caption, ImGuiInputTextFlags_ReadOnly);
    draw_list(s, ModeListId, "##modes", 400, 10, 180, 280);
    draw_list(s, DetailListId, "##detail", 10, 30, 380, 120);
    draw_list(s, SoundListId, "##sound", 10, 190, 180, 60);
    s.ScrollToSelection = false;
    ImGui::SetCursorPos({60, 260});
    if (ImGui::Button("PLAY GAME", {120, 20})) finish(s, SettingsWindowPlay, true);
    ImGui::SetCursorPos({10, 260});
    if (ImGui::Button("QUIT", {40, 20})) finish(s, SettingsWindowQuit, true);
    ImGui::End();
}

void set_style() {
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowPadding = {0, 0};
    style.WindowBorderSize = 0;
    style.FrameRounding = 0;
    style.ItemSpacing = {4, 1};
    style.Colors[ImGuiCol_WindowBg] = Background;
    style.Colors[ImGuiCol_FrameBg] = {1, 1, 1, 1};
    style.Colors[ImGuiCol_Text] = {0, 0, 0, 1};
    style.Colors[ImGuiCol_Header] = {0.55f, 0.65f, 0.95f, 1.0f};
    style.Colors[ImGuiCol_HeaderHovered] = {0.8f, 0.85f, 0.98f, 1.0f};
    style.Colors[ImGuiCol_HeaderActive] = {0.55f, 0.65f, 0.95f, 1.0f};
    style.Colors[ImGuiCol_Button] = {0.88f, 0.88f, 0.9f, 1.0f};
    style.Colors[ImGuiCol_ButtonHovered] = {0.95f, 0.95f, 1.0f, 1.0f};
    style.Colors[ImGuiCol_ButtonActive] = {0.7f, 0.7f, 0.8f, 1.0f};
    style.FrameBorderSize = 1;
}

void draw_frame(SettingsWindowState& s) {
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    draw_window(s);
    ImGui::Render();
}

} // namespace

void enumerate_display_modes(DisplayModeList& list) {
    list.Count = 0;
    // NOTE: SDL lists the largest mode first; offered smallest first, so the
    // last line, the one selected at the start, is the largest mode.
    for (int i = SDL_GetNumDisplayModes(0) - 1; i >= 0; i--) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        if (!add_enumerated_mode(list, m.w, m.h, static_cast<int32_t>(SDL_BITSPERPIXEL(m.format)),
                                 m.refresh_rate)) {
            std::fprintf(stderr,
                         "brawlbox: the display has more than %d modes; the largest are "
                         "not offered\n",
                         MaxDisplayModes);
            break;
        }
    }
}

SettingsWindowResult run_settings_window(const SettingsRecord* saved, SettingsRecord& record,
                                         std::string& error) {
    if (!platform_init_video(error)) return SettingsWindowFailed;
    static SettingsWindowState s;
    s = SettingsWindowState{};
    enumerate_display_modes(s.Modes);
    std::snprintf(s.ModeLabels[0], sizeof s.ModeLabels[0], "%s", WindowedModeLabel);
    for (int i = 0; i < s.Modes.Count; i++)
        format_display_mode(s.Modes.Modes[i], s.ModeLabels[i + 1], sizeof s.ModeLabels[i + 1]);
    s.Choices = initial_settings_choices(s.Modes, saved);
    s.FocusedList = ModeListId;
    s.ScrollToSelection = true;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window =
        SDL_CreateWindow("Settings", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, ClientWidth,
                         ClientHeight, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        error = std::string("the settings window could not be opened (") + SDL_GetError() + ")";
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return SettingsWindowFailed;
    }
    SDL_GL_MakeCurrent(window, context);
    if (SDL_GL_SetSwapInterval(1) != 0) SDL_GL_SetSwapInterval(0);

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr; // the window's layout is fixed; nothing to keep
    io.LogFilename = nullptr;
    set_style();
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    ImGui_ImplOpenGL2_Init();

    while (!s.Done) {
        SDL_Event e;
        // Sleeps until something happens; a short timeout keeps hover and
        // button highlights current.
        if (SDL_WaitEventTimeout(&e, 50)) {
            do {
                ImGui_ImplSDL2_ProcessEvent(&e);
                if (e.type == SDL_QUIT ||
                    (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE))
                    finish(s, SettingsWindowQuit, false);
                else if (e.type == SDL_KEYDOWN)
                    handle_key(s, e.key);
            } while (SDL_PollEvent(&e));
        }
        draw_frame(s);
        glViewport(0, 0, static_cast<int>(io.DisplaySize.x), static_cast<int>(io.DisplaySize.y));
        glClearColor(Background.x, Background.y, Background.z, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        SDL_GL_SwapWindow(window);
    }

    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    if (s.Apply) {
        record = record_from_choices(s.Modes, s.Choices);
        apply_settings_record(record);
    }
    return s.Result;
}

} // namespace bb
