#!/usr/bin/env bash
# Fault run: the real program, in a virtual display, is killed (SIGKILL)
# with unsaved edits; started again it must offer them back, and the page
# saved from the recovered text must hold them byte for byte.
#   fault_crash_recovery.sh PROGRAM     (full form only: QUILLMERE_FAULTS=full)
set -euo pipefail
prog=$(readlink -f "$1")
name="crash with unsaved edits and recovery"

report() {
  local line="fault run: $name: $*"
  echo "$line"
  if [ -n "${QUILLMERE_FAULTS_REPORT:-}" ]; then echo "$line" >>"$QUILLMERE_FAULTS_REPORT"; fi
}
if [ "${QUILLMERE_FAULTS:-}" != full ]; then
  echo "skipped: runs in the full form only (make faults)"
  exit 77
fi
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    report "skipped: $tool is missing (make faults installs it)"
    exit 77
  fi
done
if [ -z "${QUILLMERE_FAULT_DISPLAY:-}" ]; then
  exec env QUILLMERE_FAULT_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

unset QT_QPA_PLATFORM
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
site=$work/site
page=$site/page.html
recovery=$XDG_STATE_HOME/quillmere
mkdir -p "$site" "$XDG_CONFIG_HOME/quillmere"
printf '<p>first line</p>\r\n<p>second line</p>\r\n' >"$page"
cp "$page" "$work/old.html"
printf '[Settings]\r\nWorkingDir=%s/\r\nAutoConversion=2\r\nTop=10\r\nLeft=20\r\nHeight=534\r\nWidth=800\r\n' \
  "$site" >"$XDG_CONFIG_HOME/quillmere/quillmere.ini"
# What the user types at the start of the page, and so the page wanted.
typed='<h1>Typed before the crash: caf'$'\xc3\xa9'' & 50 '$'\xe2\x82\xac''</h1>'
printf '%s\r\n' "$typed" >"$work/expected.html"
cat "$page" >>"$work/expected.html"

fail() {
  local shot=${TMPDIR:-/tmp}/quillmere-fault-crash.png
  command -v import >/dev/null && import -window root "$shot" 2>/dev/null && set -- "$*" "(screen in $shot)"
  report "LOST: $*"
  exit 1
}

# Waits up to 20 s for a visible window whose title matches $1; prints its id.
window() {
  timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Waits up to $2 seconds for the command $1 to succeed.
wait_for() {
  local deadline=$((SECONDS + $2))
  until eval "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# The text part of the newest recovery file equals the expected page.
recovered_text_is_whole() {
  local f
  f=$(ls -t "$recovery"/*.qmr 2>/dev/null | head -n 1)
  [ -n "$f" ] && tail -c "$(stat -c %s "$work/expected.html")" "$f" | cmp -s - "$work/expected.html"
}

"$prog" "$page" >"$work/first.log" 2>&1 &
pid=$!
main=$(window '^Quillmere 2.60 - page.html$') || true
[ -n "$main" ] || fail "the program showed no window"
sleep 0.5
xdotool mousemove --window "$main" 400 150 click 1
xdotool key --clearmodifiers ctrl+Home
xdotool type --delay 20 "$typed"
xdotool key Return
wait_for recovered_text_is_whole 15 || fail "no recovery file with the typed text within 15 s"
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
pid=
cmp -s "$page" "$work/old.html" || fail "the page on disk changed before any save"

"$prog" >"$work/second.log" 2>&1 &
pid=$!
question=$(window '^Recover changes$') || true
[ -n "$question" ] || fail "no recovery question after the restart"
# The question's own accelerator: Y answers Yes.
xdotool windowfocus --sync "$question"
xdotool key --clearmodifiers y
main=$(window '^Quillmere 2.60 - page.html$') || true
[ -n "$main" ] || fail "the recovered page was not opened"
sleep 0.5
xdotool mousemove --window "$main" 400 150 click 1
xdotool key --clearmodifiers ctrl+s
wait_for 'cmp -s "$page" "$work/expected.html"' 10 ||
  fail "the saved page differs from what was typed: $(od -c "$page" | head -n 5 | tr '\n' ' ')"
wait_for '! ls "$recovery"/*.qmr >/dev/null 2>&1' 5 || fail "the recovery file stayed after the save"
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=
report "typed $(printf '%s' "$typed" | wc -c) bytes (UTF-8 among them) into build/quillmere under Xvfb," \
  "waited for the recovery file, kill -9, started again, answered Yes, Ctrl+S:" \
  "the page holds the typed text byte for byte, no recovery file left: nothing lost"
