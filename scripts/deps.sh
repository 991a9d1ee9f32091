#!/usr/bin/env bash
# Installs the Debian packages the project needs, once: apt-get update only when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev fonts-liberation desktop-file-utils
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n help2man scdoc python3
    xxhash b3sum coreutils
)
# Extra groups callers may ask for by name.
for group in "$@"; do
    case "$group" in
        sanitize) packages+=(clang libclang-rt-14-dev) ;;
        bench) packages+=(rhash openssl coreutils libcrypto++-dev hyperfine) ;;
        # A real X server, a window manager with the X tools to look at the dialog's window,
        # and the accessibility bus with its Python client, to read the dialog as a screen reader.
        display) packages+=(xvfb x11-utils x11-apps openbox at-spi2-core python3-pyatspi dbus) ;;
        # The checks of the installed tree, the manual pages, completions, metadata and package.
        packaging) packages+=(dpkg-dev file lintian appstream man-db groff-base bash-completion
                              zsh fish) ;;
        *) echo "deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "deps.sh: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
