// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Glacimor's frame benchmark. It opens a real window, loads the game's shaders and textures the
// way the game does, and times the game's own update and render steps on fixed scenes, with the
// game clock scripted at 16 ms per frame so that every run draws the same pictures. It also times
// the real program's start-up, from SDL_Init to its first buffer swap, and its second frame,
// through a preloaded probe, with an empty and with a warm shader cache.
//
// Each resolution runs in a child process of its own: the text renderer builds its font texture
// and the cube its display list once per process, so a second GL context in the same process
// would draw without them.
#include "scenes.h"

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "audio/mixer.h"

#include "core/clock.h"
#include "core/settings.h"
#include "game/frame.h"
#include "platform/startup.h"
#include "render/gl.h"
#include "render/shader.h"
#include "world/particles.h"

#include <SDL.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef GLACIMOR_BENCH_GAME
#define GLACIMOR_BENCH_GAME "glacimor"
#endif
#ifndef GLACIMOR_BENCH_PROBE
#define GLACIMOR_BENCH_PROBE "libglacimor_probe.so"
#endif
#ifndef GLACIMOR_SOURCE_DIR
#define GLACIMOR_SOURCE_DIR "."
#endif

namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------------------------
// Options

struct Options {
    int frames = 200;     // timed frames per scene
    int warmup = 10;      // untimed frames before them
    int startupRuns = 5;  // start-ups of the real program
    std::string game = GLACIMOR_BENCH_GAME;
    std::string probe = GLACIMOR_BENCH_PROBE;
    std::string dataDir = GLACIMOR_SOURCE_DIR; // where textures/ and shader/ are
    std::string only;     // run only the scenes whose name contains this
    std::string size;     // run only this resolution, e.g. "1280x720"
};

