// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Signals at the two times that matter: during start-up a crash (a real overflowed stack) and a
// stop are each one line and status 1; during play SIGTERM and SIGINT ask for the quit, the frame
// under way may finish, and a frame that does not finish is cut short with status 0, by a timer
// whose signal is told from anyone else's. Each case runs in a child process of its own (a death
// test), since it changes the process's signal handlers.
#include "core/signals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

#include <sys/wait.h>

namespace {

volatile bool keepGoing = true;

// Recursion as deep as the driver's compiler goes on a long expression, and deeper: it ends only
// when the stack does.
int descend(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return keepGoing ? descend(depth + 1) + frame[0] : 0;
}

// A frame that never ends: spins for the grace period and a second more, then says it was not
// stopped (status 3).
[[noreturn]] void endlessFrame()
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(STOP_GRACE_MS + 1000)) {
    }
    std::_Exit(3);
}

class SignalsDeathTest : public testing::Test {
protected:
    // Re-run the test program for each child: start-up has threads (SDL's, the driver's).
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

} // namespace

TEST_F(SignalsDeathTest, ACrashInStartUpNamesTheStageOnOneLine)
{
    EXPECT_EXIT(
        {
            guardStartUp();
            startUpStage("building the shader program shader/GM_shader");
            descend(0);
        },
        testing::ExitedWithCode(1),
        "^glacimor: crashed \\(SIGSEGV\\) while building the shader program shader/GM_shader; "
        "the game cannot start\n$");
    // Once the game plays, a crash is a crash: no line, the signal's own end.
    EXPECT_EXIT(
        {
            guardStartUp();
            startPlaying();
            std::raise(SIGILL);
        },
        testing::KilledBySignal(SIGILL), "^$");
}

TEST_F(SignalsDeathTest, AStopInStartUpEndsItAtOnceWithOneLine)
{
    EXPECT_EXIT(
        {
            guardStartUp();
            startUpStage("starting SDL and connecting to the display");
            std::raise(SIGTERM);
            std::_Exit(3); // the stop waited for start-up to go on
        },
        testing::ExitedWithCode(1),
        "^glacimor: stopped by SIGTERM while starting SDL and connecting to the display; the game did not start\n$");
}

TEST_F(SignalsDeathTest, AStopInPlayLetsTheFrameEndOrCutsItShortWithStatusZero)
{
    // The frame under way ends: the game sees the quit and ends as after Escape (here status 5).
    EXPECT_EXIT(
        {
            guardStartUp();
            startPlaying();
            if (stopRequested())
                std::_Exit(2);
            std::raise(SIGINT);
            std::_Exit(stopRequested() ? 5 : 4);
        },
        testing::ExitedWithCode(5), "^$");
    // A frame that never ends is ended after the grace period, with status 0 and nothing printed.
    EXPECT_EXIT(
        {
            guardStartUp();
            startPlaying();
            std::raise(SIGTERM);
            endlessFrame();
        },
        testing::ExitedWithCode(0), "^$");
}

TEST_F(SignalsDeathTest, OnlyTheGraceTimersOwnSignalEndsTheGameAsItsTimer)
{
    // Another program's or a library's alarm is not the game's timer: it does what it does to
    // any program (the game used to end with status 0 and nothing said).
    EXPECT_EXIT(
        {
            guardStartUp();
            startPlaying();
            std::raise(SIGALRM);
            std::_Exit(3);
        },
        testing::KilledBySignal(SIGALRM), "^$");
    // Nor is the timer's own signal number sent by anyone but the timer.
    EXPECT_EXIT(
        {
            guardStartUp();
            startPlaying();
            if (graceTimerSignal() == 0 || graceTimerSignal() == SIGALRM)
                std::_Exit(2);
            std::raise(graceTimerSignal());
            std::_Exit(3);
        },
        [](int status) { return WIFSIGNALED(status) && WTERMSIG(status) >= SIGRTMIN; }, "^$");
}
