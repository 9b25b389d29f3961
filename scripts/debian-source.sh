# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Debian's own source packages for the builds that compile a library Debian ships only for Linux
# (the Windows build's SDL 2 and GLEW, scripts/windows-deps.sh; the browser build's SDL 2,
# scripts/web-deps.sh). They are fetched with `apt-get source` from the Debian archive this machine
# already installs from, through an apt configuration private to the build folder: the machine's
# own sources, lists and caches stay untouched. Nothing prebuilt is downloaded; `apt-get source`
# applies Debian's patches as it unpacks.
#
# Sourced by those scripts, then:
#   debian_sources_init APT_DIR SRC_DIR BINARY...   the private configuration in APT_DIR, with the
#                                                   archives BINARY... are installed from; sources
#                                                   are unpacked into SRC_DIR
#   debian_version BINARY                           the version apt would install of BINARY
#   fetch_source NAME [VERSION]                     prints the folder NAME's source is unpacked in,
#                                                   fetching it first (VERSION pins it)

debian_who=$(basename "$0" .sh)

# The archive and suite that this machine installs a binary package from, as apt itself reports it.
archive_of() {
  apt-cache policy "$1" 2>/dev/null |
    awk '$1 ~ /^[0-9]+$/ && $NF == "Packages" && $2 ~ /^[a-z]+:/ { split($3, s, "/"); print $2, s[1]; exit }'
}

debian_version() {
  apt-cache policy "$1" 2>/dev/null | awk '$1 == "Candidate:" && $2 != "(none)" { print $2; exit }'
}

debian_sources_init() {
  apt_dir=$(realpath -m "$1")
  src_dir=$(realpath -m "$2")
  shift 2
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src_dir"
  local archives=() binary archive
  for binary in "$@"; do
    archive=$(archive_of "$binary")
    if [ -z "$archive" ]; then
      # The package lists may be missing on a new machine; read them once, then ask again.
      apt-get update -qq
      archive=$(archive_of "$binary")
    fi
    [ -n "$archive" ] || { echo "$debian_who: this machine's apt sources offer no $binary" >&2; exit 1; }
    archives+=("$archive")
  done
  printf 'deb-src %s main\n' "${archives[@]}" | sort -u >"$apt_dir/sources.list"
  apt_private=(
    -o "Dir::Etc::sourcelist=$apt_dir/sources.list"
    -o "Dir::Etc::sourceparts=-"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::Cache::pkgcache="
    -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root"
  )
}

# The folder apt-get source unpacks NAME (of VERSION, where given) into: NAME-UPSTREAM, the
# version without its epoch and Debian revision.
source_folder() {
  local pattern="$1-*"
  if [ -n "${2:-}" ]; then
    local upstream=${2#*:}
    pattern="$1-${upstream%-*}"
  fi
  find "$src_dir" -maxdepth 1 -mindepth 1 -type d -name "$pattern" | head -n 1
}

fetch_source() {
  local name=$1 version=${2:-} dir
  dir=$(source_folder "$name" "$version")
  if [ -z "$dir" ]; then
    if [ ! -s "$apt_dir/lists/.updated" ]; then
      apt-get "${apt_private[@]}" update -qq >&2
      # apt warns and still succeeds when it reads no source list at all: only lists that name
      # sources count as read.
      compgen -G "$apt_dir/lists/*Sources*" >/dev/null ||
        { echo "$debian_who: apt read no source lists from $(cat "$apt_dir/sources.list")" >&2; exit 1; }
      date >"$apt_dir/lists/.updated"
    fi
    local log=$apt_dir/source-$name.log
    (cd "$src_dir" && apt-get "${apt_private[@]}" source -qq "$name${version:+=$version}" >"$log" 2>&1) ||
      { tail -n 20 "$log" >&2; exit 1; }
    dir=$(source_folder "$name" "$version")
  fi
  [ -n "$dir" ] || { echo "$debian_who: apt-get source $name gave no folder" >&2; exit 1; }
  echo "$dir"
}
