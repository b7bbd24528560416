#include "app/run_report.h"

#include "app/main_loop.h"
#include "app/settings.h"
#include "game/camera.h"
#include "game/game_flow.h"
#include "physics/body.h"
#include "render/text_queue.h"
#include "wrestler/wrestler.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace bb {

std::string SceneName;
double TickSeconds = 0.0;
static FILE* TraceFile = nullptr;
static std::string TracePath;
static int TraceErrno = 0; // the first write's failure, 0 while none failed

static void json_vec3(JsonRecord& r, const char* key, Vec3 v) {
    json_begin_array(r, key);
    json_float(r, nullptr, v.x);
    json_float(r, nullptr, v.y);
    json_float(r, nullptr, v.z);
    json_end_array(r);
}

float wrestler_heading(const Wrestler& w) {
    // Forward = Side x up, with Side the pelvis's horizontal x axis.
    Vec3 side = mat3_row(w.FigureBodies[Pelvis]->Orientation, 0);
    return angle_atan2(-side.z, side.x);
}

void json_wrestler(JsonRecord& r, const Wrestler& w) {
    json_begin_object(r);
    json_int(r, "phase", w.Phase);
    json_int(r, "gait", w.Gait);
    json_int(r, "arm_action", w.ArmAction);
    json_int(r, "phase_ticks", w.PhaseTicks);
    json_float(r, "crouch", w.Crouch);
    json_float(r, "head_y", w.FigureBodies[Head]->Position.y);
    json_vec3(r, "pelvis", w.FigureBodies[Pelvis]->Position);
    json_vec3(r, "centre", wrestler_centre_of_mass(w));
    json_float(r, "heading", wrestler_heading(w));
    json_end_object(r);
}

bool bodies_finite() {
    for (int i = 0; i < BodyCount; i++) {
        const Body& b = Bodies[i];
        const float* groups[4] = {&b.Position.x, &b.Velocity.x, &b.AngularVelocity.x,
                                  b.Orientation.m};
        const int sizes[4] = {3, 3, 3, 9};
        for (int g = 0; g < 4; g++)
            for (int k = 0; k < sizes[g]; k++)
                if (!std::isfinite(groups[g][k])) return false;
    }
    return true;
}

static void json_wrestlers(JsonRecord& r) {
    json_begin_array(r, "wrestlers");
    for (const Wrestler* w = Wrestlers; w != WrestlersEnd; w++) json_wrestler(r, *w);
    json_end_array(r);
}

bool open_trace(const std::string& path, std::string& error) {
    TraceFile = std::fopen(path.c_str(), "w");
    TracePath = path;
    TraceErrno = 0;
    if (!TraceFile) {
        error = path + ": cannot be written: " + std::strerror(errno);
        return false;
    }
    return true;
}

void trace_tick() {
    if (!TraceFile) return;
    JsonRecord r;
    json_begin_object(r);
    json_int(r, "tick", TicksRun);
    json_int(r, "game_state", GameState);
    json_vec3(r, "camera", CameraPosition);
    json_begin_array(r, "score");
    json_int(r, nullptr, Score[0]);
    json_int(r, nullptr, Score[1]);
    json_end_array(r);
    json_wrestlers(r);
    // The menu may change the detail during a run.
    json_int(r, "light_count", LightCount);
    json_bool(r, "shadows_on", ShadowsOn != 0);
    json_end_object(r);
    // After the first failure the rest of the run writes nothing more; the
    // failure is reported when the trace closes.
    if (TraceErrno == 0 && std::fprintf(TraceFile, "%s\n", r.Text.c_str()) < 0)
        TraceErrno = errno ? errno : EIO;
}

bool close_trace(std::string& error) {
    if (!TraceFile) return true;
    if (std::fclose(TraceFile) != 0 && TraceErrno == 0) TraceErrno = errno ? errno : EIO;
    TraceFile = nullptr;
    if (TraceErrno == 0) return true;
    error = "cannot write the trace '" + TracePath + "': " + std::strerror(TraceErrno);
    return false;
}

std::string headless_summary() {
    JsonRecord r;
    json_begin_object(r);
    json_int(r, "ticks", TicksRun);
    json_int(r, "tick_count", TickCount);
    json_string(r, "scene", SceneName);
    json_int(r, "game_state", GameState);
    json_int(r, "bodies", BodyCount);
    int removed = 0;
    for (int i = 0; i < BodyCount; i++) removed += Bodies[i].Removed;
    json_int(r, "removed", removed);
    json_bool(r, "finite", bodies_finite());
    json_wrestlers(r);
    json_begin_array(r, "score");
    json_int(r, nullptr, Score[0]);
    json_int(r, nullptr, Score[1]);
    json_end_array(r);
    json_int(r, "menu_page", MenuPage);
    json_begin_array(r, "texts");
    for (int i = 0; i < QueuedTexts.Count; i++)
        json_string(r, nullptr, QueuedTexts.Pool + QueuedTexts.Offsets[i]);
    json_end_array(r);
    json_int(r, "light_count", LightCount);
    json_bool(r, "shadows_on", ShadowsOn != 0);
    json_int(r, "bouts_started", BoutsStarted);
    json_int(r, "bouts_decided", BoutsDecided);
    json_float(r, "sim_us_per_tick", TicksRun ? TickSeconds * 1e6 / TicksRun : 0.0);
    json_end_object(r);
    return r.Text;
}

} // namespace bb
