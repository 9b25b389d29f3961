// Event dispatch: held keys, mouse motion, the wheel, the settings keys and quitting.
#include "input.h"

#include "actors/player.h"
#include "globals.h"
#include "settings.h"

#include <SDL.h>

namespace {

struct Toggle {
    SDLKey key;
    bool* setting;
    const char* onText;
    const char* offText;
};

const Toggle toggles[] = {
    {SDLK_F1, &set_god, "godmode on", "godmode off"},
    {SDLK_F2, &set_fpscounter, "fps counter on", "fps counter off"},
    {SDLK_F3, &set_wireframe, "wireframe on", "wireframe off"},
    {SDLK_F4, &set_filtering, "texture filtering on", "texture filtering off"},
    {SDLK_F5, &set_mipmap, "mipmaps on", "mipmaps off"},
    {SDLK_F6, &set_aniso, "AF on", "AF off"},
    {SDLK_F7, &set_shading, "shading on", "shading off"},
    {SDLK_F8, &set_culling, "culling on", "culling off"},
    {SDLK_F9, &set_alpha, "alpha on", "alpha off"},
};

// The held-key flag a key drives, or null.
bool* heldFlag(SDLKey key)
{
    switch (key) {
    case SDLK_w: return &input.keyW;
    case SDLK_a: return &input.keyA;
    case SDLK_s: return &input.keyS;
    case SDLK_d: return &input.keyD;
    case SDLK_UP: return &input.keyUp;
    case SDLK_DOWN: return &input.keyDown;
    case SDLK_LEFT: return &input.keyLeft;
    case SDLK_RIGHT: return &input.keyRight;
    default: return nullptr;
    }
}

void flip(const Toggle& toggle)
{
    *toggle.setting = !*toggle.setting;
    gui.setText3(*toggle.setting ? toggle.onText : toggle.offText, 1.0, 1.0, 1.0);
}

void keyDown(SDLKey key, EventContext& context)
{
    if (bool* flag = heldFlag(key)) {
        *flag = true;
        return;
    }
    for (const Toggle& toggle : toggles) {
        if (toggle.key == key) {
            flip(toggle);
            return;
        }
    }
    switch (key) {
    case SDLK_ESCAPE:
        if (context.running)
            *context.running = false;
        break;
    case SDLK_f:
        if (context.screen)
            SDL_WM_ToggleFullScreen(context.screen);
        break;
    // The number keys fire the attacks, once per press.
    case SDLK_1: player.style1(); break;
    case SDLK_2: player.style2(); break;
    case SDLK_3: player.style3(); break;
    case SDLK_4: player.style4(); break;
    default: break;
    }
}

void keyUp(SDLKey key)
{
    if (bool* flag = heldFlag(key))
        *flag = false;
}

void mouseButton(Uint8 button, bool pressed)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        input.mouseLeft = pressed;
        if (pressed)
            player.style1();
        break;
    case SDL_BUTTON_RIGHT:
        input.mouseRight = pressed;
        if (pressed)
            player.style2();
        break;
    case SDL_BUTTON_WHEELUP:
        if (pressed)
            player.camDist /= 1.2;
        break;
    case SDL_BUTTON_WHEELDOWN:
        if (pressed)
            player.camDist *= 1.2;
        break;
    default: break;
    }
}

} // namespace

bool isQuitChord(SDLKey key, SDLMod mod, bool windowsRules)
{
    return windowsRules && key == SDLK_F4 && (mod & KMOD_ALT) != 0;
}

void dispatchEvent(const SDL_Event& event, EventContext& context)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        // On Windows Alt+F4 closes the window instead of toggling texture filtering.
        if (isQuitChord(event.key.keysym.sym, event.key.keysym.mod, quitChordWindowsRules)) {
            if (context.running)
                *context.running = false;
            break;
        }
        keyDown(event.key.keysym.sym, context);
        break;
    case SDL_KEYUP: keyUp(event.key.keysym.sym); break;
    case SDL_MOUSEMOTION:
        input.mouseX += event.motion.xrel;
        input.mouseY += event.motion.yrel;
        break;
    case SDL_MOUSEBUTTONDOWN: mouseButton(event.button.button, true); break;
    case SDL_MOUSEBUTTONUP: mouseButton(event.button.button, false); break;
    case SDL_QUIT:
        if (context.running)
            *context.running = false;
        break;
    default: break;
    }
}
