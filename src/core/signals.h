// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How signals end the game: a crash during start-up named on one line instead of a silent death,
// and SIGTERM or SIGINT obeyed within a second whatever the game is doing; and the one line for a
// display that went away, which the platform's watch on the display's connection says.
#ifndef GLACIMOR_CORE_SIGNALS_H
#define GLACIMOR_CORE_SIGNALS_H

// The longest the game keeps running after SIGTERM or SIGINT during play, waiting for the frame
// under way to end; a frame that takes longer is cut short and the game ends with status 0.
constexpr int STOP_GRACE_MS = 750;

// Names the start-up step under way (a literal, kept for the run: "building the shader program
// shader/GM_shader"); the line printed for a crash or a stop during start-up says it.
void startUpStage(const char* stage);
const char* currentStartUpStage();

// Where the lines of this file go: standard error (2), or the descriptor it was copied to while
// the platform holds standard error aside (platform/display.h: HeldStandardError).
void sayLinesOn(int fd);

// Called by the entry right after prepareProcess. Until startPlaying:
// - SIGSEGV, SIGBUS, SIGILL and SIGFPE (a driver that runs out of memory or stack while the game
//   comes up) print "glacimor: crashed (SIGSEGV) while <stage>; the game cannot start" and end the
//   game with status 1. The handler runs on a stack of its own, so an overflowed stack can still
//   say so.
// - SIGTERM and SIGINT print "glacimor: stopped by SIGTERM while <stage>; the game did not start"
//   and end it with status 1 at once: whatever start-up waits for (a display that never answers,
//   an X authority file that never ends) cannot hold the game.
// SDL leaves SIGTERM and SIGINT alone once they have a handler, so these stay the game's.
void guardStartUp();

// Gives the calling thread a stack of its own for the crash line: for the one thread start-up
// runs work on beside the entry's (the shader compiler's). One such thread at a time, which calls
// unguardThisThread before it ends.
void guardThisThread();
void unguardThisThread();

// Called by the entry just before the first frame. The crash signals go back to what they did
// before guardStartUp (a crash in play is a crash, with its core dump and sanitizer report).
// SIGTERM and SIGINT now ask the game to quit after the frame under way (stopRequested), as Escape
// does, with status 0; if that frame has not ended STOP_GRACE_MS after the signal, the game ends
// there, with status 0. That timer signals on a real-time signal of its own (graceTimerSignal), and
// its handler acts only on the timer's own signal: SIGALRM is never touched, so another program's
// or a library's alarm does what it would do to any program; the timer's signal number sent by
// anyone else gets the action it had before.
void startPlaying();

// The grace timer's signal from startPlaying on (a real-time signal), 0 before, on Windows and in a
// browser.
int graceTimerSignal();

// True once SIGTERM or SIGINT has come during play; the frame's event step carries out the quit.
bool stopRequested();

// The connection to the display is gone (the X server or the compositor ended, or the connection
// was killed): prints "glacimor: the connection to the display was lost" and ends the game with
// status 1 at once, with nothing more run (no exit handler: SDL's would wait on the dead connection
// for ever). During start-up the line goes on " while <stage>; the game cannot start". Async-signal-
// safe, and for any thread: the X library calls it on whichever thread found the connection dead.
[[noreturn]] void displayLost();

#endif
