// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound, without a device: the mixer's samples for lists of cues (where each sound puts its
// energy, where it stands, how many voices it takes, that nothing clips), and the cues the world
// gives as a scripted game plays (steps at the walking pace, one cue a burst, the heartbeat that
// is no drone, the fall heard once).
#include "audio/mixer.h"
#include "game/controls.h"
#include "game/sound.h"
#include "game_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float RATE = 48000;

std::vector<float> hear(SoundMixer& mixer, double seconds)
{
    std::vector<float> out(2 * static_cast<std::size_t>(seconds * RATE));
    mixer.render(out.data(), out.size() / 2);
    return out;
}

std::vector<float> hearAlone(const std::vector<SoundCue>& cues, double seconds = 1.0)
{
    SoundMixer mixer(RATE);
    mixer.setWind(false);
    for (const SoundCue& cue : cues)
        mixer.play(cue);
    return hear(mixer, seconds);
}

SoundCue cue(Sound sound, float pan = 0, float distance = 0, int count = 1)
{
    SoundCue c;
    c.sound = sound;
    c.pan = pan;
    c.distance = distance;
    c.count = count;
    return c;
}

// Root mean square of one channel (0 left, 1 right, 2 both).
double rms(const std::vector<float>& s, int channel = 2)
{
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (channel != 2 && static_cast<int>(i % 2) != channel)
            continue;
        sum += static_cast<double>(s[i]) * s[i];
        ++n;
    }
    return n ? std::sqrt(sum / n) : 0;
}

// The share of the energy of the first 4096 frames (both channels summed) between two frequencies.
double shareBetween(const std::vector<float>& s, double fromHz, double toHz)
{
    const std::size_t n = 4096;
    double inside = 0, all = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        // Goertzel's recurrence for bin k.
        const double w = 2 * M_PI * k / n, c = 2 * std::cos(w);
        double a = 0, b = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double x = s[2 * i] + s[2 * i + 1];
            const double y = x + c * a - b;
            b = a;
            a = y;
        }
        const double power = a * a + b * b - c * a * b;
        const double hz = k * RATE / n;
        all += power;
        if (hz >= fromHz && hz < toHz)
            inside += power;
    }
    return all > 0 ? inside / all : 0;
}

} // namespace

TEST(SoundMixerTest, SameCuesSameSamplesAndEachSoundWhereItBelongs)
{
    const std::vector<SoundCue> list = {cue(Sound::Stun, -0.5f, 10), cue(Sound::Step), cue(Sound::Appear, 1, 99)};
    SoundMixer a(RATE), b(RATE);
    for (const SoundCue& c : list) {
        a.play(c);
        b.play(c);
    }
    EXPECT_EQ(hear(a, 0.5), hear(b, 0.5));

    // Nothing asked, no wind: nothing heard, exactly.
    EXPECT_EQ(rms(hearAlone({}, 0.2)), 0.0);
    // Every sound is heard.
    for (std::size_t k = 0; k < SOUND_KINDS; ++k)
        EXPECT_GT(rms(hearAlone({cue(static_cast<Sound>(k))}, 0.3)), 0.003) << "sound " << k;
    // The stun rings high, like glass; the hit is a low, dull blow.
    EXPECT_GT(shareBetween(hearAlone({cue(Sound::Stun)}), 1000, 12000), 0.8);
    EXPECT_GT(shareBetween(hearAlone({cue(Sound::Hit)}), 20, 400), 0.8);
    // A burst that reached a hundred enemies is fuller than one that reached one, not a hundred
    // times (heard from afar, below the limiter).
    const double one = rms(hearAlone({cue(Sound::Stun, 0, 50, 1)}));
    const double hundred = rms(hearAlone({cue(Sound::Stun, 0, 50, 100)}));
    EXPECT_GT(hundred, 1.5 * one);
    EXPECT_LT(hundred, 3 * one);
}

TEST(SoundMixerTest, LeftIsHeardLeftAndFartherIsQuieter)
{
    const std::vector<float> left = hearAlone({cue(Sound::Appear, -1, 20)});
    const std::vector<float> right = hearAlone({cue(Sound::Appear, 1, 20)});
    EXPECT_GT(rms(left, 0), 3 * rms(left, 1));
    EXPECT_GT(rms(right, 1), 3 * rms(right, 0));
    double nearer = 1e9;
    for (float d : {0.0f, 10.0f, 50.0f, 150.0f}) {
        const double r = rms(hearAlone({cue(Sound::Break, 0, d)}));
        EXPECT_LT(r, nearer) << "at " << d;
        nearer = r;
    }
}

