// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How signals end the game: a crash during start-up named on one line instead of a silent death,
// and SIGTERM or SIGINT obeyed within a second whatever the game is doing.
#ifndef GLACIMOR_CORE_SIGNALS_H
#define GLACIMOR_CORE_SIGNALS_H

// The longest the game keeps running after SIGTERM or SIGINT during play, waiting for the frame
// under way to end; a frame that takes longer is cut short and the game ends with status 0.
constexpr int STOP_GRACE_MS = 750;

// Names the start-up step under way (a literal, kept for the run: "building the shader program
// shader/GM_shader"); the line printed for a crash or a stop during start-up says it.
void startUpStage(const char* stage);
const char* currentStartUpStage();

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
// there, with status 0.
void startPlaying();

// True once SIGTERM or SIGINT has come during play; the frame's event step carries out the quit.
bool stopRequested();

#endif
