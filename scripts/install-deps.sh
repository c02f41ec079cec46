#!/usr/bin/env bash
# Installs what building, running and testing Velmor needs on Debian 12, and only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6 qt6-wayland
  # Translations: Qt Linguist's tools, and Qt's own catalogues that the program loads.
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgl-dev libsndfile1-dev libpulse-dev libical-dev libecal2.0-dev libpipewire-0.3-dev libdbus-1-dev
  libxcb1-dev libxcb-keysyms1-dev libxcb-xkb-dev libxkbcommon-dev libxkbcommon-x11-dev libglib2.0-dev
  libgtest-dev googletest
  fonts-dejavu-core
  # Real components the tests and screenshots start: display, window manager, compositor, tray,
  # sound server, session bus and its mocks, calendar server, a Wayland compositor.
  xvfb x11-utils x11-xserver-utils xdotool imagemagick openbox xcompmgr trayer
  pulseaudio pulseaudio-utils dbus dbus-x11 python3 python3-dbusmock python3-dbus python3-gi
  weston
  evolution-data-server desktop-file-utils
  # A PipeWire graph with a session manager, for the screen-cast test.
  pipewire pipewire-bin wireplumber
  at-spi2-core python3-pyatspi
  # Native Wayland sessions: Qt's Wayland platform, the client library and protocol files
  # (wayland-scanner) for the overlay's own connection, and headless compositors with their
  # screenshot and key tools, a bar and a terminal for the overlay's tests.
  qt6-wayland qt6-wayland-dev libwayland-dev libwayland-bin wayland-protocols
  sway weston grim wtype foot
  # GNOME Shell, run headless by the overlay's GNOME test.
  gnome-shell
  # `make deb` and the package's checks.
  dpkg-dev debhelper fakeroot lintian appstream
)

# npm comes with Node.js where Node.js was installed from elsewhere; Debian's npm would conflict.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Lora typeface ships beside the program; a missing font is not fatal (a serif stands in).
if [ ! -f node_modules/@fontsource/lora/files/lora-latin-400-italic.woff2 ]; then
  npm ci --no-audit --no-fund || echo "Lora font could not be installed; a system serif stands in"
fi
