#!/usr/bin/env bash
# Two copies of Tarmel talk to each other through one exchange file.
#
#   tests/two_copies.sh [PROGRAM] [SECONDS] [SCREENSHOT.png]
#   TARMEL_FAST=1 tests/two_copies.sh ...
#
# Both copies run under one Xvfb, each in its own folder with its own copy of
# data/, and with HOME pointing at one shared folder, so that "D:\Txt.Dat" is
# the same file for both. Each is switched to Cpu\Cpu mode, reading by timer
# once a second, through its menus and editor window as a user would; the
# second copy half a period after the first, so that they take turns. The
# exchange file is seeded with a phrase, the copies talk for SECONDS (30), and
# both are ended through "Система" -> "Выход", which writes their logs.
#
# Checks: both logs show turns; every phrase one copy answered is a reply the
# other one wrote (or the seed); no turn read a broken file, and a watcher that
# reads the exchange file every few milliseconds never sees a half-written
# one; no error report appeared; both phrase bases stay well-formed (every
# line of Words.Dat holds "^").
#
# With TARMEL_FAST=1 the editor is left by "Отмена" with the entry 1, which
# reads as 1 ms: both copies then write and read as fast as their timers go,
# often answering their own replies, and only the checks for broken files,
# error reports and the bases apply. That is the hard case for the exchange.
#
# Exit status: 0 passed, 1 failed, 77 skipped (tools missing, or the exit
# command wrote no log, so the turns cannot be checked).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/src/tarmel}")"
seconds="${2:-30}"
screenshot="${3:-}"
fast="${TARMEL_FAST:-0}"
period_ms=1000
[ "$fast" = 1 ] && period_ms=15

