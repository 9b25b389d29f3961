// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sounds of a winter night on the ice. Every voice is soft at the start and ends at silence,
// so nothing clicks; levels are chosen so that the wind, alone, is the loudest thing only while
// nothing else happens, and a hundred enemies reached sound fuller, not a hundred times louder.
#include "audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace {

constexpr float PI = 3.14159265f;

std::uint32_t xorshift(std::uint32_t& s)
{
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

// White noise in [-1, 1].
float whiteNoise(std::uint32_t& s) { return static_cast<float>(static_cast<std::int32_t>(xorshift(s))) * 4.656613e-10f; }

// In [0, 1).
float unit(std::uint32_t& s) { return static_cast<float>(xorshift(s) >> 8) * (1.0f / 16777216.0f); }

float decayPerSample(float seconds, float rate) { return std::exp(-1.0f / (seconds * rate)); }

// A burst that reached many enemies is fuller, not that many times louder; one that reached none
// is still heard, thinner.
float levelOf(int count)
{
    if (count <= 0)
        return 0.7f;
    return std::min(2.2f, 1.0f + 0.3f * std::log2(static_cast<float>(count)));
}

struct Recipe {
    float seconds; // how long the voice lasts
    float gain;    // its loudness at level 1, before its place
};

const Recipe RECIPES[SOUND_KINDS] = {
    {0.20f, 0.30f}, // Step
    {2.20f, 0.30f}, // Appear
    {1.80f, 0.32f}, // Stun
    {0.55f, 0.45f}, // Hit
    {0.90f, 0.34f}, // Break
    {0.60f, 0.25f}, // Hurt
    {4.50f, 0.35f}, // Fall
    {0.04f, 0.07f}, // Click
};

const Recipe& recipeOf(Sound s) { return RECIPES[static_cast<std::size_t>(s)]; }

// While the mixer runs, numbers too small to hear are zero: a filter ringing out toward silence
// would otherwise reach the denormal range, where every operation costs ten times as much.
class FlushDenormals {
public:
#if defined(__SSE__) || defined(_M_X64)
    FlushDenormals() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040); } // flush to zero, denormals are zero
    ~FlushDenormals() { _mm_setcsr(saved_); }

private:
    unsigned saved_;
#endif
};

} // namespace

