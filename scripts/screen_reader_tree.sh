#!/usr/bin/env bash
# Starts the program on the demo site in a virtual display with the
# accessibility bus and prints what a screen reader finds (see
# screen_reader_tree.py); with a button name, in the window it opens.
#   scripts/screen_reader_tree.sh build/quillmere [Maintenance]
# Needs: scripts/install-deps.sh --a11y
set -euo pipefail
prog=$(realpath "$1"); button=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$here/../examples/site" "$work/site"
mkdir -m 700 "$work/run"
cat >"$work/inner.sh" <<INNER
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately & bus=\$!
openbox >/dev/null 2>&1 & wm=\$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$prog" "$work/site/index.html" & app=\$!
sleep 4
/usr/bin/python3 "$here/screen_reader_tree.py" quillmere $button; status=\$?
kill \$app \$wm \$bus
exit \$status
INNER
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$work/inner.sh"
