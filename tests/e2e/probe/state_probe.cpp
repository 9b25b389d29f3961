// State probe of the end-to-end tests: preloaded into the real glacimor (LD_PRELOAD), it reads the
// game's own state after every SDL_GL_SwapWindow and writes it to the file named by
// GLACIMOR_STATE_PROBE_OUT, so a test can wait for what it needs (a setting flipped, a message
// shown, a frame drawn since its input) instead of sleeping, and can tell apart what a picture
// alone cannot (which figure is the player, whether a frame stalled). The game is not changed and
// reads nothing of this: the probe finds the game's globals by name in the program's own symbol
// table and reads them with the game's headers, on the game's thread, between two frames.
//
// It also reads, once after the first frame, what the game's GL context got, which a picture cannot
// show reliably: how many samples the game draws with, at what size, and on which renderer.
//
// One file, rewritten whole after each frame (written aside, then renamed), lines of
// "key value ...":
//   frame N            swaps since start (the picture of frame N is on the screen)
//   frame_ms F         time between this swap and the one before, in ms
//   longest_frame_ms F the longest such time so far
//   samples N          GL_SAMPLES of what the game draws into (4 with 4x multisampling, 0 without)
//   sample_buffers N   GL_SAMPLE_BUFFERS
//   viewport W H       the size of GL_VIEWPORT, the size the game draws at
//   renderer TEXT      GL_RENDERER
//   ticks T            the game's clock at the start of this frame (ms)
//   god, fpscounter, wireframe, filtering, mipmap, aniso, shading, culling, alpha, endgame  0 or 1
//   message TEXT       the message line's text (nothing after the key when it is empty)
//   player X Y Z HP STATE CAMDIST SX SY SR
//   player_dir DX DY DZ   where the player looks
//   player_back SX SY SR  the middle of the player's back (its green side) on the screen
//   enemies N          followed by N lines "enemy X Y Z HP STATE SX SY SR DIST"
//   effects N
// SX SY are the screen pixel (from the top left) of a figure's centre, SR the screen size of one
// world unit there (a figure's cube reaches about SR pixels from its centre); a figure behind the
// camera gets SX SY SR -1 -1 0. DIST is the enemy's distance to the player. A program without the
// game's globals (stripped) gets the lines down to "renderer" only.
#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "ui/gui.h"
#include "world/camera.h"

#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double msNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Load address of the main program (0 unless it is position independent).
int firstObject(dl_phdr_info* info, size_t, void* data)
{
    *static_cast<ElfW(Addr)*>(data) = info->dlpi_addr;
    return 1; // the main program comes first
}

// The game's globals, found by name in the program's symbol table.
struct Globals {
    bool found = false;
    Player* player = nullptr;
    std::vector<Enemy*>* enemies = nullptr;
    std::vector<Effect*>* effects = nullptr;
    Camera* camera = nullptr;
    Gui* gui = nullptr;
    Ticks* gameTime = nullptr;
    struct Flag {
        const char* key;
        const char* symbol;
        bool* value;
    };
    Flag flags[10] = {
        {"god", "set_god", nullptr},           {"fpscounter", "set_fpscounter", nullptr},
        {"wireframe", "set_wireframe", nullptr}, {"filtering", "set_filtering", nullptr},
        {"mipmap", "set_mipmap", nullptr},     {"aniso", "set_aniso", nullptr},
        {"shading", "set_shading", nullptr},   {"culling", "set_culling", nullptr},
        {"alpha", "set_alpha", nullptr},       {"endgame", "set_endgame", nullptr},
    };
};

