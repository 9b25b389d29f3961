// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The handlers for crashes in start-up and for SIGTERM and SIGINT, and the one-shot timer that
// bounds the wait for the last frame. Everything a handler calls is async-signal-safe: it builds
// its line in a fixed buffer, writes it with write(2) and ends with _exit.
#include "core/signals.h"

#include <atomic>

// The handlers, their stacks and the grace timer are POSIX's. Windows has no such signals from
// outside, and a browser has no signals at all, nor threads, nor timers that interrupt a frame: the
// page itself ends the game there.
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#define GLACIMOR_SIGNALS 1
#endif

#ifndef GLACIMOR_SIGNALS
#include <cstdio>
#include <cstdlib>
#else
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <ctime>
#include <unistd.h>
#endif

namespace {

std::atomic<const char*> stageNow{"starting"};
std::atomic<bool> stopAsked{false};
std::atomic<int> lineStream{2};
// The line for a display that went away; in start-up " while <stage>; ..." follows.
constexpr const char* DISPLAY_LOST = "glacimor: the connection to the display was lost";
static_assert(std::atomic<const char*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handlers read these");

#ifdef GLACIMOR_SIGNALS

constexpr int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT};
struct sigaction crashBefore[4];

// The handlers' own stacks: a stack that overflowed has no room left for them. Static, so that
// they exist however little memory the process may map.
constexpr std::size_t ALT_STACK_BYTES = 64 * 1024;
alignas(16) char entryAltStack[ALT_STACK_BYTES];
alignas(16) char helperAltStack[ALT_STACK_BYTES];
// The stacks they had before: a sanitizer's runtime unmaps a thread's at its end, and must find its own.
stack_t entryBefore;
stack_t helperBefore;

std::atomic<bool> playing{false};
std::atomic<bool> graceArmed{false};
timer_t graceTimer;
bool haveGraceTimer = false;
// The grace timer's signal: a real-time signal of the game's own, not SIGALRM, which alarm(),
// setitimer and libraries share; a SIGALRM from anyone meets what the game was started with.
constexpr int GRACE_SIGNAL_OFFSET = 3;
int graceSignal = 0;
struct sigaction graceBefore;

// One line, put together without allocating.
struct Line {
    char text[512];
    std::size_t length = 0;
    Line& operator<<(const char* part)
    {
        for (; part && *part && length < sizeof text - 1; ++part)
            text[length++] = *part;
        return *this;
    }
    [[noreturn]] void writeAndEnd(int status)
    {
        text[length++] = '\n';
        std::size_t done = 0;
        while (done < length) {
            const ssize_t wrote = ::write(lineStream.load(), text + done, length - done);
            if (wrote <= 0 && errno != EINTR)
                break;
            if (wrote > 0)
                done += static_cast<std::size_t>(wrote);
        }
        ::_exit(status);
    }
};

const char* signalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGILL: return "SIGILL";
    case SIGFPE: return "SIGFPE";
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    default: return "a signal";
    }
}

void onCrash(int sig)
{
    Line line;
    line << "glacimor: crashed (" << signalName(sig) << ") while " << stageNow.load() << "; the game cannot start";
    line.writeAndEnd(1);
}

void onStop(int sig)
{
    if (!playing.load()) {
        Line line;
        line << "glacimor: stopped by " << signalName(sig) << " while " << stageNow.load()
             << "; the game did not start";
        line.writeAndEnd(1);
    }
    const int savedErrno = errno;
    stopAsked.store(true);
    // The first stop starts the grace period; later ones change nothing.
    if (haveGraceTimer && !graceArmed.exchange(true)) {
        itimerspec grace{};
        grace.it_value.tv_sec = STOP_GRACE_MS / 1000;
        grace.it_value.tv_nsec = static_cast<long>(STOP_GRACE_MS % 1000) * 1000000L;
        ::timer_settime(graceTimer, 0, &grace, nullptr);
    }
    errno = savedErrno;
}

