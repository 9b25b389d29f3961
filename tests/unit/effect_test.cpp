// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Status effects on their targets, the player's two bursts, and the housekeeping of effectList.
#include "game_fixture.h"

#include "ui/labels.h"

#include <algorithm>
#include <vector>

using EffectTest = GameTest;

TEST_F(EffectTest, EffectFilesItselfWithItsStartTick)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(1234);
    Effect* first = new Stun(player, *e, 100);
    Effect* second = new Hit(player, *e, 1);
    ASSERT_EQ(effectList.size(), 2u);
    EXPECT_EQ(effectList[0], first);
    EXPECT_EQ(effectList[1], second);
    EXPECT_EQ(first->startTime, 1234u);
    EXPECT_EQ(first->status, EFFECT_RUNNING);
    EXPECT_EQ(&first->target, e);
    EXPECT_EQ(&first->source, &player);
}

TEST_F(EffectTest, StunEndsAtTheFirstUpdateOnOrAfterItsDeadline)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(10000);
    Stun* stun = new Stun(player, *e, 5000);
    EXPECT_EQ(e->state, STATE_STUNNED);
    ScriptedClock::set(14999);
    stun->update();
    EXPECT_EQ(e->state, STATE_STUNNED);
    EXPECT_EQ(stun->status, EFFECT_RUNNING);
    ScriptedClock::set(15000);
    stun->update();
    EXPECT_EQ(e->state, STATE_ACTIVE);
    EXPECT_EQ(stun->status, EFFECT_EXPIRED);
    // Expired, it no longer touches its target.
    e->state = STATE_STUNNED;
    stun->update();
    EXPECT_EQ(e->state, STATE_STUNNED);
}

TEST_F(EffectTest, StunTimesAcrossTheWrapOfTheClock)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(0xFFFFF000u); // 4096 ms before the wrap
    Stun* stun = new Stun(player, *e, 5000);
    ScriptedClock::set(903);
    stun->update();
    EXPECT_EQ(stun->status, EFFECT_RUNNING);
    EXPECT_EQ(e->state, STATE_STUNNED);
    ScriptedClock::set(904);
    stun->update();
    EXPECT_EQ(stun->status, EFFECT_EXPIRED);
    EXPECT_EQ(e->state, STATE_ACTIVE);
}

TEST_F(EffectTest, StunLeavesTheDeadDead)
{
    Enemy* e = new Enemy(0, 0, 50);
    e->state = STATE_DEAD;
    ScriptedClock::set(100);
    Stun* stun = new Stun(player, *e, 5000);
    EXPECT_EQ(e->state, STATE_DEAD);
    ScriptedClock::set(5100);
    stun->update();
    EXPECT_EQ(stun->status, EFFECT_EXPIRED);
    EXPECT_EQ(e->state, STATE_DEAD);
}

TEST_F(EffectTest, StunnedEnemyStandsUntilReleased)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(0);
    new Stun(player, *e, 300);
    frameAt(100);
    frameAt(200);
    EXPECT_EQ(e->pos.z, 50.0);
    frameAt(300); // the stun ends before the enemies move
    EXPECT_EQ(e->pos.z, 49.0);
}

TEST_F(EffectTest, FourHitsLeaveZeroAndAFifthKills)
{
    Enemy* e = new Enemy(0, 0, 50);
    frameNormalizer = 1.0;
    for (int i = 0; i < 4; ++i)
        new Hit(player, *e, 25);
    EXPECT_EQ(e->hp, 0.0);
    e->update();
    EXPECT_EQ(e->state, STATE_ACTIVE);
    EXPECT_EQ(e->pos.z, 49.0); // still hunting
    new Hit(player, *e, 25);
    EXPECT_EQ(e->hp, -25.0);
    e->update();
    EXPECT_EQ(e->state, STATE_DEAD);
    EXPECT_EQ(e->hp, 0.0);
    EXPECT_EQ(e->pos.z, 49.0);
}

TEST_F(EffectTest, HitExpiresAtItsFirstUpdateWithoutTakingMore)
{
    Enemy* e = new Enemy(0, 0, 50);
    Hit* hit = new Hit(player, *e, 25);
    EXPECT_EQ(e->hp, 75.0);
    hit->update();
    EXPECT_EQ(hit->status, EFFECT_EXPIRED);
    hit->update();
    EXPECT_EQ(e->hp, 75.0);
}

