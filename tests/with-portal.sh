#!/usr/bin/env bash
# Runs a command on a private session bus whose desktop portal is the real
# xdg-desktop-portal frontend with the tests' own backend
# (tests/common/portal/backend.py, which the test starts when it wants a
# portal; without it the frontend has no shortcut backend to talk to). The
# portal settings must reach the bus before it starts the frontend, so they
# are set here, outside dbus-run-session. Listing a test binary's cases needs no bus.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

for argument in "$@"; do
  if [[ "$argument" == "--gtest_list_tests" ]]; then exec "$@"; fi
done

export XDG_DESKTOP_PORTAL_DIR="$here/common/portal"
export XDG_CURRENT_DESKTOP=lirabox-test
exec dbus-run-session -- "$@"