TEST(SoundMixerTest, AThousandCuesAtOnceStayBoundedAndNeverClip)
{
    SoundMixer mixer(RATE);
    for (int i = 0; i < 1000; ++i)
        mixer.play(cue(static_cast<Sound>(i % SOUND_KINDS), (i % 21) / 10.0f - 1.0f, static_cast<float>(i % 7), 100));
    EXPECT_LE(mixer.voicesPlaying(), SoundMixer::VOICES);
    const std::vector<float> out = hear(mixer, 1.0);
    for (float s : out) {
        ASSERT_TRUE(std::isfinite(s));
        ASSERT_LT(std::fabs(s), 1.0f);
    }
    // Sounds that do not come together each take a voice, up to the bound; then the quietest yield.
    SoundMixer spread(RATE);
    spread.setWind(false);
    std::vector<float> chunk(2 * 2400);
    for (int i = 0; i < 40; ++i) {
        spread.play(cue(Sound::Fall, 0, static_cast<float>(i)));
        spread.render(chunk.data(), 2400); // 50 ms apart
        EXPECT_EQ(spread.voicesPlaying(), std::min(i + 1, SoundMixer::VOICES));
    }
    // Nonsense places are heard as somewhere, never as NaN.
    SoundMixer odd(RATE);
    odd.play(cue(Sound::Stun, NAN, INFINITY, -5));
    for (float s : hear(odd, 0.2))
        ASSERT_TRUE(std::isfinite(s));
}

TEST(SoundMixerTest, WindFromTheStartAndTheFadeSilencesExactly)
{
    SoundMixer mixer(RATE);
    EXPECT_GT(rms(hear(mixer, 0.1)), 0.005);
    // Softer than what happens: the wind is the loudest thing only when nothing else is heard.
    const double wind = rms(hear(mixer, 1.0));
    EXPECT_LT(wind, 0.5 * rms(hearAlone({cue(Sound::Hit)}, 0.3)));
    mixer.fadeTo(0, 0.06f);
    hear(mixer, 0.06);
    EXPECT_EQ(rms(hear(mixer, 0.5)), 0.0);
    mixer.fadeTo(1, 0.06f);
    hear(mixer, 0.06);
    EXPECT_GT(rms(hear(mixer, 0.5)), 0.5 * wind);
}

namespace {

// The cues of a scripted game, with the game time each was given at.
class Cues : public SoundOut {
public:
    struct Heard {
        SoundCue cue;
        Ticks at;
    };
    std::vector<Heard> list;
    bool on = true;
    void play(const SoundCue& cue) override { list.push_back({cue, game_time}); }
    void setOn(bool o) override { on = o; }
    int count(Sound s) const
    {
        int n = 0;
        for (const Heard& h : list)
            n += h.cue.sound == s;
        return n;
    }
    const SoundCue* first(Sound s) const
    {
        for (const Heard& h : list)
            if (h.cue.sound == s)
                return &h.cue;
        return nullptr;
    }
};

class SoundTest : public GameTest {
protected:
    Cues cues;
    Ticks t = 0;
    void SetUp() override
    {
        GameTest::SetUp();
        forgetHeardWorld();
        setSoundOut(&cues);
        set_spawntime = 1e9; // no enemy but the test's own
    }
    void TearDown() override
    {
        setSoundOut(nullptr);
        forgetHeardWorld();
        GameTest::TearDown();
    }
    void frames(int n, Ticks step = 16)
    {
        for (int i = 0; i < n; ++i)
            frameAt(t += step);
    }
    static void key(Key k, bool down)
    {
        InputEvent e;
        e.type = down ? InputEvent::KeyDown : InputEvent::KeyUp;
        e.key = k;
        handleInput(e);
    }
};

} // namespace

TEST_F(SoundTest, StepsAtTheWalkingPaceOnlyWhileWalking)
{
    frames(30);
    EXPECT_EQ(cues.count(Sound::Step), 0) << "standing";
    input.keyW = true;
    frames(250); // 4 s of walking
    // 15 units a second: a step as the walk begins and one every STRIDE units.
    const int expected = 1 + static_cast<int>(4.0 * 15 / STRIDE);
    EXPECT_NEAR(cues.count(Sound::Step), expected, 1);
    // The beat is in the samples: the steps' loudness comes back every STRIDE / 15 seconds.
    SoundMixer mixer(RATE);
    mixer.setWind(false);
    std::vector<float> out(2 * static_cast<std::size_t>(4.0 * RATE));
    Ticks at = cues.list.front().at;
    std::size_t done = 0;
    for (const Cues::Heard& h : cues.list) {
        const std::size_t upTo = static_cast<std::size_t>((h.at - at) / 1000.0 * RATE);
        mixer.render(out.data() + 2 * done, std::min(upTo, out.size() / 2) - done);
        done = std::min(upTo, out.size() / 2);
        mixer.play(h.cue);
    }
    mixer.render(out.data() + 2 * done, out.size() / 2 - done);
    std::vector<double> envelope; // 10 ms frames
    for (std::size_t i = 0; i + 960 <= out.size(); i += 960) {
        double e = 0;
        for (std::size_t j = i; j < i + 960; ++j)
            e += out[j] * out[j];
        envelope.push_back(e);
    }
    int bestLag = 0;
    double best = -1;
    for (int lag = 20; lag < 100; ++lag) {
        double c = 0;
        for (std::size_t i = 0; i + lag < envelope.size(); ++i)
            c += envelope[i] * envelope[i + lag];
        if (c > best) {
            best = c;
            bestLag = lag;
        }
    }
    EXPECT_NEAR(bestLag * 10.0, STRIDE / 15.0 * 1000, 30);

    // Stunned, dead: no step, keys held or not.
    const int walked = cues.count(Sound::Step);
    player.state = STATE_STUNNED;
    frames(100);
    player.state = STATE_DEAD;
    frames(100);
    EXPECT_EQ(cues.count(Sound::Step), walked);
}

