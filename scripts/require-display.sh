#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The game needs a display to open its window; say so plainly instead of failing inside SDL.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "glacimor: no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it from a graphical session." >&2
  echo "glacimor: without a screen, 'make demo' plays a scripted minute on a virtual display and records it in build/demo/ (README.md, \"Without a screen\")." >&2
  exit 1
fi
