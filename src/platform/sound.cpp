// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL's audio device, fed by the game's mixer. The audio thread runs only the mixer: it takes the
// cues the game's thread queued, and the two wishes (sound on, window focused) from two atomics;
// nothing of the game's rules runs there, and the game's thread never waits for it. A device lost
// in play (a headset pulled out) only stops the callbacks: the game plays on, silent.
#include "platform/sound.h"

#include "audio/mixer.h"
#include "core/printable.h"
#include "game/sound.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace {

constexpr int RATE = 48000;
constexpr Uint16 FRAMES = 512;

// Constant-initialised or trivially destroyed: the audio thread may still run while the program's
// static objects are destroyed at exit, until SDL_Quit closes the device.
SoundMixer mixer(RATE);
CueQueue cues;
std::atomic<bool> wantedOn{true};
std::atomic<bool> focused{true};
SDL_AudioDeviceID device = 0;

class DeviceOut : public SoundOut {
public:
    void play(const SoundCue& cue) override { cues.push(cue); }
    void setOn(bool on) override { wantedOn.store(on, std::memory_order_relaxed); }
};

DeviceOut deviceOut;

// SDL's audio thread: the queued cues, the fades, then the samples.
void feed(void*, Uint8* stream, int bytes)
{
    static bool lastWanted = true;
    static bool lastFocused = true;
    SoundCue cue;
    while (cues.pop(cue))
        mixer.play(cue);
    const bool wanted = wantedOn.load(std::memory_order_relaxed);
    const bool focus = focused.load(std::memory_order_relaxed);
    if (wanted != lastWanted || focus != lastFocused) {
        // M answers at once; the focus comes and goes more gently.
        mixer.fadeTo(wanted && focus ? 1.0f : 0.0f, wanted != lastWanted ? 0.06f : 0.4f);
        lastWanted = wanted;
        lastFocused = focus;
    }
    mixer.render(reinterpret_cast<float*>(stream), static_cast<std::size_t>(bytes) / (2 * sizeof(float)));
}

// The window's keyboard focus, watched as SDL queues its events (on the game's thread).
int watchFocus(void* window, SDL_Event* event)
{
    if (event->type == SDL_WINDOWEVENT &&
        event->window.windowID == SDL_GetWindowID(static_cast<SDL_Window*>(window))) {
        if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            focused.store(false, std::memory_order_relaxed);
        else if (event->window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            focused.store(true, std::memory_order_relaxed);
    }
    return 1;
}

#if defined(__linux__)
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// The ALSA library writes its own complaints to standard error (on a machine without a sound card,
// several lines as SDL tries it). Its error handler is set to one that says nothing, in the library
// SDL is about to load; the library stays loaded, so the handler stays.
void silenceAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(quietAlsa);
}
#else
void silenceAlsa() {}
#endif

bool noSound(const char* why)
{
    std::fprintf(stderr, "glacimor: no sound: %s\n", printableLine(why).c_str());
    return false;
}

} // namespace

bool startSound(SDL_Window* window)
{
    // The desktop's mixer shows the stream under the game's name.
    SDL_SetHint(SDL_HINT_APP_NAME, "Glacimor");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Glacimor");
    silenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return noSound(SDL_GetError());
    SDL_AudioSpec want{};
    want.freq = RATE;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = FRAMES;
    want.callback = feed;
    SDL_AudioSpec got{};
    // No change allowed: SDL converts to what the device takes, the mixer always makes this.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
    if (!device)
        return noSound(SDL_GetError());
    SDL_AddEventWatch(watchFocus, window);
    setSoundOut(&deviceOut);
    std::atexit(stopSound);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void stopSound()
{
    setSoundOut(nullptr);
    if (device)
        SDL_CloseAudioDevice(device);
    device = 0;
}
