// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The report of the game's state for the end-to-end tests: the world table says what there is,
// the overloads below what the tests are told of each object.
#include "game/state_report.h"

#include "core/settings.h"
#include "game/world.h"
#include "render/scene.h"

#include <chrono>
#include <cmath>
#include <string>

namespace {

struct Report {
    std::FILE* out;
    int width;
    int height;
};

ScreenPoint onScreen(const Report& report, vec3 point)
{
    if (report.width <= 0 || report.height <= 0)
        return {};
    return projectToScreen(camera.pos, camera.target, camera.up, point, report.width, report.height);
}

void writeSetting(std::FILE* out, const char* key, bool value) { std::fprintf(out, "%s %d\n", key, value ? 1 : 0); }

void writeSetting(std::FILE* out, const char* key, double value) { std::fprintf(out, "%s %g\n", key, value); }

// What the tests are told of each object of the world table: nothing, unless said below.
template <typename T>
void report(Report&, const T&)
{
}

void report(Report& r, const std::vector<Effect*>& effects) { std::fprintf(r.out, "effects %zu\n", effects.size()); }

void report(Report& r, const std::vector<Enemy*>& enemies)
{
    std::fprintf(r.out, "enemies %zu\n", enemies.size());
    for (const Enemy* e : enemies) {
        const ScreenPoint s = onScreen(r, e->pos);
        std::fprintf(r.out, "enemy %.2f %.2f %.2f %.1f %d %.1f %.1f %.2f %.2f\n", e->pos.x, e->pos.y, e->pos.z, e->hp,
                     e->state, s.x, s.y, s.unit, e->distance(player));
    }
}

void report(Report& r, const Player& p)
{
    const ScreenPoint s = onScreen(r, p.pos);
    std::fprintf(r.out, "player %.2f %.2f %.2f %.1f %d %.2f %.1f %.1f %.2f\n", p.pos.x, p.pos.y, p.pos.z, p.hp,
                 p.state, p.camDist, s.x, s.y, s.unit);
    std::fprintf(r.out, "player_dir %.4f %.4f %.4f\n", p.dir.x, p.dir.y, p.dir.z);
    // The middle of the player's back, the green side that the camera behind it sees: one unit
    // behind its centre, against its heading.
    vec3 back = p.pos;
    const double flat = std::sqrt(p.dir.x * p.dir.x + p.dir.z * p.dir.z);
    if (flat > 0) {
        back.x -= p.dir.x / flat;
        back.z -= p.dir.z / flat;
    }
    const ScreenPoint b = onScreen(r, back);
    std::fprintf(r.out, "player_back %.1f %.1f %.2f\n", b.x, b.y, b.unit);
}

void report(Report& r, const Gui& g)
{
    // One line: a line break in the text would start a key of its own.
    std::string message = g.text3.text.str();
    for (char& c : message)
        if (c == '\n')
            c = ' ';
    std::fprintf(r.out, "message %s\n", message.c_str());
}

double msNow()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

void writeStateReport(std::FILE* out, const ShownFrame& frame)
{
    std::fprintf(out, "frame %lu\nframe_ms %.1f\nlongest_frame_ms %.1f\n", frame.number, frame.ms, frame.longestMs);
    std::fprintf(out, "samples %d\nsample_buffers %d\nviewport %d %d\nrenderer %s\n", frame.context.samples,
                 frame.context.sampleBuffers, frame.width, frame.height, frame.context.renderer.c_str());
    std::fprintf(out, "ticks %u\n", static_cast<unsigned>(game_time));
#define GLACIMOR_REPORT_SETTING(type, name, value, report, ...) writeSetting(out, report, name);
    GLACIMOR_SETTINGS(GLACIMOR_REPORT_SETTING, GLACIMOR_REPORT_SETTING)
#undef GLACIMOR_REPORT_SETTING
    Report r{out, frame.width, frame.height};
#define GLACIMOR_REPORT_OBJECT(type, name, arguments, reset) report(r, name);
    GLACIMOR_WORLD(GLACIMOR_REPORT_OBJECT)
#undef GLACIMOR_REPORT_OBJECT
}

extern "C" void glacimor_report_state(const char* path)
{
    static ShownFrame frame;
    static double last = -1;
    const double now = msNow();
    frame.ms = last < 0 ? 0 : now - last;
    last = now;
    if (frame.ms > frame.longestMs)
        frame.longestMs = frame.ms;
    if (++frame.number == 1)
        frame.context = readContextFacts();
    readViewportSize(frame.width, frame.height);
    if (!path)
        return;
    const std::string aside = std::string(path) + ".new";
    std::FILE* out = std::fopen(aside.c_str(), "w");
    if (!out)
        return;
    writeStateReport(out, frame);
    std::fclose(out);
    std::rename(aside.c_str(), path);
}
