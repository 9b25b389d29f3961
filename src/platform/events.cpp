// SDL's events in the game's terms.
#include "platform/events.h"

#include "game/controls.h"

namespace {

SDL_Event eventqueue;

Key translateKey(SDLKey key)
{
    switch (key) {
    case SDLK_w: return Key::W;
    case SDLK_a: return Key::A;
    case SDLK_s: return Key::S;
    case SDLK_d: return Key::D;
    case SDLK_UP: return Key::Up;
    case SDLK_DOWN: return Key::Down;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_F1: return Key::F1;
    case SDLK_F2: return Key::F2;
    case SDLK_F3: return Key::F3;
    case SDLK_F4: return Key::F4;
    case SDLK_F5: return Key::F5;
    case SDLK_F6: return Key::F6;
    case SDLK_F7: return Key::F7;
    case SDLK_F8: return Key::F8;
    case SDLK_F9: return Key::F9;
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_f: return Key::F;
    case SDLK_1: return Key::Num1;
    case SDLK_2: return Key::Num2;
    case SDLK_3: return Key::Num3;
    case SDLK_4: return Key::Num4;
    default: return Key::Other;
    }
}

Button translateButton(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return Button::Left;
    case SDL_BUTTON_RIGHT: return Button::Right;
    case SDL_BUTTON_WHEELUP: return Button::WheelUp;
    case SDL_BUTTON_WHEELDOWN: return Button::WheelDown;
    default: return Button::Other;
    }
}

} // namespace

bool isQuitChord(SDLKey key, SDLMod mod, bool windowsRules)
{
    return windowsRules && key == SDLK_F4 && (mod & KMOD_ALT) != 0;
}

InputEvent translateEvent(const SDL_Event& event)
{
    InputEvent out;
    switch (event.type) {
    case SDL_KEYDOWN:
        // On Windows Alt+F4 closes the window instead of toggling texture filtering.
        if (isQuitChord(event.key.keysym.sym, event.key.keysym.mod, quitChordWindowsRules)) {
            out.type = InputEvent::Quit;
            break;
        }
        out.type = InputEvent::KeyDown;
        out.key = translateKey(event.key.keysym.sym);
        break;
    case SDL_KEYUP:
        out.type = InputEvent::KeyUp;
        out.key = translateKey(event.key.keysym.sym);
        break;
    case SDL_MOUSEMOTION:
        out.type = InputEvent::MouseMotion;
        out.dx = event.motion.xrel;
        out.dy = event.motion.yrel;
        break;
    case SDL_MOUSEBUTTONDOWN:
        out.type = InputEvent::ButtonDown;
        out.button = translateButton(event.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        out.type = InputEvent::ButtonUp;
        out.button = translateButton(event.button.button);
        break;
    case SDL_QUIT: out.type = InputEvent::Quit; break;
    default: break;
    }
    return out;
}

void dispatchEvent(const SDL_Event& event, EventContext& context)
{
    switch (handleInput(translateEvent(event))) {
    case Request::Quit:
        if (context.running)
            *context.running = false;
        break;
    case Request::ToggleFullScreen:
        if (context.screen)
            SDL_WM_ToggleFullScreen(context.screen);
        break;
    case Request::None: break;
    }
}

void pollEvents(EventContext& context)
{
    while (SDL_PollEvent(&eventqueue))
        dispatchEvent(eventqueue, context);
}
