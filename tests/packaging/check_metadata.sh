#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators, and the metainfo lists this
# version among its releases and shows screenshots kept in the repository.
# Usage: check_metadata.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build=$1
source=$2
version=$3
status=0
desktop=$build/app/ostrel-corvane.desktop
metainfo=$(echo "$build"/packaging/*.metainfo.xml)

for tool in desktop-file-validate appstreamcli; do
    if ! command -v $tool >/dev/null; then
        echo "SKIPPED: $tool is missing (scripts/deps.sh installs it)"
        exit 0
    fi
done
desktop-file-validate "$desktop" || status=1
appstreamcli validate --no-net --explain "$metainfo" || status=1
grep -q "<release version=\"$version\"" "$metainfo" ||
    { echo "FAIL: no release $version in the metainfo"; status=1; }
for shot in $(grep -o 'screenshots/[^<]*\.png' "$metainfo"); do
    [ -f "$source/packaging/$shot" ] || { echo "FAIL: $shot is not in packaging/"; status=1; }
done
exit $status