void usage()
{
    std::printf("usage: glacimor_bench [--frames N] [--warmup N] [--startup-runs N] [--only SCENE]\n"
                "                      [--size WxH] [--game PATH] [--probe PATH] [--data DIR]\n"
                "Times the game's update and render steps on fixed scenes at 1280x720 (4x MSAA)\n"
                "and 800x600, and the real program's start-up, N runs with an empty shader cache and N\n"
                "with a warm one (0 start-up runs skip it).\n");
}

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue)
            options.frames = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--warmup" && hasValue)
            options.warmup = std::max(0, std::atoi(argv[++i]));
        else if (arg == "--startup-runs" && hasValue)
            options.startupRuns = std::max(0, std::atoi(argv[++i]));
        else if (arg == "--only" && hasValue)
            options.only = argv[++i];
        else if (arg == "--size" && hasValue)
            options.size = argv[++i];
        else if (arg == "--game" && hasValue)
            options.game = argv[++i];
        else if (arg == "--probe" && hasValue)
            options.probe = argv[++i];
        else if (arg == "--data" && hasValue)
            options.dataDir = argv[++i];
        else {
            usage();
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Statistics

struct Spread {
    double median = 0;
    double p10 = 0;
    double p90 = 0;
};

// Percentile by linear interpolation between the closest ranks; samples must be sorted.
double percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const double rank = p * static_cast<double>(sorted.size() - 1);
    const std::size_t below = static_cast<std::size_t>(rank);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = rank - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

Spread summarize(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {percentile(samples, 0.5), percentile(samples, 0.1), percentile(samples, 0.9)};
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Frames per second at a frame time: what a player reads off the game's FPS line.
double framesPerSecond(double ms)
{
    return ms > 0 ? 1000.0 / ms : 0;
}

// ---------------------------------------------------------------------------------------------
// The scenes (scenes.h) under the scripted clock

using scenes::FRAME_MS;
using scenes::scriptedTicks;

// What minutes of attack spam leave: the peak with 25,000 running stuns, spread in turn over
// the enemies the peak stuns, so each carries a stack of 250 and the picture is the peak's.
// Culling and shading on, as in the peak scene it is compared with.
constexpr std::size_t STACKED_STUNS = 25000;
const char* const STACKED_SCENE = "peak, 25000 stuns";
const char* const STACKED_BASE_SCENE = "peak, culling on, shading on";

// The stacked stuns' scene; it draws the picture of STACKED_BASE_SCENE, built by buildStackedBase.
void buildStackedPeak()
{
    scenes::buildPeak();
    std::vector<Enemy*> stunned;
    for (Enemy* enemy : enemyList)
        if (enemy->state == STATE_STUNNED)
            stunned.push_back(enemy);
    for (std::size_t i = effectList.size(); i < STACKED_STUNS; ++i)
        new Stun(player, *stunned[i % stunned.size()], 60000);
    set_culling = true;
    set_shading = true;
}

// Events are read and dropped between frames, outside the timing, so the X queue stays empty.
void drainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

// Times `frames` frames of `render` (then the swap) after `warmup` untimed ones. Each frame
// advances the scripted clock by 16 ms and runs beginFrame; the world is not updated (a scene
// that shows the snow advances it itself). glFinish comes before each clock read.
std::vector<double> timeRenderFrames(const Options& options, SDL_Window* window, const std::function<void()>& render)
{
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(options.frames));
    for (int i = 0; i < options.warmup + options.frames; ++i) {
        scriptedTicks += FRAME_MS;
        beginFrame();
        drainEvents();
        glFinish();
        const Clock::time_point start = Clock::now();
        render();
        SDL_GL_SwapWindow(window);
        glFinish();
        const Clock::time_point end = Clock::now();
        if (i >= options.warmup)
            samples.push_back(millisecondsBetween(start, end));
    }
    return samples;
}

// Times the world's step alone (beginFrame and updateFrame, no GL) at the peak. Every sample
// starts from the freshly built peak, so each one is the same frame: 1000 enemies turning and
// walking, 100 stuns ticking, one spawn and one removal by the cap, the player, HUD and camera,
// and the snow's advance.
std::vector<double> timePeakUpdates(const Options& options)
{
    std::vector<double> samples;
    for (int i = 0; i < options.warmup + options.frames; ++i) {
        scenes::buildPeak();
        scriptedTicks += FRAME_MS;
        const Clock::time_point start = Clock::now();
        beginFrame();
        updateFrame();
        const Clock::time_point end = Clock::now();
        if (i >= options.warmup)
            samples.push_back(millisecondsBetween(start, end));
    }
    return samples;
}

// The stacked stuns' time against the plain peak's, for their check: the two scenes take turns,
// a short run each, over several rounds (base first in odd rounds, stacked first in even ones), so
// that a machine getting busier or quieter weighs on both alike; the check takes the median of the
// rounds' ratios. Written as a line "ratio <resolution> <median> <lowest> <highest>".
constexpr int STACKED_ROUNDS = 5;

void buildStackedBase()
{
    scenes::buildPeak();
    set_culling = true;
    set_shading = true;
}

void timeStackedAgainstBase(const Options& options, SDL_Window* window, const std::string& resolution,
                            const std::function<void()>& render, std::FILE* out)
{
    Options round = options;
    round.frames = std::max(10, options.frames / 10);
    round.warmup = std::min(options.warmup, 5);
    const auto medianOf = [&](void (*build)()) {
        build();
        return summarize(timeRenderFrames(round, window, render)).median;
    };
    std::vector<double> ratios;
    for (int i = 0; i < STACKED_ROUNDS; ++i) {
        double base = 0, stacked = 0;
        if (i % 2 == 0) {
            base = medianOf(buildStackedBase);
            stacked = medianOf(buildStackedPeak);
        } else {
            stacked = medianOf(buildStackedPeak);
            base = medianOf(buildStackedBase);
        }
        if (base > 0)
            ratios.push_back(stacked / base);
    }
    if (ratios.empty())
        return;
    std::sort(ratios.begin(), ratios.end());
    std::fprintf(out, "ratio\t%s\t%g\t%g\t%g\n", resolution.c_str(), percentile(ratios, 0.5), ratios.front(),
                 ratios.back());
    std::fflush(out);
}

// Times the sound's mixer as SDL's audio thread runs it: one sample per buffer of 512 frames
// (10.7 ms of sound at 48 kHz), each buffer after a hundred new cues of every kind from every
// side, more than the peak's frames give (a spawn, the enemies killed, steps, a burst or two).
// The wind blows and every voice is busy: the mixer's worst load. A median of 0.107 ms is 1 % of
// a core.
std::vector<double> timeMixerAtPeak(const Options& options)
{
    static SoundMixer mixer;
    static float buffer[2 * 512];
    std::vector<double> samples;
    for (int i = 0; i < options.warmup + options.frames; ++i) {
        for (int c = 0; c < 100; ++c) {
            SoundCue cue;
            cue.sound = static_cast<Sound>((i + c) % SOUND_KINDS);
            cue.pan = static_cast<float>(c % 21) / 10.0f - 1.0f;
            cue.distance = static_cast<float>(c * 2);
            cue.count = 1 + c;
            mixer.play(cue);
        }
        const Clock::time_point start = Clock::now();
        mixer.render(buffer, 512);
        const Clock::time_point end = Clock::now();
        if (i >= options.warmup)
            samples.push_back(millisecondsBetween(start, end));
    }
    return samples;
}

// ---------------------------------------------------------------------------------------------
// Results travel from the child processes as lines of text.

struct Row {
    std::string scene;
    std::string resolution;
    int frames = 0;
    Spread spread;
    double extra = 0; // flakes drawn in the last frame, where it applies
};

std::string formatRow(const Row& row)
{
    std::ostringstream line;
    line << "row\t" << row.scene << '\t' << row.resolution << '\t' << row.frames << '\t' << row.spread.median
         << '\t' << row.spread.p10 << '\t' << row.spread.p90 << '\t' << row.extra << '\n';
    return line.str();
}

bool parseRow(const std::string& line, Row& row)
{
    std::istringstream in(line);
    std::string tag;
    if (!std::getline(in, tag, '\t') || tag != "row")
        return false;
    std::getline(in, row.scene, '\t');
    std::getline(in, row.resolution, '\t');
    in >> row.frames >> row.spread.median >> row.spread.p10 >> row.spread.p90 >> row.extra;
    return static_cast<bool>(in);
}

struct Resolution {
    int width;
    int height;
    bool multisample;
};

bool wanted(const Options& options, const std::string& scene)
{
    return options.only.empty() || scene.find(options.only) != std::string::npos;
}

// The child's work at one resolution: brings up the window as the game does, then runs the scenes.
// Writes "info" and "row" lines to `out`. Returns the child's exit status.
int benchResolution(const Options& options, const Resolution& res, std::FILE* out)
{
    if (chdir(options.dataDir.c_str()) != 0) {
        std::fprintf(stderr, "bench: cannot enter %s\n", options.dataDir.c_str());
        return 1;
    }
    // The game's own bring-up, in a window of the resolution; SDL_Quit comes at the end.
    BringUp how;
    how.caption = "Glacimor benchmark";
    how.width = res.width;
    how.height = res.height;
    how.multisample = res.multisample;
    how.quitAtExit = false;
    Screen screen;
    if (!bringUp(how, screen)) {
        std::fprintf(stderr, "bench: no %dx%d window with the game's shaders and textures\n", res.width, res.height);
        return 1;
    }
    scenes::installScriptedClock();

    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    std::ostringstream size;
    size << res.width << 'x' << res.height;
    const std::string resolution = size.str();
    std::fprintf(out, "info\t%s\tGL_SAMPLES %d (asked for %d)\n", resolution.c_str(), samples,
                 res.multisample ? 4 : 0);
    std::fprintf(out, "info\tGL_RENDERER\t%s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::fprintf(out, "info\tGL_VERSION\t%s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    std::fprintf(out, "info\tprograms\tscene %u, snow %u\n", gm_shader, gm_pshader);
    std::fflush(out);

    const double aspect = screen.aspect;
    const auto run = [&](const std::string& scene, const std::function<void()>& build,
                         const std::function<void()>& render) {
        if (!wanted(options, scene))
            return;
        build();
        Row row{scene, resolution, options.frames, summarize(timeRenderFrames(options, screen.window, render)),
                static_cast<double>(flakesDrawn)};
        std::fputs(formatRow(row).c_str(), out);
        std::fflush(out);
        std::fprintf(stderr, "bench: scene %s, %s: median %.2f ms, %.1f fps\n", scene.c_str(), resolution.c_str(),
                     row.spread.median, framesPerSecond(row.spread.median));
    };
    // A whole frame's drawing, with the snow advancing as the game's frame advances it.
    const auto full = [aspect]() {
        advanceSnow();
        renderFrame(aspect);
    };

    run("floor", scenes::buildStart, [aspect]() { scenes::renderFloor(aspect); });
    run("start", scenes::buildStart, full);
    for (const bool culling : {true, false})
        for (const bool shading : {true, false}) {
            const std::string scene = std::string("peak, culling ") + (culling ? "on" : "off") + ", shading " +
                                      (shading ? "on" : "off");
            run(scene,
                [culling, shading]() {
                    scenes::buildPeak();
                    set_culling = culling;
                    set_shading = shading;
                },
                full);
        }
    run(STACKED_SCENE, buildStackedPeak, full);
    if (wanted(options, STACKED_SCENE))
        timeStackedAgainstBase(options, screen.window, resolution, full, out);

    // The same field with no two enemies overlapping: every pixel is decided, so its picture and
    // its time compare across builds.
    run("spaced peak", scenes::buildSpacedPeak, full);

    // The world's step needs no window; it runs once, in the first child.
    if (res.multisample && wanted(options, "update")) {
        Row row{"peak update (no GL)", "-", options.frames, summarize(timePeakUpdates(options)), 0};
        std::fputs(formatRow(row).c_str(), out);
        std::fprintf(stderr, "bench: scene %s: median %.3f ms\n", row.scene.c_str(), row.spread.median);
    }
    if (res.multisample && wanted(options, "mixer")) {
        Row row{"mixer, 512 frames, 100 cues (audio thread)", "-", options.frames, summarize(timeMixerAtPeak(options)), 0};
        std::fputs(formatRow(row).c_str(), out);
        std::fprintf(stderr, "bench: %s: median %.4f ms, %.2f %% of a core\n", row.scene.c_str(), row.spread.median,
                     row.spread.median / (512 / 48.0) * 100);
    }
    scenes::resetScene(0);
    SDL_Quit();
    return 0;
}

// The stacked stuns' time ratios by resolution, as timeStackedAgainstBase measured them.
struct TimeRatio {
    double median = 0;
    double lowest = 0;
    double highest = 0;
};
std::map<std::string, TimeRatio> stackedTimeRatio;

void parseRatio(const std::string& line)
{
    std::istringstream in(line.substr(6));
    std::string resolution;
    TimeRatio ratio;
    if (std::getline(in, resolution, '\t') && in >> ratio.median >> ratio.lowest >> ratio.highest)
        stackedTimeRatio[resolution] = ratio;
}

// Runs one resolution in a child process and collects its lines; with `maxRssKb`, also the
// child's peak resident memory in kB (wait4's ru_maxrss).
bool runChild(const Options& options, const Resolution& res, std::vector<Row>& rows, std::vector<std::string>& info,
              long* maxRssKb = nullptr)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        close(fds[0]);
        std::FILE* out = fdopen(fds[1], "w");
        const int status = out ? benchResolution(options, res, out) : 1;
        if (out)
            std::fclose(out);
        std::fflush(stdout);
        _exit(status);
    }
    close(fds[1]);
    std::FILE* in = fdopen(fds[0], "r");
    char buffer[1024];
    while (in && std::fgets(buffer, sizeof buffer, in)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        Row row;
        if (parseRow(line, row))
            rows.push_back(row);
        else if (line.rfind("info\t", 0) == 0)
            info.push_back(line.substr(5));
        else if (line.rfind("ratio\t", 0) == 0)
            parseRatio(line);
    }
    if (in)
        std::fclose(in);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (maxRssKb)
        *maxRssKb = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Peak resident memory, in kB, of a child that comes up as every child does and runs `scene`
// alone, with the frames of the run (at most 20: the peak comes with the scene's building and
// first frames). A process per scene, so nothing an earlier scene left behind counts. -1 on failure.
long scenePeakMemoryKb(const Options& options, const Resolution& res, const std::string& scene)
{
    Options alone = options;
    alone.only = scene;
    alone.frames = std::min(options.frames, 20);
    std::vector<Row> rows;
    std::vector<std::string> info;
    long kb = -1;
    if (!runChild(alone, res, rows, info, &kb) || rows.empty())
        return -1;
    return kb;
}

// Peak memory in kB by scene and resolution, for the stacked stuns' check.
std::map<std::pair<std::string, std::string>, long> peakKb;

// ---------------------------------------------------------------------------------------------
// Start-up of the real program

// One start-up as the probe saw it: to the first swap, and the second frame after it.
struct Startup {
    double ms = -1;
    double secondFrameMs = -1;
};

// Runs the game once with the probe preloaded, from the data directory, with Mesa's on-disk
// shader cache in `shaderCache`; the probe lets it draw two frames.
Startup startupOnce(const Options& options, const std::string& outFile, const std::string& shaderCache)
{
    std::remove(outFile.c_str());
    // What the parent has buffered must not be written a second time by the child.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        setenv("GLACIMOR_STARTUP_PROBE_OUT", outFile.c_str(), 1);
        setenv("GLACIMOR_STARTUP_PROBE_FRAMES", "2", 1);
        setenv("MESA_SHADER_CACHE_DIR", shaderCache.c_str(), 1);
        // The shader link logs are the game's only output; they do not belong in the table.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0)
            _exit(127);
        // Started as the end-to-end tests start it (tools/play/lib.sh: launch_game): from the data
        // folder, the probe preloaded.
        const char* const launcher = GLACIMOR_SOURCE_DIR "/tools/play/launch.sh";
        execl(launcher, launcher, options.dataDir.c_str(), options.probe.c_str(), options.game.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // The probe ends the game at its second swap; a game that never gets there is stopped after a minute.
    int status = 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::ifstream result(outFile);
    Startup startup;
    std::string key;
    while (result >> key) {
        int frame = 0;
        if (key == "startup_ms")
            result >> startup.ms;
        else if (key == "frame_ms" && result >> frame && frame == 2)
            result >> startup.secondFrameMs;
        else
            result.ignore(1 << 20, '\n');
    }
    return startup;
}

// A new empty folder for a shader cache; empty string if none can be made.
std::string newShaderCache()
{
    std::string path = "/tmp/glacimor-shader-cache-XXXXXX";
    return mkdtemp(path.data()) ? path : std::string();
}

// Times the program's start-ups with an empty shader cache (each run its own new one: the driver
// compiles every shader and its variants) or with a warm one (a cache of the benchmark's own,
// filled by one start-up that is not counted), and prints them. False if a run failed.
bool timeStartups(const Options& options, bool warm)
{
    const std::string outFile = "/tmp/glacimor-startup-" + std::to_string(getpid()) + ".txt";
    std::vector<double> times, secondFrames;
    bool ok = true;
    std::string cache = warm ? newShaderCache() : std::string();
    if (warm && (cache.empty() || startupOnce(options, outFile, cache).ms < 0)) {
        std::fprintf(stderr, "bench: the start-up that fills the shader cache failed\n");
        ok = false;
    }
    for (int i = 0; ok && i < options.startupRuns; ++i) {
        if (!warm)
            cache = newShaderCache();
        const Startup run = cache.empty() ? Startup{} : startupOnce(options, outFile, cache);
        if (!warm && !cache.empty())
            std::filesystem::remove_all(cache);
        if (run.ms < 0) {
            std::fprintf(stderr, "bench: start-up run %d of %s failed\n", i + 1, options.game.c_str());
            ok = false;
            continue;
        }
        times.push_back(run.ms);
        if (run.secondFrameMs >= 0)
            secondFrames.push_back(run.secondFrameMs);
    }
    if (warm && !cache.empty())
        std::filesystem::remove_all(cache);
    std::remove(outFile.c_str());
    if (!times.empty()) {
        const Spread spread = summarize(times);
        std::printf("\nStart-up of %s with %s shader cache (SDL_Init to the first swap, %zu runs): median %.1f ms, "
                    "min %.1f, max %.1f\n",
                    options.game.c_str(), warm ? "a warm" : "an empty", times.size(), spread.median,
                    *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
        if (!secondFrames.empty())
            std::printf("Second frame after start-up with %s shader cache: median %.1f ms, min %.1f, max %.1f\n",
                        warm ? "a warm" : "an empty", summarize(secondFrames).median,
                        *std::min_element(secondFrames.begin(), secondFrames.end()),
                        *std::max_element(secondFrames.begin(), secondFrames.end()));
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------
// The machine

std::string firstMatch(const char* file, const char* key)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) {
            const std::size_t colon = line.find(':');
            std::string value = colon == std::string::npos ? line : line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            return value;
        }
    return "?";
}

// The load average over the last 1, 5 and 15 minutes: other work on the machine slows every figure,
// so it is printed before and after them.
void printLoad(const char* when)
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    if (in >> one >> five >> fifteen)
        std::printf("Load average at the %s: %s (1 min), %s (5 min), %s (15 min)\n", when, one.c_str(), five.c_str(),
                    fifteen.c_str());
    else
        std::printf("Load average at the %s: unknown (no /proc/loadavg)\n", when);
    std::fflush(stdout);
}

void printMachine(const std::vector<std::string>& info)
{
    std::printf("Machine: %s, %ld online CPUs, memory %s\n", firstMatch("/proc/cpuinfo", "model name").c_str(),
                sysconf(_SC_NPROCESSORS_ONLN), firstMatch("/proc/meminfo", "MemTotal").c_str());
    // Renderer and version come once per child; print each distinct line once.
    std::vector<std::string> seen;
    for (const std::string& line : info) {
        if (std::find(seen.begin(), seen.end(), line) != seen.end())
            continue;
        seen.push_back(line);
        std::string shown = line;
        std::replace(shown.begin(), shown.end(), '\t', ' ');
        std::printf("  %s\n", shown.c_str());
    }
}

void printTable(const std::vector<Row>& rows)
{
    std::map<std::string, double> floorOf;
    for (const Row& row : rows)
        if (row.scene == "floor")
            floorOf[row.resolution] = row.spread.median;

    // The frames per second come right after the median they are computed from; scripts that read
    // the table (scripts/bench-compare.sh) find the median in the fourth column as before.
    std::printf("\n| %-30s | %-10s | %6s | %10s | %6s | %17s | %8s | %6s |\n", "scene", "resolution", "frames",
                "median ms", "fps", "p10-p90 ms", "x floor", "flakes");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(32, '-').c_str(), std::string(12, '-').c_str(),
                std::string(8, '-').c_str(), std::string(12, '-').c_str(), std::string(8, '-').c_str(),
                std::string(19, '-').c_str(), std::string(10, '-').c_str(), std::string(8, '-').c_str());
    for (const Row& row : rows) {
        char ratio[32] = "-";
        const auto floor = floorOf.find(row.resolution);
        if (floor != floorOf.end() && floor->second > 0)
            std::snprintf(ratio, sizeof ratio, "%.2f", row.spread.median / floor->second);
        char spread[48];
        std::snprintf(spread, sizeof spread, "%.3f-%.3f", row.spread.p10, row.spread.p90);
        char flakes[32] = "-";
        if (row.resolution != "-" && row.scene != "floor")
            std::snprintf(flakes, sizeof flakes, "%.0f", row.extra);
        // The world's update alone is no frame: it has no frame rate.
        char fps[32] = "-";
        if (row.resolution != "-")
            std::snprintf(fps, sizeof fps, "%.1f", framesPerSecond(row.spread.median));
        std::printf("| %-30s | %-10s | %6d | %10.3f | %6s | %17s | %8s | %6s |\n", row.scene.c_str(),
                    row.resolution.c_str(), row.frames, row.spread.median, fps, spread, ratio, flakes);
    }
}

// The stacked stuns against the plain peak of the same resolution in the same run: the median
// frame at most 1.25 times (the median of the interleaved rounds' ratios, timeStackedAgainstBase,
// so that load on the machine cannot trip it), the peak memory at most 1.4 times. Returns false
// when one fails.
bool checkStackedStuns(const std::vector<Row>& rows)
{
    constexpr double MAX_TIME_RATIO = 1.25;
    constexpr double MAX_MEMORY_RATIO = 1.4;
    bool ok = true;
    bool any = false;
    for (const Row& stacked : rows) {
        if (stacked.scene != STACKED_SCENE)
            continue;
        const auto base = std::find_if(rows.begin(), rows.end(), [&](const Row& row) {
            return row.scene == STACKED_BASE_SCENE && row.resolution == stacked.resolution;
        });
        if (base == rows.end() || base->spread.median <= 0)
            continue;
        if (!any)
            std::printf("\nStacked stuns against \"%s\" (limits: median %.2f x, peak memory %.2f x):\n",
                        STACKED_BASE_SCENE, MAX_TIME_RATIO, MAX_MEMORY_RATIO);
        any = true;
        const auto measured = stackedTimeRatio.find(stacked.resolution);
        const bool timeMeasured = measured != stackedTimeRatio.end();
        const double timeRatio = timeMeasured ? measured->second.median : 0;
        const bool timeOk = timeMeasured && timeRatio <= MAX_TIME_RATIO;
        const long stackedKb = peakKb.count({stacked.scene, stacked.resolution}) ? peakKb[{stacked.scene, stacked.resolution}] : -1;
        const long baseKb = peakKb.count({base->scene, base->resolution}) ? peakKb[{base->scene, base->resolution}] : -1;
        if (timeMeasured)
            std::printf("Stacked stuns at %s: median %.3f ms vs %.3f ms; interleaved over %d rounds: %.2f x "
                        "(rounds %.2f to %.2f) %s",
                        stacked.resolution.c_str(), stacked.spread.median, base->spread.median, STACKED_ROUNDS,
                        timeRatio, measured->second.lowest, measured->second.highest, timeOk ? "ok" : "FAILED");
        else
            std::printf("Stacked stuns at %s: time ratio not measured: FAILED", stacked.resolution.c_str());
        bool memoryOk = false;
        if (stackedKb > 0 && baseKb > 0) {
            const double memoryRatio = static_cast<double>(stackedKb) / static_cast<double>(baseKb);
            memoryOk = memoryRatio <= MAX_MEMORY_RATIO;
            std::printf("; peak memory %.1f MB vs %.1f MB: %.2f x %s\n", stackedKb / 1024.0, baseKb / 1024.0,
                        memoryRatio, memoryOk ? "ok" : "FAILED");
        } else {
            std::printf("; peak memory not measured: FAILED\n");
        }
        ok = ok && timeOk && memoryOk;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options))
        return 2;

    printLoad("start");
    std::vector<Row> rows;
    std::vector<std::string> info;
    bool ok = true;
    for (const Resolution& res : {Resolution{1280, 720, true}, Resolution{800, 600, false}}) {
        if (!options.size.empty() && options.size != std::to_string(res.width) + "x" + std::to_string(res.height))
            continue;
        ok = runChild(options, res, rows, info) && ok;
        // The stacked stuns' memory against the plain peak's, each in a process of its own.
        if (wanted(options, STACKED_SCENE)) {
            const std::string resolution = std::to_string(res.width) + "x" + std::to_string(res.height);
            for (const char* scene : {STACKED_BASE_SCENE, STACKED_SCENE})
                peakKb[{scene, resolution}] = scenePeakMemoryKb(options, res, scene);
        }
    }

    printMachine(info);
    printTable(rows);
    ok = checkStackedStuns(rows) && ok;

    if (options.startupRuns > 0) {
        ok = timeStartups(options, false) && ok;
        ok = timeStartups(options, true) && ok;
    }
    std::printf("\n");
    printLoad("end");
    return ok ? 0 : 1;
}
