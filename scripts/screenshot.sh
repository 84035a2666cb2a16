#!/usr/bin/env bash
# Takes a screenshot of Tarmel after a short conversation, under Xvfb:
#   scripts/screenshot.sh OUT.png [PHRASE...]
# The program runs on a fresh copy of the shipped defaults; the build in
# ./build is used (run ./test.sh first).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$root/docs/screenshot.png}")"; shift || true
[ $# -gt 0 ] || set -- "привет" "как дела?" "что ты умеешь?"
work="$(mktemp -d)"
display=":$((90 + RANDOM % 100))"
cp -R "$root"/data/. "$work"/
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display"
sleep 1
(cd "$work" && exec "$root/build/src/tarmel") >/dev/null 2>&1 &
app=$!
xdotool search --sync --name "ТАРМЕЛЬ" >/dev/null
sleep 2
for phrase in "$@"; do
  xdotool type --delay 40 "$phrase"
  sleep 0.3
  xdotool key Return
  sleep 1
done
mkdir -p "$(dirname "$out")"
import -window root "$out"
echo "$out"
