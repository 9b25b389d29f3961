// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's synthesiser and mixer: the wind that always blows, and a fixed set of voices that
// play the cues, each made at run time from oscillators, filtered noise and envelopes (nothing is
// stored), summed, limited and written as stereo samples. Pure arithmetic: it knows no device and
// no thread; the platform calls render from its audio thread, and the tests call it directly.
// Nothing here allocates after construction.
#ifndef GLACIMOR_AUDIO_MIXER_H
#define GLACIMOR_AUDIO_MIXER_H

#include "audio/cue.h"

#include <cstddef>
#include <cstdint>

// A state-variable filter (trapezoidal): low, band and high pass of one input, stable however
// its frequency is swept.
struct Svf {
    float ic1 = 0, ic2 = 0, a1 = 0, a2 = 0, a3 = 0, k = 1;
    float low = 0, band = 0, high = 0;
    void tune(float hz, float q, float rate);
    void run(float x);
};

// A sine made by rotating a phasor, which shrinks by a fixed factor per sample: a decaying
// partial for four multiplications a sample, no table and no sine call.
struct Partial {
    float re = 0, im = 0, cr = 1, ci = 0;
    void start(float amplitude);
    void tune(float hz, float rate, float decaySeconds = 0);
    float next();
};

struct Voice {
    Sound sound = Sound::Click;
    bool playing = false;
    std::uint32_t wait = 0;   // samples before it starts
    std::uint32_t age = 0;    // samples since it started
    std::uint32_t length = 0; // samples it lasts
    float left = 0, right = 0; // the cue's place: gain of each channel
    float level = 1;          // what the cue stands for (count), as loudness
    int count = 1;
    std::uint32_t noise = 1;  // its own noise generator
    float env = 0, decay = 1; // the main envelope and its factor per sample
    float env2 = 0, decay2 = 1;
    float pitch = 0;          // the sound's own base frequency, drawn at its start
    float slow = 0;           // a one-pole low pass's state
    Partial partials[4];
    Svf filters[2];
    std::uint32_t grains[6];  // when the cracks of a break begin
};

class SoundMixer {
public:
    // Enough for every sound of a busy moment at once (steps, comings, bursts, breaks, a heartbeat,
    // the fall); more would cost the audio thread without being heard apart.
    static constexpr int VOICES = 16;

    explicit SoundMixer(float sampleRate = 48000.0f, std::uint32_t seed = 0x1CEC0DEu);

    // Starts a cue: on a free voice, on a voice of the same sound begun within the last 25 ms
    // (which grows louder instead), or on the quietest voice, which is given up.
    void play(const SoundCue& cue);

    // Writes `frames` stereo frames, left then right, each within (-1, 1).
    void render(float* out, std::size_t frames);

    // The whole output glides to `gain` (0 silent, 1 full) over `seconds`.
    void fadeTo(float gain, float seconds);

    // The wind, on from the start; the tests hear the cues alone.
    void setWind(bool on) { wind_ = on; }

    int voicesPlaying() const;
    float sampleRate() const { return rate_; }

private:
    void startVoice(Voice& v, const SoundCue& cue);
    // `out` is the mix, which no voice state shares: the voice's state stays in registers.
    void renderVoice(Voice& v, float* __restrict out, std::size_t frames);
    float windSample(float& right);
    float nextRandom();

    float rate_;
    std::uint32_t random_;
    Voice voices_[VOICES];
    bool wind_ = true;
    // The wind: two decorrelated noises through swept band passes, and a rumble, under slow gusts.
    std::uint32_t windNoise_[2];
    Svf windBand_[2];
    float rumble_[2] = {0, 0};
    float gust_ = 0.7f, gustTarget_ = 0.7f, tone_ = 0.4f, toneTarget_ = 0.4f;
    std::uint32_t windClock_ = 0;
    float duck_ = 0; // how busy the voices are: the wind gives way to them
    float master_ = 1, masterTarget_ = 1, masterStep_ = 0;
    float limit_ = 1; // the limiter's gain
    float mix_[2 * 256];
};

// The gain of each channel for a sound `distance` away at `pan`: the nearer the louder, equal
// power across the two channels.
void placeSound(float pan, float distance, float& left, float& right);

#endif