// The frame under way did not end within the grace period: the player asked to stop, so the game
// stops, as it would have after the frame. The same signal from anyone else (sent, not the timer's)
// gets what it would have got without the game's handler.
void onGraceOver(int sig, siginfo_t* info, void*)
{
    if (info && info->si_code == SI_TIMER && info->si_value.sival_ptr == &graceTimer)
        ::_exit(0);
    // Ignored before: ignored still, and the timer keeps its handler.
    if (!(graceBefore.sa_flags & SA_SIGINFO) && graceBefore.sa_handler == SIG_IGN)
        return;
    const int savedErrno = errno;
    ::sigaction(sig, &graceBefore, nullptr);
    // Blocked while this handler runs: delivered, with that action, as it returns.
    ::raise(sig);
    errno = savedErrno;
}

void install(int sig, void (*handler)(int), struct sigaction* before)
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK | SA_RESTART;
    ::sigaction(sig, &action, before);
}

void useAltStack(char* stack, stack_t* before)
{
    stack_t alt{};
    alt.ss_sp = stack;
    alt.ss_size = ALT_STACK_BYTES;
    if (::sigaltstack(&alt, before) != 0)
        ::sigaltstack(nullptr, before);
}

void restoreAltStack(const stack_t& before)
{
    stack_t previous = before;
    previous.ss_flags &= SS_DISABLE; // as it was: in use, or none
    ::sigaltstack(&previous, nullptr);
}

#endif

} // namespace

void startUpStage(const char* stage) { stageNow.store(stage); }

const char* currentStartUpStage() { return stageNow.load(); }

void sayLinesOn(int fd) { lineStream.store(fd); }

bool stopRequested() { return stopAsked.load(); }

#ifdef GLACIMOR_SIGNALS
int graceTimerSignal() { return graceSignal; }
#endif

void displayLost()
{
#ifdef GLACIMOR_SIGNALS
    Line line;
    line << DISPLAY_LOST;
    if (!playing.load())
        line << " while " << stageNow.load() << "; the game cannot start";
    line.writeAndEnd(1);
#else
    std::fprintf(stderr, "%s\n", DISPLAY_LOST);
    std::fflush(stderr);
    std::_Exit(1);
#endif
}

#ifdef GLACIMOR_SIGNALS

void guardStartUp()
{
    useAltStack(entryAltStack, &entryBefore);
    for (std::size_t i = 0; i < sizeof CRASH_SIGNALS / sizeof CRASH_SIGNALS[0]; ++i)
        install(CRASH_SIGNALS[i], onCrash, &crashBefore[i]);
    for (int sig : STOP_SIGNALS)
        install(sig, onStop, nullptr);
}

void guardThisThread() { useAltStack(helperAltStack, &helperBefore); }

void unguardThisThread() { restoreAltStack(helperBefore); }

void startPlaying()
{
    // The timer is made here, outside any handler; arming it is all a handler does. Its signal
    // carries the timer's own address, which tells it from the same signal sent by anyone else.
    graceSignal = SIGRTMIN + GRACE_SIGNAL_OFFSET;
    struct sigaction action{};
    action.sa_sigaction = onGraceOver;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    ::sigaction(graceSignal, &action, &graceBefore);
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = graceSignal;
    event.sigev_value.sival_ptr = &graceTimer;
    haveGraceTimer = ::timer_create(CLOCK_MONOTONIC, &event, &graceTimer) == 0;
    playing.store(true);
    for (std::size_t i = 0; i < sizeof CRASH_SIGNALS / sizeof CRASH_SIGNALS[0]; ++i)
        ::sigaction(CRASH_SIGNALS[i], &crashBefore[i], nullptr);
    restoreAltStack(entryBefore);
}

#else

// Windows has no SIGTERM from outside and no sigaltstack: SDL's own SIGINT handler turns Ctrl+C
// in a console into its quit request, which ends the game after the frame, and a crash is
// Windows' to report. In a browser a crash is the page's to report (the program aborts there),
// and closing the page ends the game with it.
int graceTimerSignal() { return 0; }
void guardStartUp() {}
void guardThisThread() {}
void unguardThisThread() {}
void startPlaying() {}

#endif
