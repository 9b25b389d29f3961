// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Running GL work of start-up on a thread with a deep stack: the driver's shader compiler recurses
// once per term of an expression, and a long one (20,000 terms on one line, or macros that expand
// to 65,536) overflows the 8 MiB stack the entry runs on.
#ifndef GLACIMOR_PLATFORM_DEEP_STACK_H
#define GLACIMOR_PLATFORM_DEEP_STACK_H

#include "platform/startup.h"

#include <cstddef>

// The deep stack: address space, not memory, since only what the compiler touches is ever backed.
// 1 GiB holds a recursion of a million levels of the driver's compiler.
constexpr std::size_t DEEP_STACK_BYTES = std::size_t{1} << 30;

// The stack the thread asks for: DEEP_STACK_BYTES, or a 64th of an address-space limit (ulimit -v)
// when that is less. Mesa's software driver (LLVM) itself needs some 700 MB of address space: under
// an 800 MB limit a stack of a 16th already left it short, where the entry's stack alone did not.
std::size_t deepStackBytes();

// Runs `work` with the window's GL context current on a thread of its own, with a stack of
// deepStackBytes(), while the caller waits; the context is current on the
// caller's thread again afterwards. Returns the stack's size, or 0 when the work ran on the
// caller's own stack (no thread could be made, or the context could not move to it; always in a
// browser, which has no threads).
std::size_t runOnDeepStack(Screen& screen, void (*work)());

#endif
