# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What the browser checks share (sourced): a page server on this machine only.

# serve DIR LOG: serves DIR on a free port of 127.0.0.1 until the script ends; sets `port`. The
# server says its port on its first line, read from LOG.
serve() {
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$1" >"$2" 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null' EXIT
  port=
  for _ in $(seq 100); do
    port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\).*/\1/p' "$2")
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "$(basename "$0"): the page server did not start: $(cat "$2")" >&2
  exit 1
}
