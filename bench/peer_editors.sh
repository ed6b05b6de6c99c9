#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The notes window beside two other editors, in one run under one Xvfb with openbox: CPU
# seconds of the process (utime + stime from /proc/PID/stat) until it is idle, and its
# resident memory then (and at its peak), for plain-text notes of 10 and 60 MB (lines of 5 to
# 18 German words, bench/notes_text.py). For Kate and FeatherPad the figures include their own
# start; for tolvane they are F1 alone, the calculator already running with [Editor] FileName
# set to the file. Kate and FeatherPad are used when installed (apt-get install kate
# featherpad); the script says so when they are not. CI does not run it.
# Usage: bench/peer_editors.sh [SIZES_MB...]   (default: 10 60; needs Xvfb, openbox, xdotool)
# TOLVANE=path measures another build of the program, PEERS="kate" only some of the peers.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10 60)
for tool in Xvfb openbox xdotool python3; do
  command -v $tool >/dev/null || { echo "peer_editors: $tool missing" >&2; exit 2; }
done
tolvane=${TOLVANE:-$root/build/bin/tolvane}
[ -x "$tolvane" ] || { echo "peer_editors: $tolvane missing (build it first)" >&2; exit 2; }
peers=()
for peer in ${PEERS-kate featherpad}; do
  if command -v $peer >/dev/null; then peers+=($peer); else echo "peer_editors: $peer is not installed, left out (apt-get install $peer)"; fi
done

work=$(mktemp -d /tmp/tolvane-peers.XXXXXX)
display=:${PEER_DISPLAY:-$((300 + RANDOM % 600))}
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill $xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
kb() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status"; }
# Waits until the process has used at most two ticks of CPU in 1.5 s (or 600 s have passed).
wait_idle() {
  local pid=$1 last now quiet=0
  last=$(cpu "$pid")
  for ((i = 0; i < 6000; i++)); do
    sleep 0.1
    kill -0 "$pid" 2>/dev/null || { echo "peer_editors: process $pid ended" >&2; return 1; }
    now=$(cpu "$pid")
    if [ $((now - last)) -le 0 ]; then quiet=$((quiet + 1)); else quiet=0; fi
    [ $((now - last)) -le 2 ] || last=$now
    [ $quiet -ge 15 ] && return 0
  done
  echo "peer_editors: process $pid still busy after 600 s" >&2
}
# The first visible window of the process; a window that goes away while it is looked at
# (Kate's splash) makes xdotool fail, so it looks again.
window_of() {
  local found
  for ((i = 0; i < 600; i++)); do
    found=$(xdotool search --pid "$1" --onlyvisible --name . 2>/dev/null | head -1) || true
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.1
  done
  echo "peer_editors: no window of process $1 after 60 s" >&2
  return 1
}
report() {  # name size cpu-ticks pid
  printf '%-11s %3s MB  CPU %6.2f s  RSS %5d MB  peak %5d MB\n' "$1" "$2" \
    "$(echo "$3 / $ticks" | bc -l)" $(($(kb "$4" VmRSS) / 1024)) $(($(kb "$4" VmHWM) / 1024))
}

# tolvane in a folder of its own, so that its settings file is this script's.
mkdir -p "$work/bin"
cp "$tolvane" "$work/bin/tolvane"
cp "$root"/build/bin/PLANETS.* "$root"/build/bin/Vivar01.TTF "$work/bin/"
for size in "${sizes[@]}"; do
  text=$work/notes-$size.txt
  python3 "$root/bench/notes_text.py" "$size" "$text"
  echo "$size MB: $(wc -l <"$text") lines"
  printf '[Editor]\r\nWordWrap=1\r\nFileName=%s\r\n' "$text" >"$work/bin/tolvane.INI"
  "$work/bin/tolvane" 24031998 14 >/dev/null 2>&1 &
  pid=$!
  pids+=($pid)
  win=$(window_of $pid)
  wait_idle $pid
  before=$(cpu $pid)
  xdotool windowactivate --sync "$win" key F1
  wait_idle $pid
  report tolvane "$size" $(($(cpu $pid) - before)) $pid
  kill $pid
  for peer in "${peers[@]}"; do
    case $peer in
    kate) kate -n "$text" >/dev/null 2>&1 & ;;
    featherpad) featherpad "$text" >/dev/null 2>&1 & ;;
    esac
    pid=$!
    pids+=($pid)
    window_of $pid >/dev/null
    wait_idle $pid
    report "$peer" "$size" "$(cpu $pid)" $pid
    kill $pid
  done
done