Globals findGlobals(std::string& error)
{
    Globals g;
    const int fd = open("/proc/self/exe", O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        error = "cannot open /proc/self/exe";
        return g;
    }
    void* map = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED) {
        error = "cannot map the program";
        return g;
    }
    const auto* base = static_cast<const unsigned char*>(map);
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
    const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(base + header->e_shoff);
    ElfW(Addr) load = 0;
    dl_iterate_phdr(firstObject, &load);

    auto lookup = [&](const char* name) -> void* {
        for (int i = 0; i < header->e_shnum; ++i) {
            if (sections[i].sh_type != SHT_SYMTAB)
                continue;
            const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(base + sections[i].sh_offset);
            const char* names = reinterpret_cast<const char*>(base + sections[sections[i].sh_link].sh_offset);
            const size_t count = sections[i].sh_size / sizeof(ElfW(Sym));
            for (size_t k = 0; k < count; ++k)
                if (ELF64_ST_TYPE(symbols[k].st_info) == STT_OBJECT && std::strcmp(names + symbols[k].st_name, name) == 0)
                    return reinterpret_cast<void*>(load + symbols[k].st_value);
        }
        return nullptr;
    };
    g.player = static_cast<Player*>(lookup("player"));
    g.enemies = static_cast<std::vector<Enemy*>*>(lookup("enemyList"));
    g.effects = static_cast<std::vector<Effect*>*>(lookup("effectList"));
    g.camera = static_cast<Camera*>(lookup("camera"));
    g.gui = static_cast<Gui*>(lookup("gui"));
    g.gameTime = static_cast<Ticks*>(lookup("game_time"));
    g.found = g.player && g.enemies && g.effects && g.camera && g.gui && g.gameTime;
    for (auto& flag : g.flags) {
        flag.value = static_cast<bool*>(lookup(flag.symbol));
        g.found = g.found && flag.value;
    }
    munmap(map, static_cast<size_t>(st.st_size));
    if (!g.found)
        error = "the program has no symbol table with the game's globals (stripped?)";
    return g;
}

// Where a world point lands on the screen, as the frame's projection puts it: the frustum of
// the scene (half width aspect / 2, half height 0.5 at the near plane 3) after the camera's look-at.
struct ScreenPoint {
    double x = -1, y = -1, unit = 0;
};

ScreenPoint project(const Camera& camera, const vec3& p, int width, int height)
{
    const double fx = camera.target.x - camera.pos.x, fy = camera.target.y - camera.pos.y,
                 fz = camera.target.z - camera.pos.z;
    const double fl = std::sqrt(fx * fx + fy * fy + fz * fz);
    if (fl <= 0)
        return {};
    const double f[3] = {fx / fl, fy / fl, fz / fl};
    double s[3] = {f[1] * camera.up.z - f[2] * camera.up.y, f[2] * camera.up.x - f[0] * camera.up.z,
                   f[0] * camera.up.y - f[1] * camera.up.x};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl <= 0)
        return {};
    for (double& c : s)
        c /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    const double d[3] = {p.x - camera.pos.x, p.y - camera.pos.y, p.z - camera.pos.z};
    const double ex = s[0] * d[0] + s[1] * d[1] + s[2] * d[2];
    const double ey = u[0] * d[0] + u[1] * d[1] + u[2] * d[2];
    const double depth = f[0] * d[0] + f[1] * d[1] + f[2] * d[2];
    if (depth < 3.0)
        return {};
    const double aspect = static_cast<double>(width) / height;
    const double ndcX = (6.0 / aspect) * ex / depth;
    const double ndcY = 6.0 * ey / depth;
    return {(ndcX + 1) / 2 * width, (1 - ndcY) / 2 * height, 3.0 * height / depth};
}

// What the game's current GL context got; read once, after the first frame was shown.
struct GlFacts {
    GLint samples = -1;
    GLint sampleBuffers = -1;
    GLint viewport[4] = {-1, -1, -1, -1};
    std::string renderer = "(none)";
};

GlFacts readGlFacts()
{
    GlFacts facts;
    glGetIntegerv(GL_SAMPLES, &facts.samples);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &facts.sampleBuffers);
    glGetIntegerv(GL_VIEWPORT, facts.viewport);
    if (const GLubyte* renderer = glGetString(GL_RENDERER))
        facts.renderer = reinterpret_cast<const char*>(renderer);
    return facts;
}

