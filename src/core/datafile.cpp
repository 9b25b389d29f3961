// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening data files safely: stat before open, non-blocking open and fstat where POSIX has them.
#include "core/datafile.h"

#include "core/printable.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <direct.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int statPath(const char* path, FileStatus& status) { return _stat64(path, &status); }
#else
using FileStatus = struct stat;
int statPath(const char* path, FileStatus& status) { return ::stat(path, &status); }
#endif

// What lies at a path that is not a regular file, in the words of the refusal.
const char* notAFile(unsigned mode)
{
    if ((mode & S_IFMT) == S_IFDIR)
        return "it is a folder, not a file";
#ifdef S_IFIFO
    if ((mode & S_IFMT) == S_IFIFO)
        return "it is a FIFO, not a file";
#endif
#ifdef S_IFCHR
    if ((mode & S_IFMT) == S_IFCHR)
        return "it is a device, not a file";
#endif
#ifdef S_IFBLK
    if ((mode & S_IFMT) == S_IFBLK)
        return "it is a device, not a file";
#endif
    return "it is not a regular file";
}

// Refuses anything but a regular file of at most maxBytes; sets `size`.
bool acceptable(const FileStatus& status, std::uint64_t maxBytes, std::uint64_t& size, std::string& why)
{
    if ((status.st_mode & S_IFMT) != S_IFREG) {
        why = notAFile(static_cast<unsigned>(status.st_mode));
        return false;
    }
    size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxBytes) {
        why = "it is " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) + " allowed";
        return false;
    }
    return true;
}

// Why a path could not be examined or opened, from errno: missing, or the system's reason.
std::string unreadable()
{
    if (errno == ENOENT)
        return "the file is missing";
    return std::string("it cannot be read (") + std::strerror(errno) + ")";
}

} // namespace

DataFile::~DataFile()
{
    if (stream)
        std::fclose(stream);
}

bool DataFile::open(const std::string& path, std::uint64_t maxBytes, std::string& why)
{
    if (stream) {
        std::fclose(stream);
        stream = nullptr;
    }
    bytes = 0;
    // Examined first, so that a device is never opened (opening some has effects of its own).
    FileStatus status{};
    if (statPath(path.c_str(), status) != 0) {
        why = unreadable();
        return false;
    }
    if (!acceptable(status, maxBytes, bytes, why))
        return false;
#ifdef _WIN32
    stream = std::fopen(path.c_str(), "rb");
    if (!stream) {
        why = unreadable();
        return false;
    }
#else
    // What was examined may have been replaced since: open without waiting for a writer, and
    // examine what was opened before reading from it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = unreadable();
        return false;
    }
    FileStatus opened{};
    if (::fstat(fd, &opened) != 0) {
        why = unreadable();
        ::close(fd);
        return false;
    }
    if (!acceptable(opened, maxBytes, bytes, why)) {
        ::close(fd);
        return false;
    }
    // A regular file never waits; reads go on as ordinary blocking reads.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    stream = ::fdopen(fd, "rb");
    if (!stream) {
        why = unreadable();
        ::close(fd);
        return false;
    }
#endif
    return true;
}

std::size_t DataFile::read(void* into, std::size_t count)
{
    return stream ? std::fread(into, 1, count, stream) : 0;
}

bool DataFile::seek(std::uint64_t offset)
{
    if (!stream || offset > static_cast<std::uint64_t>(INT64_MAX))
        return false;
#ifdef _WIN32
    return _fseeki64(stream, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool readDataFile(const std::string& path, std::uint64_t maxBytes, std::vector<char>& text, std::string& why)
{
    DataFile file;
    if (!file.open(path, maxBytes, why))
        return false;
    // The size is the file system's, bounded by maxBytes, never a seek's guess.
    text.assign(static_cast<std::size_t>(file.size()), '\0');
    if (file.read(text.data(), text.size()) != text.size()) {
        why = "it could not be read whole";
        text.clear();
        return false;
    }
    return true;
}

namespace {

// What keeps the game from opening files in the data folder at `path`: nothing (empty), "missing",
// or the system's reason why it cannot be read.
std::string folderFault(const char* path)
{
    FileStatus status{};
    if (statPath(path, status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "missing" : std::strerror(errno);
    if ((status.st_mode & S_IFMT) != S_IFDIR)
        return std::strerror(ENOTDIR);
#ifndef _WIN32
    // There, but not to be entered (its permissions): no file in it can be opened.
    if (::access(path, X_OK) != 0)
        return std::strerror(errno);
#endif
    return {};
}

} // namespace

std::string gameDataFault()
{
    const char* const names[2] = {"textures/", "shader/"};
    const std::string faults[2] = {folderFault("textures"), folderFault("shader")};
    if (faults[0].empty() && faults[1].empty())
        return {};
    // What befell one folder, or both alike.
    const auto says = [](const std::string& fault, bool both) {
        if (fault == "missing")
            return std::string(both ? "are" : "is") + " not there";
        return "cannot be read (" + fault + ")";
    };
    std::string which;
    if (faults[0] == faults[1]) {
        which = "its textures/ and shader/ folders " + says(faults[0], true);
    } else {
        for (int i = 0; i < 2; ++i) {
            if (faults[i].empty())
                continue;
            which += which.empty() ? "its " : " and its ";
            which += std::string(names[i]) + " folder " + says(faults[i], false);
        }
    }
    const std::string where = printableLine(workingFolder());
    const auto missingOrFine = [](const std::string& fault) { return fault.empty() || fault == "missing"; };
    if (missingOrFine(faults[0]) && missingOrFine(faults[1]))
        return "no game data in " + where + ": " + which +
               "; start the game with \"make run\" in its repository, or with the installed launcher \"glacimor\"";
    return "cannot read the game data in " + where + ": " + which;
}

std::string workingFolder()
{
    char buffer[4096];
#ifdef _WIN32
    if (_getcwd(buffer, sizeof buffer))
        return buffer;
#else
    if (::getcwd(buffer, sizeof buffer))
        return buffer;
#endif
    return "the working folder";
}
