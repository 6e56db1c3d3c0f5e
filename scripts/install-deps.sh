#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run command need,
# only those that are missing, and runs apt-get update at most once.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  qt6-base-dev qt6-base-dev-tools libqscintilla2-qt6-dev
  libgl-dev
  pkg-config libtidy-dev
  fonts-liberation fonts-dejavu-core
  libqt6svg6
  desktop-file-utils appstream dpkg-dev file
  rsync
)
if [ "${1:-}" = "--run" ]; then
  packages+=(xvfb xdotool openbox x11-utils imagemagick)
fi
if [ "${1:-}" = "--faults" ]; then
  packages+=(xvfb xdotool util-linux)
fi
# The publish fault run starts a real sshd on 127.0.0.1 with keys of its own.
if [ "${1:-}" = "--faults" ]; then
  packages+=(openssh-client openssh-server)
fi
if [ "${1:-}" = "--peers" ]; then
  packages+=(xvfb xdotool geany ripgrep)
fi
if [ "${1:-}" = "--format" ]; then
  packages+=(clang-format git)
fi
if [ "${1:-}" = "--a11y" ]; then
  packages+=(xvfb xdotool openbox dbus at-spi2-core python3-pyatspi)
fi
if [ "${1:-}" = "--bench" ]; then
  packages+=(tidy linkchecker)
fi
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run 'make test' as root once, or install them with apt-get." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
