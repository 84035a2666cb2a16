#!/usr/bin/env bash
# Drives the real program as a user would, under Xvfb with xdotool, on a small
# base of its own, and checks what it wrote to disk.
#   run.sh TARMEL_BINARY PRINT_LINES_BINARY
# Scenario 1: a conversation in Cyrillic, the layout fix (Ctrl+S), word
# completion (F5), a new dialog, undo (Ctrl+Z) and the exit from the menu.
# Scenario 2: a farewell answer and the leaving animation close the window.
set -euo pipefail
binary="$(realpath "$1")"
print_lines="$(realpath "$2")"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
display=":$((200 + RANDOM % 300))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY="$display"
export TARMEL_NO_SOUND=1
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

fail() { echo "e2e: FAILED: $*"; exit 1; }

prepare() {
  rm -rf "$work/run" && mkdir -p "$work/run"
  cp -R "$root/data/Sound" "$root/data/Images" "$root/data/ReadMe.Txt" "$work/run/"
  # The shake off, so that typing starts at once.
  sed '3s/.*/Shake=NO/' "$root/data/Config.ini" > "$work/run/Config.ini"
  python3 "$here/make_base.py" "$work/run"
}

start() {
  (cd "$work/run" && exec "$binary") >"$work/app.log" 2>&1 &
  app=$!
  window="$(xdotool search --sync --name 'ТАРМЕЛЬ' | head -1)"
  sleep 1.5
}

say() { xdotool type --delay 30 "$1"; sleep 0.2; xdotool key Return; sleep 0.5; }
# Opens a menu of the menu bar by its title's place and picks its n-th item.
menu() {
  local x="$1" downs="$2"
  xdotool mousemove --window "$window" "$x" 10 click 1
  sleep 0.4
  for _ in $(seq "$downs"); do xdotool key Down; sleep 0.1; done
  xdotool key Return
  sleep 0.5
}
log_lines() { "$print_lines" "$work/run/Base/Log.Dralen"; }
wait_exit() {
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || { app=""; return 0; }; sleep 0.1; done
  fail "the program did not end"
}

# --- Scenario 1 ---
prepare
start
menu 30 1                        # Система → Новый диалог: the log starts afresh
sleep 0.5
say "привет"
xdotool type --delay 30 "ghbdtn"; sleep 0.2
xdotool key ctrl+s; sleep 0.3    # «ghbdtn» becomes «привет»: a repeat
xdotool key Return; sleep 0.5
menu 155 2                       # Сервис → Speed Word
xdotool type --delay 30 "привет"; sleep 0.5
xdotool key F5; sleep 0.3        # completes «приветливый»
xdotool key Return; sleep 0.5
say "мой кот любит рыбу"
sleep 2.5                        # lets a remark after that turn come first
say "как дела"
xdotool key ctrl+z; sleep 0.5    # takes back the bot's answer in the log
menu 30 3                        # Система → Выход
wait_exit

log="$(log_lines)"
expect_log() { echo "$log" | grep -qx "\[[^]]*\] $1" || fail "not in the log: $1"; }
expect_log "USER:     Привет\."
expect_log "CPU:     Здравствуй, человек!"
expect_log "CPU:     Ты это уже говорил\."
expect_log "USER:     Приветливый\."
expect_log "USER:     Мой кот любит рыбу\."
expect_log "USER:     Как дела\."
[ "$(echo "$log" | grep -c 'USER:     Привет\.$')" -eq 2 ] || fail "the layout fix did not send «Привет.»"
echo "$log" | grep -q "Хорошо, спасибо" && fail "the undone answer is in the log"
echo "$log" | grep -q "Начало диалога:" && fail "a new dialog must drop the header"
echo "$log" | grep -q "^Конец диалога:           Дата - " || fail "no footer"
echo "$log" | tail -1 | grep -qx '=====================================================' || fail "no separator"
words="$("$print_lines" "$work/run/Base/Words.Dat")"
echo "$words" | grep -q "^МОЙ КОТ ЛЮБИТ РЫБУ\.\^" || fail "the new phrase was not learned as a key"
w2="$("$print_lines" "$work/run/Base/W2.Dat")"
echo "$w2" | grep -qx "Мой кот любит рыбу\." || fail "the reply list did not learn the phrase"
echo "e2e scenario 1 (conversation, Ctrl+S, F5, new dialog, undo, exit): ok"

# --- Scenario 2 ---
prepare
start
say "до свидания"
wait_exit
log="$(log_lines)"
echo "$log" | grep -q "Начало диалога:           Дата - " || fail "no header in scenario 2"
echo "$log" | grep -q "CPU:     До встречи!$" || fail "no farewell answer"
echo "$log" | tail -1 | grep -qx '=====================================================' || fail "no separator"
echo "e2e scenario 2 (farewell and leaving animation): ok"
echo "e2e: 2 passed, 0 failed"
