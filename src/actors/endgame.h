// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the game and the score text.
#ifndef GLACIMOR_ACTORS_ENDGAME_H
#define GLACIMOR_ACTORS_ENDGAME_H

#include <string>

// Marks the game over once, recording the tick of the player's death as the score.
void recordEnd();

// "survived: " + whole seconds + " sec. "
std::string endScore();

#endif
