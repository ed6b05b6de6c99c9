#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time of the calculator window: from process start until the first results are
# shown, measured under Xvfb. Started without arguments the window runs its clock, and its
# caption ends in "UHR" only after the first activation has calculated and the first tick
# has shown its results; the script waits for that caption.
# Usage: bench/startup_time.sh [RUNS]   (needs xvfb and xdotool: apt-get install xvfb xdotool)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "startup_time: $tool missing (apt-get install xvfb xdotool)" >&2; exit 2; }
done
display=:$((300 + RANDOM % 600))
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
total=0
ok=0
failed=0
for ((i = 1; i <= runs; i++)); do
  start=$(date +%s%N)
  DISPLAY=$display "$root/build/bin/tolvane" >/dev/null 2>&1 &
  pid=$!
  # xdotool's own --sync waits in half-second steps; poll more finely. A start counts as
  # failed when the program ends before its caption appears or takes over 10 s.
  shown=no
  for ((t = 0; t < 2000; t++)); do
    if DISPLAY=$display xdotool search --name 'UHR$' >/dev/null 2>&1; then shown=yes; break; fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.005
  done
  end=$(date +%s%N)
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  if [ $shown = no ]; then
    failed=$((failed + 1))
    echo "run $i: failed (no results shown)"
    continue
  fi
  ms=$(( (end - start) / 1000000 ))
  total=$((total + ms))
  ok=$((ok + 1))
  echo "run $i: ${ms} ms"
done
if [ $ok -gt 0 ]; then
  echo "mean: $((total / ok)) ms over $ok runs; $failed of $runs starts failed"
else
  echo "no start succeeded; $failed of $runs starts failed"
fi
[ $failed -eq 0 ]