TEST_F(SoundTest, ALongFrameSpreadsItsStepsOverItsTime)
{
    frames(2);
    input.keyW = true;
    frames(1, 1000); // 15 units walked in one frame: the first step and two more
    ASSERT_EQ(cues.count(Sound::Step), 3);
    const std::vector<Cues::Heard>& l = cues.list;
    EXPECT_FLOAT_EQ(l[0].cue.delayMs, 0);
    EXPECT_NEAR(l[1].cue.delayMs, STRIDE / 15.0 * 1000, 2);
    EXPECT_NEAR(l[2].cue.delayMs, 2 * STRIDE / 15.0 * 1000, 2);
}

TEST_F(SoundTest, BurstsKillsComingsHeartbeatsAndTheFallEachHeardAsTheyHappen)
{
    frames(2);
    // An enemy come at the right-hand edge, as the camera behind the player sees it.
    new Enemy(99, 0, 0);
    frames(1);
    ASSERT_EQ(cues.count(Sound::Appear), 1);
    EXPECT_GT(cues.first(Sound::Appear)->pan, 0.9f);
    EXPECT_NEAR(cues.first(Sound::Appear)->distance, 99, 1);
    // An enemy every frame, as late in a game: heard at most once every APPEAR_EVERY_MS.
    for (int i = 0; i < 62; ++i) {
        new Enemy(-99, 0, i);
        frames(1);
    }
    EXPECT_GE(cues.count(Sound::Appear), 62 * 16 / static_cast<int>(APPEAR_EVERY_MS));
    EXPECT_LE(cues.count(Sound::Appear), 2 + 62 * 16 / static_cast<int>(APPEAR_EVERY_MS));
    for (Enemy* e : enemyList)
        delete e;
    enemyList.clear();
    new Enemy(99, 0, 0);

    // A burst is one cue, with the number reached; a hundred enemies reached are one cue.
    for (Enemy* e : enemyList)
        delete e;
    enemyList.clear();
    for (int i = 0; i < 100; ++i)
        new Enemy(3, 0, 0);
    new Enemy(0, 0, 50);
    frames(1);
    cues.list.clear();
    key(Key::Num1, true);
    ASSERT_EQ(cues.count(Sound::Stun), 1);
    EXPECT_EQ(cues.first(Sound::Stun)->count, 100);
    key(Key::Num2, true);
    ASSERT_EQ(cues.count(Sound::Hit), 1);
    EXPECT_EQ(cues.first(Sound::Hit)->count, 100);
    // Four more hits kill the hundred: one sound of breaking, for all of them.
    for (int i = 0; i < 4; ++i)
        key(Key::Num2, true);
    frames(2);
    ASSERT_EQ(cues.count(Sound::Break), 1);
    EXPECT_EQ(cues.first(Sound::Break)->count, 100);

    // Drained: a heartbeat at once, then at most one every HURT_EVERY_MS.
    cues.list.clear();
    Enemy* drainer = enemyList.back();
    drainer->pos.z = 5;
    frames(62); // about a second
    const int beats = cues.count(Sound::Hurt);
    EXPECT_GE(beats, 1);
    EXPECT_LE(beats, 1 + 62 * 16 / static_cast<int>(HURT_EVERY_MS));
    // The fall is heard once, and the heart is still then.
    player.hp = 0.5;
    frames(60);
    EXPECT_TRUE(set_endgame);
    EXPECT_EQ(cues.count(Sound::Fall), 1);
    cues.list.clear();
    frames(60);
    EXPECT_EQ(cues.count(Sound::Hurt), 0);
    EXPECT_EQ(cues.count(Sound::Fall), 0);
    // A dead player fires no burst, and none is heard.
    key(Key::Num1, true);
    EXPECT_EQ(cues.count(Sound::Stun), 0);
}

TEST_F(SoundTest, MSwitchesTheSoundOffAndOnWithItsMessage)
{
    frames(1);
    EXPECT_TRUE(cues.on);
    key(Key::M, true);
    frames(1);
    EXPECT_FALSE(cues.on);
    EXPECT_EQ(text(gui.text3), "sound off");
    key(Key::M, true);
    frames(1);
    EXPECT_TRUE(cues.on);
    EXPECT_EQ(text(gui.text3), "sound on");
}