TEST_F(EffectTest, DeathcurseOnThePlayerEndsTheGameAtItsNextUpdate)
{
    ScriptedClock::set(1000);
    Deathcurse* curse = new Deathcurse(player, player, 2000);
    curse->update();
    EXPECT_EQ(player.hp, 100.0);
    ScriptedClock::set(3000);
    curse->update();
    EXPECT_EQ(player.hp, 0.0);
    EXPECT_EQ(player.state, STATE_DEAD);
    EXPECT_FALSE(set_endgame);
    ScriptedClock::set(3016);
    player.update();
    EXPECT_TRUE(set_endgame);
    EXPECT_EQ(set_score, 3016.0);
}

TEST_F(EffectTest, TwoStunsRunIndependently)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(0);
    Stun* shorter = new Stun(player, *e, 1000);
    Stun* longer = new Stun(player, *e, 3000);
    ScriptedClock::set(1000);
    shorter->update();
    longer->update();
    EXPECT_EQ(e->state, STATE_ACTIVE); // the first to end frees it
    EXPECT_EQ(longer->status, EFFECT_RUNNING);
    ScriptedClock::set(3000);
    longer->update();
    EXPECT_EQ(longer->status, EFFECT_EXPIRED);
    EXPECT_EQ(e->state, STATE_ACTIVE);
}

TEST_F(EffectTest, TwoSlowsMultiplyAndUndoEachOther)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(0);
    Slow* half = new Slow(player, *e, 1000, 0.5);
    Slow* quarter = new Slow(player, *e, 2000, 0.25);
    EXPECT_EQ(e->speed, 0.125);
    ScriptedClock::set(1000);
    half->update();
    quarter->update();
    EXPECT_EQ(e->speed, 0.25);
    ScriptedClock::set(2000);
    half->update();
    quarter->update();
    EXPECT_EQ(e->speed, 1.0);
}

TEST_F(EffectTest, BurstsReachThirteenAndEightUnits)
{
    Enemy* at5 = new Enemy(5, 0, 0);
    Enemy* at10 = new Enemy(0, 0, -10);
    Enemy* at20 = new Enemy(0, 0, 20);
    player.style1();
    ASSERT_EQ(effectList.size(), 2u);
    EXPECT_EQ(&effectList[0]->target, at5);
    EXPECT_EQ(&effectList[1]->target, at10);
    EXPECT_EQ(effectList[0]->duration, 5000u);
    EXPECT_EQ(at20->state, STATE_ACTIVE);
    player.style2();
    ASSERT_EQ(effectList.size(), 3u);
    EXPECT_EQ(&effectList[2]->target, at5);
    EXPECT_EQ(at5->hp, 75.0);
    EXPECT_EQ(at10->hp, 100.0);
    EXPECT_EQ(at20->hp, 100.0);
}

TEST_F(EffectTest, BurstRadiusIsInclusiveAndThreeDimensional)
{
    Enemy* rim = new Enemy(0, 0, 13);
    Enemy* above = new Enemy(0, 13.01, 0);
    Enemy* hitRim = new Enemy(8, 0, 0);
    player.style1();
    EXPECT_EQ(rim->state, STATE_STUNNED);
    EXPECT_EQ(above->state, STATE_ACTIVE);
    player.style2();
    EXPECT_EQ(hitRim->hp, 75.0);
}

TEST_F(EffectTest, BurstsIncludeDeadEnemies)
{
    Enemy* dead = new Enemy(3, 0, 0);
    dead->state = STATE_DEAD;
    dead->hp = 0;
    player.style1();
    player.style2();
    EXPECT_EQ(effectList.size(), 2u);
    EXPECT_EQ(dead->state, STATE_DEAD);
    EXPECT_EQ(dead->hp, -25.0);
}

TEST_F(EffectTest, NoBurstWithoutEnemiesOrFromADeadOrStunnedPlayer)
{
    player.style1();
    player.style2();
    EXPECT_TRUE(effectList.empty());
    new Enemy(1, 0, 0);
    player.state = STATE_DEAD;
    player.style1();
    player.style2();
    EXPECT_TRUE(effectList.empty());
    player.state = STATE_STUNNED;
    player.style1();
    EXPECT_TRUE(effectList.empty());
    player.state = STATE_ACTIVE;
    player.style3();
    player.style4();
    EXPECT_TRUE(effectList.empty());
}

