// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// stdout.txt and stderr.txt beside the Windows program, as SDL 1.2's entry wrapper made them:
// SDL 2's no longer does, and a player would otherwise never see why the game did not start.
#include "platform/messages.h"

#ifdef _WIN32

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Kept {
    std::FILE* stream = nullptr;
    std::wstring path;
};
Kept kept[2];

// The file `name` in the program's own folder (the working folder if that cannot be told).
std::wstring besideTheProgram(const wchar_t* name)
{
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return name;
    const std::wstring path(program, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

void removeEmptyFiles()
{
    for (Kept& file : kept) {
        if (!file.stream)
            continue;
        std::fflush(file.stream);
        if (std::ftell(file.stream) == 0 && std::fclose(file.stream) == 0)
            _wremove(file.path.c_str());
    }
}

void keep(Kept& file, DWORD handle, std::FILE* stream, const wchar_t* name)
{
    const HANDLE given = GetStdHandle(handle);
    if (given != nullptr && given != INVALID_HANDLE_VALUE)
        return;
    file.path = besideTheProgram(name);
    if (_wfreopen(file.path.c_str(), L"w", stream)) {
        file.stream = stream;
        return;
    }
    // The C runtime refuses to reopen a stream that never had a file (as SDL 1.2 found on NT):
    // the stream takes over a new one instead.
    if (std::FILE* opened = _wfopen(file.path.c_str(), L"w")) {
        *stream = *opened;
        file.stream = stream;
    }
}

} // namespace

void keepMessages()
{
    keep(kept[0], STD_OUTPUT_HANDLE, stdout, L"stdout.txt");
    keep(kept[1], STD_ERROR_HANDLE, stderr, L"stderr.txt");
    if (kept[1].stream)
        std::setvbuf(stderr, nullptr, _IONBF, 0);
    if (kept[0].stream || kept[1].stream)
        std::atexit(removeEmptyFiles);
}

#else

void keepMessages() {}

#endif
