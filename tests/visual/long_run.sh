#!/usr/bin/env bash
# The long scripted run: six notes and the main window grown, shrunk, tiled (Fenster > Nebeneinander),
# cascaded (Fenster > Untereinander) and dragged in a fixed pseudo-random order, every step checked
# (desktop colour inside a window, area colours, redraw equality); prints a summary at the end.
# Usage: tests/visual/long_run.sh [steps]   (default 200; builds what it needs first)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/setup"
cmake --build "$root/build/host" -j"$jobs" --target skinpack >/dev/null
cmake --build "$root/build/win" -j"$jobs" --target FennickNotizen visual_probe >/dev/null
exec "$root/tests/visual/run.sh" --long "${1:-200}"
