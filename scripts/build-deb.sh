#!/usr/bin/env bash
# Builds the Debian package and leaves it in dist/, e.g. dist/pingolet_1.21-1_amd64.deb.
# Installs the tools it needs (as root, or through sudo). The build runs in a copy of the source
# in a temporary folder, so the work tree gains nothing but dist/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ROOT/scripts/packages.sh"

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES $DEB_PACKAGES

WORK="$(mktemp -d /tmp/pingolet-deb.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/pingolet"
# Everyone's build folders stay behind; so does what an earlier package build left.
tar -C "$ROOT" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude='./obj-*' \
    --exclude=./.cache --exclude=./debian/.debhelper --exclude=./debian/pingolet -cf - . |
    tar -C "$WORK/pingolet" -xf -

(cd "$WORK/pingolet" && dpkg-buildpackage -us -uc -b -j2) >"$WORK/build.log" 2>&1 || {
    tail -n 15 "$WORK/build.log" >&2
    echo "dpkg-buildpackage failed" >&2
    exit 1
}
mkdir -p "$ROOT/dist"
for deb in "$WORK"/*.deb; do
    cp "$deb" "$ROOT/dist/"
    echo "$ROOT/dist/$(basename "$deb")"
done
