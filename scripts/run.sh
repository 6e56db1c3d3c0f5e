#!/usr/bin/env bash
# Opens the program on the demo site: on the desktop when there is one,
# otherwise in a virtual display so that the command still works.
set -euo pipefail
prog=$1; site=$2
first="$site/index.html"; [ -f "$first" ] || first=$(ls "$site"/*.htm* 2>/dev/null | head -n 1)
unset QT_QPA_PLATFORM
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$prog" "$first"
fi
echo "No display found: running in a virtual display (xvfb-run)." >&2
exec xvfb-run -a "$prog" "$first"
