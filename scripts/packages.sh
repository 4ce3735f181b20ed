# Sourced by test.sh, run.sh and the test suites: installs the Debian packages that are missing.

# Build and run.
BUILD_PACKAGES="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libxcb1-dev
  libpulse-dev fonts-dejavu-core"
# Tests: GoogleTest, private sound servers (PulseAudio, and PipeWire as GNOME runs it, whose
# WirePlumber wants a session bus) and the tools that record and measure them, a virtual X
# server for the window.
TEST_PACKAGES="libgtest-dev googletest pulseaudio pulseaudio-utils pipewire wireplumber
  pipewire-pulse dbus-daemon sox xvfb xauth"
# tests/desktops/run.sh: real compositors run headless, a notification server, the tools
# that watch them; the two large desktops only for --all.
DESKTOP_PACKAGES="xvfb openbox mutter xwayland sway wtype dunst dbus-bin x11-utils xdotool wev jq python3-dbus"
DESKTOP_ALL_PACKAGES="gnome-shell gjs kwin-wayland"
# tests/desktops/panel.sh: the panel icon in waybar's tray under sway, and its screenshots.
PANEL_PACKAGES="sway xwayland waybar grim dbus-daemon dbus-bin python3-dbus"
# The Debian package: its build and the checks of what it installs (rsvg-convert draws the
# scalable icon).
DEB_PACKAGES="dpkg-dev debhelper lintian desktop-file-utils appstream librsvg2-bin"

install_missing() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install ${missing[*]}" >&2; return 1; }
        sudo="sudo"
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
}

# Configures and builds into $1 with the remaining arguments passed to CMake.
build_into() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null &&
        cmake --build "$dir" --parallel "$(nproc)"
}
