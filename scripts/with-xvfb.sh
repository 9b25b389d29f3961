#!/usr/bin/env bash
# Runs a command on a private virtual X display (Xvfb, Mesa's software renderer) and stops the display afterwards.
set -u
display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "with-xvfb: no free display number" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x720x24 +extension GLX -nolisten tcp -noreset >/tmp/xvfb-${display#:}.log 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
for _ in $(seq 1 100); do
  DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

export DISPLAY="$display"
export LIBGL_ALWAYS_SOFTWARE=1
"$@"
