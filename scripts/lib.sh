# Shared by scripts/run and scripts/test: the packages the project needs and the presets.
# shellcheck shell=bash

LUDRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Building the installer (with the host's ludrin-pack) and starting it under Wine + Xvfb.
LUDRIN_RUN_PACKAGES=(
    cmake ninja-build g++ python3 zlib1g-dev
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine64 xvfb imagemagick
)
# Everything the tests need on top: GoogleTest (also as sources for the cross build), the
# peer tools that check our formats, fuzzing and benchmark toolchains, the formatter.
LUDRIN_TEST_PACKAGES=(
    "${LUDRIN_RUN_PACKAGES[@]}" git
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    liblnk-utils python3-pefile unzip zip 7zip libarchive-tools
    clang libclang-rt-14-dev clang-format
    osslsigncode openssl
)

ludrin_say() { printf '\033[1m==> %s\033[0m\n' "$*"; }

# Installs the packages given that are missing: Debian's packages with apt-get,
# `apt-get update` only when something is missing.
ludrin_ensure_packages() {
    local missing=() package
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "This system has no dpkg/apt. Install the equivalents of these Debian packages:" >&2
        echo "  $*" >&2
        return 1
    fi
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Missing packages, and no apt-get to install them: ${missing[*]}" >&2
        return 1
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    ludrin_say "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Configures and builds a preset; extra arguments go to the build (e.g. --target X).
ludrin_build() {
    local preset=$1
    shift
    (cd "$LUDRIN_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" "$@")
}
