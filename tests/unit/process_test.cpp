// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The process the game starts in, as a desktop launcher or a service manager may hand it over:
// closed standard streams end up on /dev/null, a pipe without a reader fails a write instead of
// killing the game, and running out of memory ends it with one line. Each case runs in a child
// process of its own (a death test), since it closes the streams and changes signals.
#include "core/process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <new>

namespace {

bool isDevNull(int fd)
{
    struct stat opened{}, null{};
    return ::fstat(fd, &opened) == 0 && ::stat("/dev/null", &null) == 0 && S_ISCHR(opened.st_mode) &&
           opened.st_rdev == null.st_rdev;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Exits with the number of the first check that fails, 0 when all hold.
void closeInputAndErrorThenPrepare()
{
    struct stat output{};
    if (::fstat(1, &output) != 0)
        std::_Exit(10);
    ::close(0);
    ::close(2);
    prepareProcess();
    if (!isDevNull(0) || !isDevNull(2))
        std::_Exit(1);
    // The open stream is left as it was.
    struct stat after{};
    if (::fstat(1, &after) != 0 || !sameFile(output, after))
        std::_Exit(2);
    // What the game opens next (the X connection) gets a number of its own.
    const int next = ::open("/dev/null", O_RDONLY);
    if (next <= 2)
        std::_Exit(3);
    std::_Exit(0);
}

void writeIntoAPipeWithoutReader()
{
    prepareProcess();
    int ends[2];
    if (::pipe(ends) != 0)
        std::_Exit(10);
    ::close(ends[0]);
    // Killed by SIGPIPE here without the preparation.
    const bool failed = ::write(ends[1], "x", 1) == -1 && errno == EPIPE;
    std::_Exit(failed ? 0 : 1);
}

} // namespace

TEST(ProcessDeathTest, ClosedStandardStreamsAreOpenedOnDevNull)
{
    EXPECT_EXIT(closeInputAndErrorThenPrepare(), testing::ExitedWithCode(0), "");
    // With every stream closed, each one comes back in its place.
    EXPECT_EXIT(
        {
            ::close(0);
            ::close(1);
            ::close(2);
            prepareProcess();
            std::_Exit(isDevNull(0) && isDevNull(1) && isDevNull(2) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(ProcessDeathTest, APipeWithoutReaderFailsTheWriteInsteadOfKilling)
{
    EXPECT_EXIT(writeIntoAPipeWithoutReader(), testing::ExitedWithCode(0), "");
}

TEST(ProcessDeathTest, RunningOutOfMemoryEndsWithOneLineAndStatusOne)
{
    EXPECT_EXIT(
        {
            prepareProcess();
            std::get_new_handler()();
        },
        testing::ExitedWithCode(1), "^glacimor: out of memory; the game cannot go on\n$");
}
