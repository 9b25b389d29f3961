/* SPDX-FileCopyrightText: 2026 The Glacimor developers
 * SPDX-License-Identifier: GPL-3.0-or-later */

/* What the game will ask of SDL in a browser, in one small program: a WebGL 1 context on the
 * canvas (cleared red), the Web Audio driver running its callback, the keys, and a game controller
 * on the Gamepad API with SDL's mapping. Its counts go to the page as window.sdlCheck, where
 * tools/web/selfcheck.sh reads them through the browser's DevTools protocol. */
#include <SDL.h>
#include <SDL_opengles2.h>
#include <emscripten.h>

static int frames, audioCallbacks, controllers, keys, buttons;

static void fillSilence(void *user, Uint8 *stream, int length)
{
    (void)user;
    SDL_memset(stream, 0, (size_t)length);
    audioCallbacks++;
}

static void frame(void)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_CONTROLLERDEVICEADDED && SDL_GameControllerOpen(e.cdevice.which))
            controllers++;
        else if (e.type == SDL_KEYDOWN && !e.key.repeat)
            keys++;
        else if (e.type == SDL_CONTROLLERBUTTONDOWN && e.cbutton.button == SDL_CONTROLLER_BUTTON_A)
            buttons++;
    }
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    frames++;
    EM_ASM({ window.sdlCheck = Array.of($0, $1, $2, $3, $4); }, frames, audioCallbacks, controllers, keys, buttons);
}

int main(void)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_GAMECONTROLLER) != 0) {
        SDL_Log("SDL_Init: %s", SDL_GetError());
        return 1;
    }
    SDL_Window *window = SDL_CreateWindow("sdl_check", 0, 0, 64, 64, SDL_WINDOW_OPENGL);
    if (!window || !SDL_GL_CreateContext(window)) {
        SDL_Log("no GL context: %s", SDL_GetError());
        return 1;
    }
    SDL_AudioSpec want = {0};
    want.freq = 44100;
    want.format = AUDIO_F32;
    want.channels = 2;
    want.samples = 1024;
    want.callback = fillSilence;
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(NULL, 0, &want, NULL, 0);
    if (!device) {
        SDL_Log("no audio device: %s", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);
    SDL_Log("video %s, audio %s, %s", SDL_GetCurrentVideoDriver(), SDL_GetCurrentAudioDriver(),
            (const char *)glGetString(GL_VERSION));
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
