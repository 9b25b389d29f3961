#!/usr/bin/env bash
# The game needs a display to open its window; say so plainly instead of failing inside SDL.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "glacimor: no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it from a graphical session." >&2
  exit 1
fi