TEST_F(EffectTest, GarbageCollectionUnlinksExpiredKeepingOrder)
{
    Enemy* e = new Enemy(0, 0, 50);
    Effect* a = new Stun(player, *e, 5000);
    Effect* b = new Stun(player, *e, 5000);
    Effect* c = new Stun(player, *e, 5000);
    Effect* d = new Stun(player, *e, 5000);
    b->status = EFFECT_EXPIRED;
    c->status = EFFECT_EXPIRED;
    effectListGarbageCollection();
    ASSERT_EQ(effectList.size(), 2u);
    EXPECT_EQ(effectList[0], a);
    EXPECT_EQ(effectList[1], d);
    // Unlinked, not destroyed: the caller still owns them.
    EXPECT_EQ(b->status, EFFECT_EXPIRED);
    delete b;
    delete c;

    resetWorld();
    effectListGarbageCollection();
    EXPECT_TRUE(effectList.empty());
}

TEST_F(EffectTest, ClearingExpiredEffectsTakesOnePass)
{
    // Two million entries, every other one expired, as a burst of clicks leaves them when their
    // stuns end in one frame. Unlinked one at a time, the rest of the list moved at each: some
    // 10^12 pointers, far beyond this test's time limit; in one pass, a few milliseconds. The
    // collection only unlinks, so two effects named a million times each stand for the crowd.
    Enemy* e = new Enemy(0, 0, 50);
    Effect* running = new Stun(player, *e, 5000);
    Effect* expired = new Stun(player, *e, 5000);
    expired->status = EFFECT_EXPIRED;
    effectList.clear();
    for (int i = 0; i < 1000000; ++i) {
        effectList.push_back(expired);
        effectList.push_back(running);
    }
    effectListGarbageCollection();
    EXPECT_EQ(effectList.size(), 1000000u);
    EXPECT_EQ(std::count(effectList.begin(), effectList.end(), running), 1000000);
    // Each listed once again, for the fixture to destroy.
    effectList = {running, expired};
}

TEST_F(EffectTest, ExpiredEffectsLeaveTheListInTheSameFrame)
{
    Enemy* e = new Enemy(0, 0, 50);
    ScriptedClock::set(0);
    new Hit(player, *e, 10);
    Effect* stun = new Stun(player, *e, 150);
    frameAt(100);
    ASSERT_EQ(effectList.size(), 1u); // the hit is gone, the stun runs
    EXPECT_EQ(effectList[0], stun);
    frameAt(150);
    EXPECT_TRUE(effectList.empty());
    EXPECT_EQ(e->state, STATE_ACTIVE);
}

TEST_F(EffectTest, DroppingAMobsEffectsUndoesAndDestroysThem)
{
    Enemy* gone = new Enemy(0, 0, 50);
    Enemy* stays = new Enemy(0, 0, -50);
    Effect* keep = new Stun(player, *stays, 5000);
    new Stun(player, *gone, 5000);
    new Slow(player, *gone, 5000, 0.5);
    new Hit(*gone, *stays, 1); // gone as the source
    EXPECT_EQ(gone->state, STATE_STUNNED);
    EXPECT_EQ(gone->speed, 0.5);
    dropEffectsOf(*gone);
    ASSERT_EQ(effectList.size(), 1u);
    EXPECT_EQ(effectList[0], keep);
    EXPECT_EQ(gone->state, STATE_ACTIVE);
    EXPECT_EQ(gone->speed, 1.0);
    EXPECT_EQ(stays->state, STATE_STUNNED);
}

TEST_F(EffectTest, DroppingEffectsLeavesTheDeadDead)
{
    Enemy* e = new Enemy(0, 0, 50);
    new Stun(player, *e, 5000);
    e->state = STATE_DEAD;
    dropEffectsOf(*e);
    EXPECT_TRUE(effectList.empty());
    EXPECT_EQ(e->state, STATE_DEAD);
}

TEST_F(EffectTest, CapEndsTheEffectsOfTheEnemiesItDeletes)
{
    for (int i = 0; i < 1001; ++i)
        new Enemy(1, 0, 1);
    player.style1();
    player.style2();
    ASSERT_EQ(effectList.size(), 2002u);
    capEnemies();
    EXPECT_EQ(enemyList.size(), 1000u);
    EXPECT_EQ(effectList.size(), 2000u);
    // Every remaining effect acts on a listed enemy.
    for (Effect* effect : effectList)
        EXPECT_NE(std::find(enemyList.begin(), enemyList.end(), &effect->target), enemyList.end());
}

