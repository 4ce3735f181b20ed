#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pingolet with the given arguments.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
. "$ROOT/scripts/packages.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # What the command below needs, so that it works as given.
    install_missing xvfb xauth
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): run it under a virtual X server with 'xvfb-run -a ./run.sh $*'" >&2
    exit 1
fi

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES
build_into "$ROOT/build" -DBUILD_TESTING=OFF >/dev/null
exec "$ROOT/build/pingolet" "$@"
