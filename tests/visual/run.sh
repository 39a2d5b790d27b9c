#!/usr/bin/env bash
# Runs the visual suite (tests/visual/visual.py; arguments pass through: scenario names, --all,
# --list, --long [steps]) on a fresh Xvfb screen of 1280x800x24. Expects the Windows build in
# build/win (FennickNotizen, skingallery, visual_probe).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exec xvfb-run -a -s "-screen 0 1280x800x24" python3 "$root/tests/visual/visual.py" "$@"
