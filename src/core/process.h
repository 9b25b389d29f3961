// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the game asks of its process before it opens anything: standard streams that lead somewhere,
// a closed pipe that cannot kill it, and memory running out ending with a line instead of a signal.
#ifndef GLACIMOR_CORE_PROCESS_H
#define GLACIMOR_CORE_PROCESS_H

// The entry's first call, before anything opens a descriptor. Desktop launchers and service managers
// may start the game with standard input, output or error closed: the next descriptor opened (the X
// connection) would take that number, and a message meant for the terminal would be written into the
// display's protocol stream and hang the game. Each closed one of 0, 1 and 2 is opened on /dev/null.
// A pipe whose reader has gone (`glacimor | head -c0`) fails the write instead of ending the game by
// SIGPIPE; the game drops what it could not write. When operator new finds no memory, one line says
// so on standard error and the game ends with status 1.
void prepareProcess();

// What prepareProcess installs for operator new: the line, then status 1 at once (not exit(): the
// failure may come while a lock is held that the global destructors would wait for).
[[noreturn]] void outOfMemory();

#endif
