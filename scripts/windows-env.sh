# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The setting shared by the Windows build scripts, sourced by each of them with the build folder
# as its argument: the repository root as the working folder, the build folder (default
# build/windows), the MinGW-w64 target and the number of parallel jobs.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
build=$(realpath -m "${1:-build/windows}")
host=x86_64-w64-mingw32
jobs=$(nproc 2>/dev/null || echo 2)