void Svf::tune(float hz, float q, float rate)
{
    const float g = std::tan(PI * std::min(hz, 0.45f * rate) / rate);
    k = 1.0f / q;
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void Svf::run(float x)
{
    const float v3 = x - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
}

void Partial::start(float amplitude)
{
    re = 0;
    im = amplitude;
}

void Partial::tune(float hz, float rate, float decaySeconds)
{
    const float r = decaySeconds > 0 ? decayPerSample(decaySeconds, rate) : 1.0f;
    const float w = 2 * PI * hz / rate;
    cr = r * std::cos(w);
    ci = r * std::sin(w);
}

float Partial::next()
{
    const float r = re * cr - im * ci;
    im = re * ci + im * cr;
    re = r;
    return im;
}

void placeSound(float pan, float distance, float& left, float& right)
{
    const float p = std::clamp(std::isfinite(pan) ? pan : 0.0f, -1.0f, 1.0f);
    const float d = std::isfinite(distance) ? std::max(distance, 0.0f) : 1e6f;
    // Never wholly in one ear: a sound hard right is still faintly heard on the left.
    const float angle = (0.85f * p + 1.0f) * PI / 4;
    const float near = 1.0f / (1.0f + d / 45.0f);
    left = near * std::sqrt(2.0f) * std::cos(angle);
    right = near * std::sqrt(2.0f) * std::sin(angle);
}

SoundMixer::SoundMixer(float sampleRate, std::uint32_t seed)
    : rate_(sampleRate), random_(seed | 1u)
{
    windNoise_[0] = 0x9E3779B9u ^ random_;
    windNoise_[1] = 0x7F4A7C15u ^ (random_ << 1);
    for (Svf& band : windBand_)
        band.tune(400, 1.4f, rate_);
}

float SoundMixer::nextRandom() { return unit(random_); }

void SoundMixer::fadeTo(float gain, float seconds)
{
    masterTarget_ = std::clamp(gain, 0.0f, 1.0f);
    const float samples = std::max(1.0f, seconds * rate_);
    masterStep_ = std::fabs(masterTarget_ - master_) / samples;
}

int SoundMixer::voicesPlaying() const
{
    int n = 0;
    for (const Voice& v : voices_)
        n += v.playing;
    return n;
}

void SoundMixer::play(const SoundCue& cue)
{
    if (static_cast<std::size_t>(cue.sound) >= SOUND_KINDS)
        return;
    float left, right;
    placeSound(cue.pan, cue.distance, left, right);
    const float delay = std::isfinite(cue.delayMs) ? std::clamp(cue.delayMs, 0.0f, 2000.0f) : 0.0f;
    const std::uint32_t wait = static_cast<std::uint32_t>(delay * rate_ / 1000.0f);
    const std::uint32_t window = static_cast<std::uint32_t>(0.025f * rate_);

    // Many of one sound at once are one fuller sound, heard from each place it came from.
    for (Voice& v : voices_) {
        if (v.playing && v.sound == cue.sound && v.age < window && v.wait + window > wait && wait + window > v.wait) {
            v.count += std::max(cue.count, 1);
            v.level = levelOf(v.count);
            v.left = std::max(v.left, left);
            v.right = std::max(v.right, right);
            return;
        }
    }
    Voice* chosen = nullptr;
    float quietest = 0;
    for (Voice& v : voices_) {
        if (!v.playing) {
            chosen = &v;
            break;
        }
        const float left_of_it = 1.0f - static_cast<float>(v.age) / static_cast<float>(v.length);
        const float loudness = std::max(v.left, v.right) * v.level * recipeOf(v.sound).gain * left_of_it;
        if (!chosen || loudness < quietest || (loudness == quietest && v.age > chosen->age)) {
            chosen = &v;
            quietest = loudness;
        }
    }
    Voice& v = *chosen;
    v = Voice{};
    v.sound = cue.sound;
    v.left = left;
    v.right = right;
    v.wait = wait;
    v.count = cue.count;
    v.level = levelOf(cue.count);
    startVoice(v, cue);
}

void SoundMixer::startVoice(Voice& v, const SoundCue&)
{
    v.playing = true;
    v.noise = xorshift(random_) | 1u;
    v.length = static_cast<std::uint32_t>(recipeOf(v.sound).seconds * rate_);
    v.env = 1;
    v.env2 = 1;
    const float vary = 0.9f + 0.2f * nextRandom(); // no two alike
    // The first partials struck, at these levels.
    const auto strike = [&v](std::initializer_list<float> levels) {
        int i = 0;
        for (const float level : levels)
            v.partials[i++].start(level);
    };
    switch (v.sound) {
    case Sound::Step:
        v.decay = decayPerSample(0.045f, rate_);
        v.filters[0].tune(1700 * vary, 0.9f, rate_);
        v.filters[1].tune(320, 0.7f, rate_);
        break;
    case Sound::Appear: {
        // A low fifth, far away: a horn over the snow.
        const float f = 165 * vary;
        v.partials[0].tune(f, rate_);
        v.partials[1].tune(f * 1.5f * 1.003f, rate_);
        v.partials[2].tune(f * 2.0f, rate_);
        strike({1.0f, 0.6f, 0.2f});
        v.decay = decayPerSample(0.5f, rate_);
        v.filters[0].tune(500, 0.7f, rate_);
        break;
    }
    case Sound::Stun: {
        // Glass: the inharmonic partials of a struck bar, high and ringing, over a frosty hiss.
        const float f = 1320 * vary;
        const float ratios[4] = {1.0f, 2.756f, 5.404f, 8.933f};
        const float amps[4] = {1.0f, 0.5f, 0.28f, 0.14f};
        const float rings[4] = {0.8f, 0.45f, 0.25f, 0.15f};
        const float bright = std::min(1.8f, 1.0f + 0.15f * std::log2(1.0f + std::max(v.count, 0)));
        for (int i = 0; i < 4; ++i) {
            v.partials[i].tune(f * ratios[i], rate_, rings[i]);
            v.partials[i].start(amps[i] * (i ? bright : 1.0f));
        }
        v.decay2 = decayPerSample(0.12f, rate_);
        v.filters[0].tune(5500, 1.2f, rate_);
        v.filters[1].tune(3800, 3.0f, rate_);
        break;
    }
    case Sound::Hit:
        v.pitch = 45 * vary;
        strike({1.0f, 0.3f});
        v.decay = decayPerSample(0.11f, rate_);
        v.decay2 = decayPerSample(0.03f, rate_);
        v.filters[0].tune(420, 0.8f, rate_);
        break;
    case Sound::Break: {
        v.grains[0] = 0;
        for (int i = 1; i < 6; ++i)
            v.grains[i] = static_cast<std::uint32_t>(nextRandom() * 0.35f * rate_);
        v.filters[0].tune(3000 * (0.7f + 0.8f * nextRandom()), 2.5f, rate_);
        v.filters[1].tune(900, 1.0f, rate_);
        v.partials[0].tune(2600 * vary, rate_, 0.22f);
        v.partials[1].tune(3710 * vary, rate_, 0.16f);
        strike({0.12f, 0.08f});
        v.decay = decayPerSample(0.15f, rate_);
        break;
    }
    case Sound::Hurt:
        v.pitch = 55 * vary;
        v.decay = decayPerSample(0.06f, rate_);
        v.filters[0].tune(250, 0.7f, rate_);
        break;
    case Sound::Fall:
        v.pitch = 98;
        strike({1.0f, 0.4f, 0.5f});
        v.decay = decayPerSample(2.0f, rate_);
        v.filters[0].tune(600, 1.2f, rate_);
        break;
    case Sound::Click:
        v.partials[0].tune(1800, rate_, 0.005f);
        v.partials[0].start(1.0f);
        break;
    }
}

namespace {

// A partial turned by the angle of `hz` per sample, without decay: one cosine and one sine.
void turn(Partial& p, float c, float s)
{
    p.cr = c;
    p.ci = s;
}

} // namespace

void SoundMixer::renderVoice(Voice& v, float* __restrict out, std::size_t frames)
{
    std::size_t i = 0;
    if (v.wait > 0) {
        const std::size_t skip = std::min<std::size_t>(v.wait, frames);
        v.wait -= static_cast<std::uint32_t>(skip);
        i = skip;
    }
    const std::size_t end = std::min<std::size_t>(frames, i + (v.length - v.age));
    const float gain = recipeOf(v.sound).gain * v.level;
    const float gl = gain * v.left, gr = gain * v.right;
    const float rate = rate_;
    const float step = 1.0f / rate;
    const float invTail = 1.0f / (0.01f * rate);
    float t = static_cast<float>(v.age) * step;
    // One sample of the voice into the mix; its last 10 ms fade to nothing, whatever the sound does.
    const auto emit = [&](std::size_t k, float sample) {
        const float fade = std::min(1.0f, static_cast<float>(v.length - v.age) * invTail);
        out[2 * k] += sample * fade * gl;
        out[2 * k + 1] += sample * fade * gr;
        ++v.age;
        t += step;
    };
    // The sweeping sounds retune every so many samples, from one cosine and sine.
    constexpr std::uint32_t SWEEP = 32;
    switch (v.sound) {
    case Sound::Step:
        // Crunch: sparse crackles and a hiss through a band, over the soft thud of the foot.
        for (; i < end; ++i) {
            const float n = whiteNoise(v.noise);
            const float crackle = unit(v.noise) < 0.06f ? 3.0f * whiteNoise(v.noise) : 0.0f;
            v.filters[0].run(0.35f * n + crackle);
            v.filters[1].run(n);
            const float attack = std::min(1.0f, t * 333.0f);
            const float s = (0.8f * v.filters[0].band + 1.6f * v.filters[1].low) * v.env * attack;
            v.env *= v.decay;
            emit(i, s);
        }
        break;
    case Sound::Appear:
        for (; i < end; ++i) {
            const float rise = 0.6f;
            float shape;
            if (t < rise) {
                const float x = t / rise;
                shape = x * x * (3 - 2 * x);
            } else {
                shape = v.env;
                v.env *= v.decay;
            }
            v.filters[0].run(whiteNoise(v.noise));
            const float s =
                (v.partials[0].next() + v.partials[1].next() + v.partials[2].next() + 0.8f * v.filters[0].low) *
                shape * 0.5f;
            emit(i, s);
        }
        break;
    case Sound::Stun:
        for (; i < end; ++i) {
            const float n = whiteNoise(v.noise);
            const float sparkle = unit(v.noise) < 0.02f * v.env2 ? whiteNoise(v.noise) * 4.0f : 0.0f;
            v.filters[0].run(n);
            v.filters[1].run(sparkle);
            const float attack = std::min(1.0f, t * 500.0f);
            const float glass =
                (v.partials[0].next() + v.partials[1].next() + v.partials[2].next() + v.partials[3].next()) * 0.5f;
            const float frost = 0.2f * v.filters[0].band * v.env2 + 0.5f * v.filters[1].band;
            v.env2 *= v.decay2;
            emit(i, (glass + frost) * attack);
        }
        break;
    case Sound::Hit:
        for (; i < end; ++i) {
            if (v.age % SWEEP == 0) {
                const float w = 2 * PI * (v.pitch + 75.0f * std::exp(-t / 0.04f)) / rate;
                const float c = std::cos(w), sn = std::sin(w);
                turn(v.partials[0], c, sn);
                turn(v.partials[1], 2 * c * c - 1, 2 * sn * c); // the octave above
            }
            v.filters[0].run(whiteNoise(v.noise));
            const float attack = std::min(1.0f, t * 500.0f);
            const float s =
                ((v.partials[0].next() + v.partials[1].next()) * v.env + 1.5f * v.filters[0].low * v.env2) * attack;
            v.env *= v.decay;
            v.env2 *= v.decay2;
            emit(i, s);
        }
        break;
    case Sound::Break: {
        const std::uint32_t grainLength = static_cast<std::uint32_t>(0.007f * rate);
        for (; i < end; ++i) {
            float crack = 0;
            for (int g = 0; g < 6; ++g) {
                const std::uint32_t since = v.age - v.grains[g];
                if (v.age >= v.grains[g] && since < grainLength)
                    crack += (1.0f - static_cast<float>(since) / static_cast<float>(grainLength)) * (g ? 0.7f : 1.0f);
            }
            const float n = whiteNoise(v.noise);
            v.filters[0].run(n * crack * 3.0f);
            v.filters[1].run(n * v.env);
            const float s = v.filters[0].band + 0.5f * v.filters[1].band + v.partials[0].next() + v.partials[1].next();
            v.env *= v.decay;
            emit(i, s);
        }
        break;
    }
    case Sound::Hurt: {
        // Two beats of a heart, the second softer.
        const float second = 0.17f;
        const std::uint32_t secondAt = static_cast<std::uint32_t>(second * rate);
        for (; i < end; ++i) {
            if (v.age == 0 || v.age == secondAt) {
                v.env = v.age ? 0.7f : 1.0f;
                v.partials[0].start(1.0f);
                v.partials[1].start(0.35f);
            }
            const float since = v.age < secondAt ? t : t - second;
            if (v.age % SWEEP == 0 || v.age == secondAt) {
                const float w = 2 * PI * (v.pitch + 35.0f * std::exp(-since / 0.03f)) / rate;
                const float c = std::cos(w), sn = std::sin(w);
                turn(v.partials[0], c, sn);
                turn(v.partials[1], 2 * c * c - 1, 2 * sn * c);
            }
            v.filters[0].run(whiteNoise(v.noise));
            const float attack = std::min(1.0f, since * 400.0f);
            const float s = (v.partials[0].next() + v.partials[1].next() + 0.6f * v.filters[0].low) * v.env * attack;
            v.env *= v.decay;
            emit(i, s);
        }
        break;
    }
    case Sound::Fall:
        // A long fall of a tone with its fifth and its lower octave, and a gust under it.
        for (; i < end; ++i) {
            if (v.age % (2 * SWEEP) == 0) {
                const float f = v.pitch * std::exp2(2.0f * (1.0f - std::min(t / 3.0f, 1.0f)));
                const float w = 2 * PI * f / rate;
                const float c = std::cos(w), sn = std::sin(w);
                const float ch = std::sqrt(0.5f * (1 + c)), sh = std::sqrt(0.5f * (1 - c)); // half the angle
                turn(v.partials[0], c, sn);
                turn(v.partials[1], c * ch - sn * sh, sn * ch + c * sh); // the fifth: one and a half
                turn(v.partials[2], ch, sh);                             // the octave below
                v.filters[0].tune(300 + 500 * std::exp(-t), 0.8f, rate);
            }
            v.filters[0].run(whiteNoise(v.noise));
            const float attack = std::min(1.0f, t * 30.0f);
            const float s = ((v.partials[0].next() + v.partials[1].next() + v.partials[2].next()) * 0.5f +
                             0.6f * v.filters[0].low) *
                            v.env * attack;
            v.env *= v.decay;
            emit(i, s);
        }
        break;
    case Sound::Click:
        for (; i < end; ++i)
            emit(i, v.partials[0].next());
        break;
    }
    if (v.age >= v.length)
        v.playing = false;
}

float SoundMixer::windSample(float& right)
{
    // Every 32 samples the gusts and the wind's tone drift toward targets drawn anew every few
    // seconds; the band passes follow the tone.
    if (windClock_ % 32 == 0) {
        if (windClock_ % static_cast<std::uint32_t>(2.5f * rate_) < 32) {
            gustTarget_ = 0.45f + 0.55f * nextRandom();
            toneTarget_ = nextRandom();
        }
        const float glide = 32.0f / (1.8f * rate_);
        gust_ += (gustTarget_ - gust_) * glide;
        tone_ += (toneTarget_ - tone_) * glide;
        windBand_[0].tune(260 + 520 * tone_, 1.4f, rate_);
        windBand_[1].tune(280 + 500 * tone_, 1.4f, rate_);
    }
    ++windClock_;
    const float rumble = 2 * PI * 140 / rate_;
    float s[2];
    for (int c = 0; c < 2; ++c) {
        const float n = whiteNoise(windNoise_[c]);
        windBand_[c].run(n);
        rumble_[c] += (n - rumble_[c]) * rumble;
        s[c] = (windBand_[c].band + 1.2f * rumble_[c]) * gust_ * 0.16f;
    }
    right = s[1];
    return s[0];
}

void SoundMixer::render(float* out, std::size_t frames)
{
    // Empty where the processor has no such mode (WebAssembly): nothing to flush there.
    [[maybe_unused]] const FlushDenormals flush;
    constexpr std::size_t CHUNK = sizeof(mix_) / sizeof(mix_[0]) / 2;
    const float duckRise = 1.0f - decayPerSample(0.02f, rate_);
    const float duckFall = 1.0f - decayPerSample(0.8f, rate_);
    const float release = 1.0f - decayPerSample(0.25f, rate_);
    constexpr float CEILING = 0.89f; // -1 dB
    while (frames > 0) {
        const std::size_t n = std::min(frames, CHUNK);
        std::fill(mix_, mix_ + 2 * n, 0.0f);
        for (Voice& v : voices_)
            if (v.playing)
                renderVoice(v, mix_, n);
        for (std::size_t i = 0; i < n; ++i) {
            float l = mix_[2 * i], r = mix_[2 * i + 1];
            const float busy = std::max(std::fabs(l), std::fabs(r));
            duck_ += (busy - duck_) * (busy > duck_ ? duckRise : duckFall);
            if (wind_) {
                float wr;
                const float wl = windSample(wr);
                const float giveWay = 1.0f / (1.0f + 8.0f * duck_);
                l += wl * giveWay;
                r += wr * giveWay;
            }
            if (master_ != masterTarget_) {
                master_ = master_ < masterTarget_ ? std::min(masterTarget_, master_ + masterStep_)
                                                  : std::max(masterTarget_, master_ - masterStep_);
            }
            l *= master_;
            r *= master_;
            if (!std::isfinite(l) || !std::isfinite(r)) {
                l = r = 0;
                duck_ = 0;
            }
            // The limiter: down at once to keep the peak under the ceiling, back up slowly.
            const float peak = std::max(std::fabs(l), std::fabs(r));
            if (peak * limit_ > CEILING)
                limit_ = CEILING / peak;
            else
                limit_ += (1.0f - limit_) * release;
            out[2 * i] = std::clamp(l * limit_, -CEILING, CEILING);
            out[2 * i + 1] = std::clamp(r * limit_, -CEILING, CEILING);
        }
        out += 2 * n;
        frames -= n;
    }
}
