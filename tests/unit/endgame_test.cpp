// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the game: recorded once, at the player's death, with the whole seconds survived.
#include "actors/endgame.h"

#include "game_fixture.h"

using EndGameTest = GameTest;

TEST_F(EndGameTest, ScoreIsTheWholeSecondsAtDeath)
{
    player.hp = 0;
    ScriptedClock::set(999);
    player.update();
    EXPECT_TRUE(set_endgame);
    EXPECT_EQ(set_score, 999.0);
    EXPECT_EQ(endScore(), "survived: 0 sec. ");
}

TEST_F(EndGameTest, ASecondIsCountedFromItsFirstMillisecond)
{
    player.hp = 0;
    ScriptedClock::set(1000);
    player.update();
    EXPECT_EQ(endScore(), "survived: 1 sec. ");
    set_score = 83950;
    EXPECT_EQ(endScore(), "survived: 83 sec. ");
}

TEST_F(EndGameTest, NoEndWhileAlive)
{
    ScriptedClock::set(5000);
    player.hp = 0.01;
    player.update();
    EXPECT_FALSE(set_endgame);
    EXPECT_EQ(set_score, 0.0);
}

TEST_F(EndGameTest, EndIsRecordedOnce)
{
    player.hp = 0;
    ScriptedClock::set(4321);
    player.update();
    ScriptedClock::set(9999);
    player.update();
    player.hp = -5; // a later hit changes nothing either
    player.update();
    EXPECT_EQ(set_score, 4321.0);
    EXPECT_EQ(endScore(), "survived: 4 sec. ");
}

TEST_F(EndGameTest, ScoreKeepsTheFullTickRange)
{
    player.hp = 0;
    ScriptedClock::set(0xFFFFFFFFu);
    player.update();
    EXPECT_EQ(set_score, 4294967295.0);
    EXPECT_EQ(endScore(), "survived: 4294967 sec. ");
}

TEST_F(EndGameTest, EnemyDamageEndsTheGameInTheSameFrame)
{
    set_spawntime = 1e9; // no spawns in this test
    player.hp = 0.5;
    new Enemy(0, 0, 3);
    frameAt(100); // one hit point in this frame
    EXPECT_EQ(player.hp, 0.0);
    EXPECT_EQ(player.state, STATE_DEAD);
    EXPECT_TRUE(set_endgame);
    EXPECT_EQ(set_score, 100.0);
    EXPECT_EQ(text(gui.text2), "0");
}

TEST_F(EndGameTest, GodModeAfterTheEndChangesNothing)
{
    set_spawntime = 1e9;
    new Enemy(0, 0, 3);
    player.hp = 0;
    frameAt(2500);
    ASSERT_TRUE(set_endgame);
    bool running = true;
    EventContext context;
    context.running = &running;
    press(SDLK_F1, context);
    ASSERT_TRUE(set_god);
    frameAt(2600);
    frameAt(2700);
    EXPECT_TRUE(set_endgame);
    EXPECT_EQ(set_score, 2500.0);
    EXPECT_EQ(player.state, STATE_DEAD);
    EXPECT_EQ(player.hp, 0.0);
    EXPECT_EQ(endScore(), "survived: 2 sec. ");
}

TEST_F(EndGameTest, WorldGoesOnAfterTheEnd)
{
    player.hp = 0;
    frameAt(100);
    ASSERT_TRUE(set_endgame);
    input.keyW = true;
    for (Ticks t = 200; t <= 4200; t += 100)
        frameAt(t);
    EXPECT_EQ(enemyList.size(), 2u); // spawned at 2000 and 3990
    EXPECT_EQ(player.pos.z, 0.0);
    EXPECT_EQ(set_score, 100.0);
    EXPECT_EQ(elapsedTime(), "4");
}