namespace {

// Keeps the labels effects hand to the label pass.
struct RecordedLabels : WorldLabels {
    struct Label {
        double x, y, z;
        std::string text;
    };
    std::vector<Label> labels;
    void label(double x, double y, double z, const char* text) override { labels.push_back({x, y, z, text}); }
};

} // namespace

TEST_F(EffectTest, RunningEffectsLabelTheirTargetTwoUnitsAboveIt)
{
    Enemy* e = new Enemy(3, 1, -7);
    ScriptedClock::set(0);
    Effect* effects[] = {new Stun(player, *e, 100), new Deathcurse(player, *e, 100), new Slow(player, *e, 100, 0.5),
                         new Hit(player, *e, 1)};
    RecordedLabels seen;
    for (Effect* effect : effects)
        effect->render(seen);
    ASSERT_EQ(seen.labels.size(), 3u); // a hit shows nothing
    const char* texts[] = {"STUNNED", "DEATH", "SLOW"};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(seen.labels[i].text, texts[i]);
        EXPECT_EQ(seen.labels[i].x, 3.0);
        EXPECT_EQ(seen.labels[i].y, 3.0);
        EXPECT_EQ(seen.labels[i].z, -7.0);
    }

    // The label follows its target...
    e->place(5, 0, 8);
    RecordedLabels moved;
    effects[0]->render(moved);
    ASSERT_EQ(moved.labels.size(), 1u);
    EXPECT_EQ(moved.labels[0].x, 5.0);
    EXPECT_EQ(moved.labels[0].y, 2.0);
    EXPECT_EQ(moved.labels[0].z, 8.0);

    // ...until the effect's time is up.
    ScriptedClock::set(100);
    for (Effect* effect : effects)
        effect->update();
    RecordedLabels after;
    for (Effect* effect : effects)
        effect->render(after);
    EXPECT_TRUE(after.labels.empty());
}

TEST_F(EffectTest, AStackOfEffectsShowsOneLabelAndStillRunsAsAStack)
{
    // Attack spam: 250 stuns on one enemy, a slow among them, and one stun on another enemy.
    Enemy* a = new Enemy(3, 0, 4);
    Enemy* b = new Enemy(-6, 0, 1);
    ScriptedClock::set(0);
    for (int i = 0; i < 250; ++i) {
        ScriptedClock::set(static_cast<Ticks>(i));
        new Stun(player, *a, 5000);
        if (i == 100)
            new Slow(player, *a, 5000, 0.5);
    }
    new Stun(player, *b, 5000);

    // Each distinct label once, in the order the list first shows it; the pass starts afresh each
    // time it runs.
    for (int pass = 0; pass < 2; ++pass) {
        RecordedLabels seen;
        passEffectLabels(seen);
        ASSERT_EQ(seen.labels.size(), 3u);
        EXPECT_EQ(seen.labels[0].text, "STUNNED");
        EXPECT_EQ(seen.labels[0].x, 3.0);
        EXPECT_EQ(seen.labels[1].text, "SLOW");
        EXPECT_EQ(seen.labels[1].x, 3.0);
        EXPECT_EQ(seen.labels[2].text, "STUNNED");
        EXPECT_EQ(seen.labels[2].x, -6.0);
    }

    // The stack itself runs as before: the first stun to end frees the target while 249 still run,
    // and their label stays.
    ScriptedClock::set(5000);
    for (std::size_t i = 0; i < effectList.size(); ++i)
        effectList[i]->update();
    collectExpiredEffects();
    EXPECT_EQ(effectList.size(), 251u);
    EXPECT_EQ(a->state, STATE_ACTIVE);
    EXPECT_EQ(b->state, STATE_STUNNED);
    RecordedLabels later;
    passEffectLabels(later);
    ASSERT_EQ(later.labels.size(), 3u);
    EXPECT_EQ(later.labels[0].text, "STUNNED");

    // A label that moves with its target is a new place: both targets on one spot share one label.
    b->place(3, 0, 4);
    RecordedLabels together;
    passEffectLabels(together);
    EXPECT_EQ(together.labels.size(), 2u);
}
