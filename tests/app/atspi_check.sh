#!/bin/sh
# The verdict as a screen reader meets it: `corvane FILE` beside a SHA256SUMS under a virtual X
# server with the accessibility bus, read over AT-SPI by atspi_check.py. Skipped (77) when the
# display group of scripts/deps.sh is not installed.
# Usage: atspi_check.sh CORVANE SCRATCH_DIR
set -eu
corvane=$1
scratch=$2
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
[ -x "$launcher" ] || { echo "SKIPPED: at-spi2-core is missing"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIPPED: python3-pyatspi is missing"; exit 77; }

rm -rf "$scratch" && mkdir -p "$scratch"
printf abc >"$scratch/abc.iso"
printf '%s  abc.iso\n' ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad \
    >"$scratch/SHA256SUMS"
here=$(cd "$(dirname "$0")" && pwd)
# Inside the session: the accessibility bus first, then the reader that starts the dialog.
exec xvfb-run -a dbus-run-session -- sh -c \
    "$launcher --launch-immediately & sleep 1; exec /usr/bin/python3 '$here/atspi_check.py' \
     '$corvane' '$scratch/abc.iso'"
