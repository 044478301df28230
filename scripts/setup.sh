#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), configures and
# builds everything, including the sample catalogue and the language files.
# Sourced by run.sh and test.sh; BUILD_DIR may be set by the caller.
set -euo pipefail

REPO_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$REPO_DIR/build}"

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 xvfb xauth qt6-translations-l10n
  python3 python3-dbf python3-ezdxf shapelib
  libxlsxwriter-dev python3-openpyxl
  # the desktop scenarios: a real window manager, real input, screenshots
  openbox xdotool imagemagick x11-utils procps
  # the CSV export is read back by a spreadsheet program in its test
  libreoffice-calc-nogui
  clang-format
  poppler-utils
  locales
  # desktop integration and its test: xdg-mime asks mimetype on a plain desktop, gio on GNOME
  xdg-utils shared-mime-info desktop-file-utils libfile-mimeinfo-perl libglib2.0-bin
)

install_missing_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# Number parsing and exports are tested under a decimal-comma locale as well.
ensure_test_locale() {
  if locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
    return
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo localedef -i fr_FR -f UTF-8 fr_FR.UTF-8 || echo "fr_FR.UTF-8 not available: its test rows are skipped"
}

# TVR_CMAKE_OPTIONS: more options for the configuration; TVR_BUILD_TARGETS: what to build
# (everything when empty); TVR_JOBS: parallel jobs (one a core when empty); TVR_BUILD_TYPE:
# Release (optimised, no debug information) when empty.
build_all() {
  # shellcheck disable=SC2086  # the options are words on purpose
  cmake -S "$REPO_DIR" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${TVR_BUILD_TYPE:-Release}" ${TVR_CMAKE_OPTIONS:-}
  local targets=()
  for target in ${TVR_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
  cmake --build "$BUILD_DIR" --parallel "${TVR_JOBS:-$(nproc)}" "${targets[@]}"
}

install_missing_packages
ensure_test_locale
build_all
