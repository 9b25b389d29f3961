// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the game asks to hear: one cue per thing that happened, already placed around the
// listener, and the queue that carries cues from the game's thread to the audio thread.
#ifndef GLACIMOR_AUDIO_CUE_H
#define GLACIMOR_AUDIO_CUE_H

#include <atomic>
#include <cstddef>
#include <cstdint>

// The sounds the game makes; the wind is not among them, it always blows.
enum class Sound : std::uint8_t {
    Step,   // a footstep crunching in the snow
    Appear, // an enemy come up at the plateau's edge: soft and far
    Stun,   // the stun burst: glassy, freezing
    Hit,    // the hit burst: a dull blow
    Break,  // an enemy killed: something breaking
    Hurt,   // the player drained by an enemy: a heartbeat, never a drone
    Fall,   // the player's death
    Click,  // a settings key
};

constexpr std::size_t SOUND_KINDS = 8;

struct SoundCue {
    Sound sound = Sound::Click;
    float pan = 0;      // -1 all left, 0 ahead, 1 all right, as the camera sees it
    float distance = 0; // world units from the player; farther is quieter
    int count = 1;      // what it stands for: enemies a burst reached, enemies killed at once
    float delayMs = 0;  // starts this long after it reaches the mixer (steps of one long frame)
};

// One writer (the game's thread), one reader (the audio thread), a fixed ring: neither side ever
// waits or allocates. A cue that finds the ring full is dropped: the mixer has more than it can
// play already.
class CueQueue {
public:
    static constexpr std::size_t CAPACITY = 256;

    bool push(const SoundCue& cue)
    {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) % CAPACITY;
        if (next == head_.load(std::memory_order_acquire))
            return false;
        ring_[tail] = cue;
        tail_.store(next, std::memory_order_release);
        return true;
    }

    bool pop(SoundCue& cue)
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire))
            return false;
        cue = ring_[head];
        head_.store((head + 1) % CAPACITY, std::memory_order_release);
        return true;
    }

private:
    SoundCue ring_[CAPACITY];
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

#endif
