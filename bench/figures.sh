#!/usr/bin/env bash
# Figures of the whole program, with the shipped base and with a generated
# learned (RTF) base of 100,000 table lines:
#   - time from start to the main window shown (median of 5 starts),
#   - peak memory (VmHWM) after start and five turns,
#   - CPU use while idle for IDLE_SECONDS (60 by default), in % of one core
#     (bench/idle_cpu.sh),
#   - the turn figures of tarmel-bench.
#   bench/figures.sh [IDLE_SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
idle_seconds="${1:-60}"
build="$root/build-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARMEL_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
binary="$build/src/tarmel"
work="$(mktemp -d)"
app=""
xvfb=""
trap '[ -n "$app" ] && kill $app 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export TARMEL_NO_SOUND=1

# A display of its own for each base.
start_display() {
  export DISPLAY=":$((500 + RANDOM % 200))"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  exit 1
}
stop_display() { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; xvfb=""; }

# Starts the program; started_ms is the time from the start of the process to
# its window being viewable.
start_time() {
  local folder="$1" t0 t1
  t0="$(date +%s%N)"
  (cd "$folder" && exec "$binary") >/dev/null 2>"$work/stderr" &
  app=$!
  until xdotool search --onlyvisible --name 'ТАРМЕЛЬ' >/dev/null 2>&1; do
    kill -0 "$app" 2>/dev/null || { echo "the program ended at start:" >&2; cat "$work/stderr" >&2; exit 1; }
    sleep 0.005
  done
  t1="$(date +%s%N)"
  started_ms=$(( (t1 - t0) / 1000000 ))
}

stop_app() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; app=""; }

figures_for() {
  local label="$1" folder="$2" times=() median
  start_display
  for _ in 1 2 3 4 5; do
    start_time "$folder"
    times+=("$started_ms")
    stop_app
  done
  median="$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)"
  start_time "$folder"
  sleep 2
  for phrase in "привет" "как дела?" "что нового" "расскажи о себе" "спасибо"; do
    xdotool type --delay 20 "$phrase"; xdotool key Return; sleep 0.5
  done
  local hwm
  hwm="$(awk '/VmHWM/ {print $2}' "/proc/$app/status")"
  stop_app
  stop_display
  printf '%-34s start %5d ms (median of 5: %s)   peak memory %6.1f MB\n' \
    "$label" "$median" "${times[*]}" "$(awk -v k="$hwm" 'BEGIN {print k / 1024}')"
  printf '%-34s ' "$label"
  TARMEL_BINARY="$binary" TARMEL_DATA="$folder" "$root/bench/idle_cpu.sh" "$idle_seconds"
}

# The shipped base.
mkdir -p "$work/shipped"
cp -R "$root"/data/. "$work/shipped"/
figures_for "shipped base" "$work/shipped"

# A learned base of 100,000 table lines, written as the program writes it (RTF).
mkdir -p "$work/big"
cp -R "$root"/data/. "$work/big"/
python3 "$root/scripts/make_bench_base.py" "$work/big" 100000 >/dev/null
python3 - "$work/big/Base/Words.Dat" <<'PY'
import sys
path = sys.argv[1]
lines = open(path, "rb").read().decode("cp1251").splitlines()
def esc(line):
    out = []
    for b in line.encode("cp1251"):
        c = chr(b)
        if c in "\\{}":
            out.append("\\" + c)
        elif b < 0x20 or b >= 0x80:
            out.append("\\'%02x" % b)
        else:
            out.append(c)
    return "".join(out)
rtf = ("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 MS Sans Serif;}}\r\n"
       "\\pard\\f0\\fs16 " + "".join(esc(l) + "\\par\r\n" for l in lines) + "}\r\n")
open(path, "wb").write(rtf.encode("ascii"))
PY
figures_for "learned base, 100,000 lines (RTF)" "$work/big"

# Turns and file speeds.
"$build/bench/tarmel-bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_filter='_median|.*' 2>/dev/null | grep -E '_median|^Benchmark|^---' || true
