// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the game's messages go on Windows when it has no standard output or error of its own.
#ifndef GLACIMOR_PLATFORM_MESSAGES_H
#define GLACIMOR_PLATFORM_MESSAGES_H

// On Windows, a window program started from Explorer has no standard output or error: what the
// game prints (a start-up failure, a shader's log) then goes to stdout.txt and stderr.txt beside
// the program, and a file left empty is removed at exit. A stream the program was given (a pipe,
// a file, a terminal under Wine) is kept. Nothing elsewhere.
void keepMessages();

#endif
