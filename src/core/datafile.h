// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's data files (shader sources, textures) are opened here and only here, without trusting
// what lies at their paths: a folder, a FIFO or a device where a file should be is refused before
// anything is read from it (a FIFO would block the start-up forever), and so is a file larger than
// its reader allows. Also whether the data folders can be read.
#ifndef GLACIMOR_CORE_DATAFILE_H
#define GLACIMOR_CORE_DATAFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// An open data file, read from the start; closed when it goes.
class DataFile {
public:
    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens `path` if it is a regular file of at most maxBytes bytes. Refused, it returns false and
    // says why in `why`, in words that follow "cannot use <path>: ". Never blocks: the path is
    // examined before it is opened, and where the system allows (not on Windows, which has no FIFOs
    // among files) it is opened without waiting and what was opened is examined again.
    bool open(const std::string& path, std::uint64_t maxBytes, std::string& why);

    std::uint64_t size() const { return bytes; } // as the file system gave it when opened

    // Reads up to `count` bytes into `into`; returns how many were read (fewer at the end).
    std::size_t read(void* into, std::size_t count);

    // Goes to byte `offset` from the file's start without reading what lies before it (a sparse
    // file's gap costs nothing). False when the file cannot go there.
    bool seek(std::uint64_t offset);

private:
    std::FILE* stream = nullptr;
    std::uint64_t bytes = 0;
};

// The whole file at `path` into `text`, if DataFile::open accepts it with maxBytes. A file that
// yields fewer bytes than its size is refused too (it changed, or reading failed).
bool readDataFile(const std::string& path, std::uint64_t maxBytes, std::vector<char>& text, std::string& why);

// Whether the working folder holds the game's data folders, textures/ and shader/, and the game may
// open files in them: empty when it does. Otherwise the message, without the program's name, that
// says where the game looked and which folder is not there (and then how to start the game) or
// cannot be read (and the system's reason: its permissions, not a folder).
std::string gameDataFault();

// The working folder, for messages; "the working folder" when the system does not say.
std::string workingFolder();

#endif
