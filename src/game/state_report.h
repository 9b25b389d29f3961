// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one contract between the game and its end-to-end tests: the state they may judge, written
// after every frame the game shows. The probe preloaded into the real program (tools/play) calls
// glacimor_report_state after each buffer swap and does nothing else; nothing in the game calls it.
//
// The report is lines of "key value ...", rewritten whole after every frame:
//   frame N            frames shown since start (the picture of frame N is on the screen)
//   frame_ms F         wall-clock time between this frame's swap and the one before, in ms
//   longest_frame_ms F the longest such time so far
//   samples N          GL_SAMPLES of what the game draws into (4 with 4x multisampling, 0 without)
//   sample_buffers N   GL_SAMPLE_BUFFERS
//   viewport W H       the size the game draws at
//   renderer TEXT      GL_RENDERER
//   ticks T            the game's clock at the start of this frame (ms)
//   one line a setting, by its word in the settings' table (core/settings.h: god, fpscounter, ...,
//                      endgame: 0 or 1)
//   message TEXT       the message line's text (nothing after the key when it is empty)
//   player X Y Z HP STATE CAMDIST SX SY SR
//   player_dir DX DY DZ   where the player looks
//   player_back SX SY SR  the middle of the player's back (its green side) on the screen
//   enemies N          followed by N lines "enemy X Y Z HP STATE SX SY SR DIST"
//   effects N
// SX SY are the screen pixel (from the top left) of a figure's centre and SR the screen size of
// one world unit there, by the frame's own projection (render/scene.h); a figure behind the camera
// gets -1 -1 0. DIST is the enemy's distance to the player.
#ifndef GLACIMOR_GAME_STATE_REPORT_H
#define GLACIMOR_GAME_STATE_REPORT_H

#include "render/context.h"

#include <cstdio>

// The frame just shown, as the report's first lines tell it.
struct ShownFrame {
    unsigned long number = 0; // frames shown since start
    double ms = 0;            // since the frame before
    double longestMs = 0;     // the longest so far
    ContextFacts context;     // read once, after the first frame
    int width = -1;           // the size the frame was drawn at
    int height = -1;
};

// Writes the report of the frame and of the world as it stands.
void writeStateReport(std::FILE* out, const ShownFrame& frame);

// The contract's symbol, the one the probe looks for: counts and times the frame just shown,
// reads the context's facts after the first, and rewrites the file at `path` whole (written
// aside, then renamed, so that a reader never sees half of it).
extern "C" void glacimor_report_state(const char* path);

#endif