for tool in Xvfb xdotool python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
[ -x "$program" ] || { echo "FAIL: no program at $program"; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tarmel-two-copies-XXXXXX")"
xvfb_pid=""
app_pids=()
cleanup() {
  for pid in "${app_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display nobody uses.
for _ in $(seq 50); do
  n=$((100 + RANDOM % 100))
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
export DISPLAY=":$n"
Xvfb "$DISPLAY" -screen 0 1400x900x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done

home="$work/home"
exchange="$home/Txt.Dat"
mkdir -p "$home"
# An empty first line ends a turn at once: the copies wait quietly until the
# seed arrives.
: >"$exchange"

now_ms() { date +%s%3N; }

# Clicks the first menu of a main window, so that keys can walk the menus.
open_menus() { # window-x
  xdotool mousemove "$(($1 + 32))" 8 click 1
  sleep 0.4
}

start_copy() { # name window-x
  local dir="$work/$1"
  mkdir -p "$dir"
  cp -R "$root/data/." "$dir/"
  # No start-up shake; no farewell lines either (their leaving animation
  # ends a copy through "Выход" before the time is up); an empty log holds
  # only this run's dialog.
  python3 - "$dir/Config.ini" "$dir/Base/Words.Dat" <<'EOF'
import sys
config, words = sys.argv[1], sys.argv[2]
lines = open(config, 'rb').read().split(b'\r\n')
lines[2] = b'Shake=NO'
open(config, 'wb').write(b'\r\n'.join(lines))
table = open(words, 'rb').read()
if not table.startswith(b'{\\rtf'):
    lines = [l[:-1] if l.endswith(b'@') else l for l in table.split(b'\r\n')]
    open(words, 'wb').write(b'\r\n'.join(lines))
EOF
  : >"$dir/Base/Log.Dralen"
  (cd "$dir" && HOME="$home" exec "$program") >"$work/$1.out" 2>&1 &
  app_pids+=($!)
  local window=""
  for _ in $(seq 100); do
    window="$(xdotool search --all --pid "${app_pids[-1]}" --onlyvisible --name 'ТАРМЕЛЬ' 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "FAIL: copy $1 showed no window"; cat "$work/$1.out"; exit 1; }
  xdotool windowmove "$window" "$2" 0
  sleep 1.5 # the base loads
}

# Editor: timer mode, entry 1 second, "Хорошо". The editor window sits at the
# centre of the screen; its trigger and OK buttons are at fixed places in it.
choose_timer_mode() { # window-x
  open_menus "$1"
  xdotool key Right Right Up Return # "Сервис" -> "Редактор"
  sleep 0.5
  local editor x y
  editor="$(xdotool search --onlyvisible --name '^Редактор$' | head -1)"
  [ -n "$editor" ] || { echo "FAIL: the editor did not open"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$editor")"
  x=$X y=$Y
  xdotool mousemove $((x + 26)) $((y + 121)) click 1 # "По таймеру  каждые:"
  sleep 0.2
  if [ "$fast" = 1 ]; then
    xdotool mousemove $((x + 202)) $((y + 161)) click 1 # "Отмена": 1 ms
  else
    xdotool mousemove $((x + 102)) $((y + 161)) click 1 # "Хорошо": 1000 ms
  fi
  sleep 0.4
  if xdotool search --onlyvisible --name '^Редактор$' >/dev/null 2>&1; then
    echo "FAIL: the editor did not close"
    exit 1
  fi
}

# Walks to "Сервис" -> "Режим" -> "C&pu\Cpu" and leaves it highlighted.
point_at_cpu_mode() { # window-x
  open_menus "$1"
  xdotool key Right Right Up Up Right Down
  sleep 0.3
}

start_copy a 0
start_copy b 700
choose_timer_mode 0
choose_timer_mode 700

point_at_cpu_mode 0
xdotool key Return
a_started=$(now_ms)
point_at_cpu_mode 700
# B's first tick half a period after A's, so that each reads the other's reply.
wait_ms=$(((a_started + period_ms / 2 - $(now_ms)) % period_ms))
[ "$wait_ms" -lt 0 ] && wait_ms=$((wait_ms + period_ms))
sleep "$(printf '0.%03d' "$wait_ms")"
xdotool key Return
sleep 0.3

seed="привет"
# The watcher reads the exchange file as often as it can while they talk.
python3 - "$exchange" "$seed" "$seconds" >"$work/watch.txt" <<'EOF'
import os, sys, time
path, seed, seconds = sys.argv[1], sys.argv[2].encode('cp1251'), float(sys.argv[3])
tmp = path + '.seed'
with open(tmp, 'wb') as f:
    f.write(seed + b'\r\n')
os.replace(tmp, path)
reads = broken = changes = 0
last = None
end = time.monotonic() + seconds
while time.monotonic() < end:
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except FileNotFoundError:
        broken += 1
        continue
    reads += 1
    if data.startswith(b'{\\rtf'):
        depth, i, closed = 0, 0, False
        while i < len(data):
            c = data[i]
            if c == 0x5C:  # backslash: the next character is escaped or a word
                i += 2
                continue
            if c == 0x7B:
                depth += 1
            elif c == 0x7D:
                depth -= 1
                closed = depth == 0 and not data[i + 1:].strip()
            i += 1
        ok = closed and b'\\par' in data
    else:
        ok = data == seed + b'\r\n'
    if not ok:
        broken += 1
    if data != last:
        changes += 1
        last = data
    time.sleep(0.002)
# An empty file ends the talk: a turn on an empty first line does nothing, so
# neither copy goes on alone (answering its own replies) while they are ended
# one after the other. Written a few times, in case a turn was under way.
for _ in range(3):
    open(tmp, 'wb').close()
    os.replace(tmp, path)
    time.sleep(0.6)
print(reads, broken, changes)
EOF

# Anything on screen that is not one of the two main windows is an error report.
boxes="$(xdotool search --onlyvisible --name '^Тармель$' 2>/dev/null | wc -l || true)"
for i in 0 1; do
  kill -0 "${app_pids[$i]}" 2>/dev/null || { echo "FAIL: a copy ended during the talk"; exit 1; }
done
[ -n "$screenshot" ] && command -v import >/dev/null && import -window root "$screenshot"

# "Система" -> "Выход" in both: the log is written and the program ends.
for x in 0 700; do
  open_menus "$x"
  xdotool key Right Left Up Return
  sleep 0.5
done
exited=1
for i in 0 1; do
  for _ in $(seq 50); do
    kill -0 "${app_pids[$i]}" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "${app_pids[$i]}" 2>/dev/null && exited=0
done

python3 - "$work" "$seed" "$exited" "$boxes" "$seconds" "$fast" <<'EOF'
import re, sys
work, seed, exited, boxes, seconds = sys.argv[1], sys.argv[2], sys.argv[3] == '1', int(sys.argv[4]), float(sys.argv[5])
taking_turns = sys.argv[6] != '1'

def rtf_lines(data):
    """Paragraphs of an RTF document as the program writes them, or plain lines."""
    if not data.startswith(b'{\\rtf'):
        return [l.decode('cp1251') for l in re.split(rb'\r\n|\r|\n', data) if l != b''] if data else []
    out, line, i, depth, skip = [], bytearray(), 0, 0, None
    while i < len(data):
        c = data[i:i + 1]
        if c == b'{':
            depth += 1
            i += 1
        elif c == b'}':
            if skip is not None and depth == skip:
                skip = None
            depth -= 1
            i += 1
        elif c == b'\\':
            m = re.match(rb"\\('([0-9a-fA-F]{2})|[\\{}]|([a-z]+)(-?\d+)? ?|.)", data[i:], re.S)
            tok = m.group(0)
            i += len(tok)
            word = m.group(3)
            if skip is not None:
                continue
            if m.group(2):
                line.append(int(m.group(2), 16))
            elif tok[1:2] in (b'\\', b'{', b'}'):
                line += tok[1:2]
            elif word == b'par':
                out.append(line.decode('cp1251'))
                line = bytearray()
            elif word in (b'fonttbl', b'colortbl', b'stylesheet', b'info') or tok == b'\\*':
                skip = depth
        elif c in (b'\r', b'\n'):
            i += 1
        else:
            if skip is None:
                line += c
            i += 1
    if line:
        out.append(line.decode('cp1251'))
    return out

def normalise(p):
    """The turn's own normalisation: first Russian letter up, end punctuation."""
    if not p:
        return p
    if 'а' <= p[0] <= 'я' or p[0] == 'ё':
        p = p[0].upper() + p[1:]
    if p[-1] == ',':
        p = p[:-1] + '.'
    elif p[-1] not in '!?.':
        p += '.'
    return p

problems = []
reads, broken_seen, changes = map(int, open(f'{work}/watch.txt').read().split())
print(f'watcher: {reads} reads of the exchange file, {changes} contents seen, {broken_seen} broken')
if broken_seen:
    problems.append(f'the watcher read {broken_seen} broken exchange files')
if changes < seconds / 2:
    problems.append(f'the exchange file changed only {changes} times')
if boxes:
    problems.append(f'{boxes} error report(s) on screen')

for name in 'ab':
    out = open(f'{work}/{name}.out', encoding='utf-8', errors='replace').read()
    reports = [l for l in out.splitlines() if l.startswith('tarmel:')]
    if reports:
        problems.append(f'copy {name} reported: ' + ' | '.join(reports))
    words = rtf_lines(open(f'{work}/{name}/Base/Words.Dat', 'rb').read())
    bad = [n for n, l in enumerate(words) if '^' not in l]
    if not words or bad:
        problems.append(f'copy {name}: Words.Dat lines without "^": {bad[:5]}')

turns = {}
if exited:
    for name in 'ab':
        log = rtf_lines(open(f'{work}/{name}/Base/Log.Dralen', 'rb').read())
        said = [m.groups() for m in (re.match(r'^\[[^\]]*\] (USER|CPU):     (.*)$', l) for l in log) if m]
        phrases, replies = [], []
        for k, (who, text) in enumerate(said):
            if who == 'USER':
                phrases.append(text)
                if k + 1 < len(said) and said[k + 1][0] == 'CPU':
                    replies.append(said[k + 1][1])
        turns[name] = (phrases, replies)
    for name, other in (('a', 'b'), ('b', 'a')):
        phrases, replies = turns[name]
        theirs = {normalise(r) for r in turns[other][1]} | {normalise(seed)}
        strangers = [p for p in phrases if p not in theirs]
        broken = [p for p in phrases if p.startswith('{\\rtf') or '\\par' in p or '\\\'' in p]
        print(f'copy {name}: {len(phrases)} turns, {len(replies)} replies, '
              f'{len(strangers)} phrases not written by the other copy, {len(broken)} broken reads')
        if len(phrases) < seconds / 3:
            problems.append(f'copy {name} took only {len(phrases)} turns')
        if strangers and taking_turns:
            problems.append(f'copy {name} answered phrases the other did not write: {strangers[:3]}')
        if broken:
            problems.append(f'copy {name} answered broken files: {broken[:3]}')
        if len(replies) != len(phrases):
            problems.append(f'copy {name}: {len(phrases)} phrases but {len(replies)} replies')

for p in problems:
    print('FAIL:', p)
if problems:
    sys.exit(1)
if not exited:
    print('SKIP: "Выход" did not end the programs, so no log was written; turns not checked')
    sys.exit(77)
print('PASS')
EOF
