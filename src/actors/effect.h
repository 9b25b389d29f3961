// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Status effects: timed influences of one mob on another, with a label above the target.
#ifndef GLACIMOR_ACTORS_EFFECT_H
#define GLACIMOR_ACTORS_EFFECT_H

#include "core/clock.h"

#include <vector>

class Mob;

// Where effects put their labels. The label pass (ui/labels.h) hands one in, so an effect says what it
// shows and where, and knows nothing of how text is drawn.
class WorldLabels {
public:
    // Shows text centred on the world point (x, y, z).
    virtual void label(double x, double y, double z, const char* text) = 0;

protected:
    ~WorldLabels() = default;
};

// Effect status values.
enum : int {
    EFFECT_RUNNING = 1,
    EFFECT_EXPIRED = 2,
};

class Effect {
public:
    Mob& target;
    Mob& source;
    Ticks duration = 0;  // ms; a Hit has none
    Ticks startTime = 0; // tick count at creation
    double strength = 0; // Hit: hit points taken; Slow: speed factor
    int status = EFFECT_RUNNING;

    // Stamps the start time and files the effect at the end of effectList.
    Effect(Mob& source, Mob& target);
    virtual ~Effect() = default;
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    virtual void update() {}
    // Shows the effect's label, if it has one, above its target.
    virtual void render(WorldLabels&) {}

    bool timeIsUp() const; // duration elapsed, by unsigned difference of ticks

    // Ends the effect at once, undoing what its end would undo, because its mob is going away.
    virtual void cancel() { status = EFFECT_EXPIRED; }
};

// Takes hit points at once; expires at its first update.
class Hit : public Effect {
public:
    Hit(Mob& source, Mob& target, double strength);
    void update() override;
    void render(WorldLabels& labels) override;
};

// Freezes a living target for its duration and shows "STUNNED".
class Stun : public Effect {
public:
    Stun(Mob& source, Mob& target, unsigned int duration);
    void update() override;
    void render(WorldLabels& labels) override;
    void cancel() override;
};

// Kills the target when its time is up; shows "DEATH" meanwhile.
class Deathcurse : public Effect {
public:
    Deathcurse(Mob& source, Mob& target, unsigned int duration);
    void update() override;
    void render(WorldLabels& labels) override;
};

// Scales the target's speed for its duration; shows "SLOW". strength must not be 0.
class Slow : public Effect {
public:
    Slow(Mob& source, Mob& target, unsigned int duration, double strength);
    void update() override;
    void render(WorldLabels& labels) override;
    void cancel() override;
};

extern std::vector<Effect*> effectList; // running and expired status effects, oldest first; owns them

// Unlinks expired effects from effectList, keeping the order of the rest. Does not destroy them.
void effectListGarbageCollection();

// Frame step after the effects' updates: unlinks and destroys what has expired.
void collectExpiredEffects();

// Ends and destroys every effect whose target or source is the mob, before the mob is deleted.
void dropEffectsOf(const Mob& mob);

#endif