// The game's own state, after the frame's lines.
void writeGame(std::FILE* out, const Globals& g)
{
    int width = 800, height = 600;
    if (SDL_Window* window = SDL_GL_GetCurrentWindow())
        SDL_GetWindowSize(window, &width, &height);

    std::fprintf(out, "ticks %u\n", static_cast<unsigned>(*g.gameTime));
    for (const auto& flag : g.flags)
        std::fprintf(out, "%s %d\n", flag.key, *flag.value ? 1 : 0);
    std::string message = g.gui->text3.text.str();
    for (char& c : message)
        if (c == '\n')
            c = ' ';
    std::fprintf(out, "message %s\n", message.c_str());

    const Player& p = *g.player;
    const ScreenPoint ps = project(*g.camera, p.pos, width, height);
    std::fprintf(out, "player %.2f %.2f %.2f %.1f %d %.2f %.1f %.1f %.2f\n", p.pos.x, p.pos.y, p.pos.z, p.hp,
                 p.state, p.camDist, ps.x, ps.y, ps.unit);
    std::fprintf(out, "player_dir %.4f %.4f %.4f\n", p.dir.x, p.dir.y, p.dir.z);
    // The middle of the player's back, the green side that the camera behind it sees: one unit
    // behind its centre, against its heading.
    const double flat = std::sqrt(p.dir.x * p.dir.x + p.dir.z * p.dir.z);
    vec3 back = p.pos; // copied, not built: the probe links none of the game's code
    if (flat > 0) {
        back.x -= p.dir.x / flat;
        back.z -= p.dir.z / flat;
    }
    const ScreenPoint bs = project(*g.camera, back, width, height);
    std::fprintf(out, "player_back %.1f %.1f %.2f\n", bs.x, bs.y, bs.unit);
    std::fprintf(out, "enemies %zu\n", g.enemies->size());
    for (const Enemy* e : *g.enemies) {
        const ScreenPoint es = project(*g.camera, e->pos, width, height);
        const double dx = e->pos.x - p.pos.x, dy = e->pos.y - p.pos.y, dz = e->pos.z - p.pos.z;
        std::fprintf(out, "enemy %.2f %.2f %.2f %.1f %d %.1f %.1f %.2f %.2f\n", e->pos.x, e->pos.y, e->pos.z, e->hp,
                     e->state, es.x, es.y, es.unit, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    std::fprintf(out, "effects %zu\n", g.effects->size());
}

void writeState(const Globals& g, const GlFacts& gl, unsigned long frame, double frameMs, double longestMs)
{
    static const char* path = std::getenv("GLACIMOR_STATE_PROBE_OUT");
    if (!path)
        return;
    const std::string temporary = std::string(path) + ".new";
    std::FILE* out = std::fopen(temporary.c_str(), "w");
    if (!out)
        return;
    std::fprintf(out, "frame %lu\nframe_ms %.1f\nlongest_frame_ms %.1f\n", frame, frameMs, longestMs);
    std::fprintf(out, "samples %d\nsample_buffers %d\nviewport %d %d\nrenderer %s\n", gl.samples, gl.sampleBuffers,
                 gl.viewport[2], gl.viewport[3], gl.renderer.c_str());
    if (g.found)
        writeGame(out, g);
    std::fclose(out);
    std::rename(temporary.c_str(), path);
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    using SwapFn = void (*)(SDL_Window*);
    static const SwapFn realSwap = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static std::string error;
    static const Globals globals = findGlobals(error);
    static unsigned long frame = 0;
    static double last = -1, longest = 0;
    static GlFacts gl;

    realSwap(window);
    if (frame == 0)
        gl = readGlFacts();
    const double now = msNow();
    const double frameMs = last < 0 ? 0 : now - last;
    last = now;
    if (frameMs > longest)
        longest = frameMs;
    ++frame;
    if (!globals.found && frame == 1)
        std::fprintf(stderr, "state probe: %s\n", error.c_str());
    writeState(globals, gl, frame, frameMs, longest);
}
