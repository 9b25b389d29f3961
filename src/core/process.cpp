// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Standard streams, broken pipes and memory: made safe once, at the start of the entry.
#include "core/process.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
// Opens /dev/null on fd when fd is closed. Descriptors are given out lowest first, so with the
// lower ones open the new one is fd itself; otherwise it is moved there.
void keepOpen(int fd)
{
    if (::fcntl(fd, F_GETFD) != -1)
        return;
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0 || null == fd)
        return;
    ::dup2(null, fd);
    ::close(null);
}
#endif

} // namespace

void outOfMemory()
{
    std::fputs("glacimor: out of memory; the game cannot go on\n", stderr);
    std::_Exit(1);
}

void prepareProcess()
{
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd)
        keepOpen(fd);
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::set_new_handler(outOfMemory);
}
