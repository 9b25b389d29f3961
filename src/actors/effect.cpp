// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The four status effects, their labels, and the housekeeping of effectList.
#include "actors/effect.h"

#include "actors/mob.h"

#include <algorithm>

Effect::Effect(Mob& source, Mob& target) : target(target), source(source), startTime(ticksNow())
{
    effectList.push_back(this);
}

bool Effect::timeIsUp() const { return static_cast<Ticks>(ticksNow() - startTime) >= duration; }

namespace {

// Labels float two units above the target's centre, following it.
void labelAbove(WorldLabels& labels, const Mob& target, const char* text)
{
    labels.label(target.pos.x, target.pos.y + 2.0, target.pos.z, text);
}

} // namespace

Hit::Hit(Mob& source, Mob& target, double strength) : Effect(source, target)
{
    this->strength = strength;
    target.hp -= strength;
}

void Hit::update()
{
    if (status == EFFECT_RUNNING)
        status = EFFECT_EXPIRED;
}

void Hit::render(WorldLabels&) {}

Stun::Stun(Mob& source, Mob& target, unsigned int duration) : Effect(source, target)
{
    this->duration = duration;
    if (target.state != STATE_DEAD)
        target.state = STATE_STUNNED;
}

void Stun::update()
{
    if (status == EFFECT_RUNNING && timeIsUp())
        cancel();
}

void Stun::render(WorldLabels& labels)
{
    if (status != EFFECT_EXPIRED)
        labelAbove(labels, target, "STUNNED");
}

void Stun::cancel()
{
    if (status == EFFECT_EXPIRED)
        return;
    if (target.state != STATE_DEAD)
        target.state = STATE_ACTIVE;
    status = EFFECT_EXPIRED;
}

Deathcurse::Deathcurse(Mob& source, Mob& target, unsigned int duration) : Effect(source, target)
{
    this->duration = duration;
}

void Deathcurse::update()
{
    if (status == EFFECT_RUNNING && timeIsUp()) {
        target.hp = 0;
        target.state = STATE_DEAD;
        status = EFFECT_EXPIRED;
    }
}

void Deathcurse::render(WorldLabels& labels)
{
    if (status != EFFECT_EXPIRED)
        labelAbove(labels, target, "DEATH");
}

Slow::Slow(Mob& source, Mob& target, unsigned int duration, double strength) : Effect(source, target)
{
    this->duration = duration;
    this->strength = strength;
    target.speed *= strength;
}

void Slow::update()
{
    if (status == EFFECT_RUNNING && timeIsUp())
        cancel();
}

void Slow::render(WorldLabels& labels)
{
    if (status != EFFECT_EXPIRED)
        labelAbove(labels, target, "SLOW");
}

void Slow::cancel()
{
    if (status == EFFECT_EXPIRED)
        return;
    target.speed /= strength;
    status = EFFECT_EXPIRED;
}

void effectListGarbageCollection()
{
    // One pass that moves each running effect forward over the expired ones before it: erasing them
    // one by one moved the rest of the list each time, and a burst of clicks expiring in one frame
    // (hundreds of thousands of stuns) took seconds.
    effectList.erase(std::remove_if(effectList.begin(), effectList.end(),
                                    [](const Effect* effect) { return effect->status == EFFECT_EXPIRED; }),
                     effectList.end());
}

void collectExpiredEffects()
{
    // effectListGarbageCollection only unlinks; nothing else holds an expired effect, so destroy it.
    std::vector<Effect*> expired;
    for (Effect* effect : effectList)
        if (effect->status == EFFECT_EXPIRED)
            expired.push_back(effect);
    if (expired.empty())
        return;
    effectListGarbageCollection();
    for (Effect* effect : expired)
        delete effect;
}

void dropEffectsOf(const Mob& mob)
{
    for (Effect* effect : effectList)
        if (&effect->target == &mob || &effect->source == &mob)
            effect->cancel();
    collectExpiredEffects();
}
