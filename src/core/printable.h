// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Text from outside the game (a driver's log or version, a path, SDL's reason) made safe to print
// on a terminal, and kept on one line where a message must be one line.
#ifndef GLACIMOR_CORE_PRINTABLE_H
#define GLACIMOR_CORE_PRINTABLE_H

#include <cstddef>
#include <string>

// `length` bytes of text from outside the game (a driver's log, a path) made safe for a terminal:
// printable ASCII, line breaks, tabs and well-formed UTF-8 letters stay; every other byte (the
// controls, C1 controls in UTF-8 too, stray bytes) becomes \xHH, so no escape sequence reaches
// the terminal.
std::string printable(const char* text, std::size_t length);
std::string printable(const std::string& text);

// The same for a name or a reason within a one-line message (a folder's name, a driver's version):
// line breaks and tabs are escaped too, so the message stays one line.
std::string printableLine(const std::string& text);

#endif
