#!/usr/bin/env bash
# Renders the 48 x 48 application icon PNG from its SVG source. Run after editing the SVG and
# commit both; the build only uses the checked-in files. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "make-icon: install librsvg2-bin first" >&2; exit 1; }
rsvg-convert --width 48 --height 48 --format png \
    --output app/resources/ostrel-corvane.png app/resources/ostrel-corvane.svg
