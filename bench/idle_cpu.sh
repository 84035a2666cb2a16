#!/usr/bin/env bash
# The program's cost while it sits idle: starts the real program under Xvfb on
# a fresh copy of the shipped data, waits for the start-up to settle, then
# measures its CPU time (user + system, all threads) over a stretch of idle
# time and prints it as a percentage of one core.
#   bench/idle_cpu.sh [SECONDS]        (default 60)
# The build in ./build is used; TARMEL_BINARY names another one, and
# TARMEL_DATA another folder to copy instead of the shipped data.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
binary="$(realpath "${TARMEL_BINARY:-$root/build/src/tarmel}")"
[ -x "$binary" ] || { echo "no program at $binary (build it first)" >&2; exit 1; }

work="$(mktemp -d)"
display=":$((100 + RANDOM % 100))"
cp -R "${TARMEL_DATA:-$root/data}"/. "$work"/
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sleep 1

(cd "$work" && DISPLAY="$display" exec "$binary") >/dev/null 2>&1 &
app=$!
sleep 5 # the start-up (base load, shake, statistics) is not idle time

# utime + stime of the process in clock ticks (fields 14 and 15 of
# /proc/PID/stat, counted after the command name in parentheses).
cpu_ticks() {
    local stat
    stat="$(cat "/proc/$app/stat")"
    stat="${stat##*) }"
    # shellcheck disable=SC2086
    set -- $stat
    echo $(( ${12} + ${13} ))
}

hz="$(getconf CLK_TCK)"
start_ticks="$(cpu_ticks)"
start_ns="$(date +%s%N)"
sleep "$seconds"
kill -0 "$app" 2>/dev/null || { echo "the program ended during the measurement" >&2; exit 1; }
end_ticks="$(cpu_ticks)"
end_ns="$(date +%s%N)"

awk -v ticks="$((end_ticks - start_ticks))" -v hz="$hz" \
    -v ns="$((end_ns - start_ns))" -v s="$seconds" 'BEGIN {
    cpu = ticks / hz; wall = ns / 1e9;
    printf "idle for %.1f s: %.2f s of CPU = %.2f %% of one core\n", wall, cpu, 100 * cpu / wall
}'
