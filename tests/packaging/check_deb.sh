#!/usr/bin/env bash
# Builds the Debian package from this build tree and checks its control data and lintian's verdict
# (warnings are printed, errors fail).
# Usage: check_deb.sh BUILD_DIR SCRATCH WITH_APP
set -uo pipefail
build=$1
scratch=$2
withApp=$3
for tool in dpkg-shlibdeps lintian; do
    if ! command -v $tool >/dev/null; then
        echo "SKIPPED: $tool is missing (scripts/deps.sh installs it)"
        exit 0
    fi
done
rm -rf "$scratch"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch.log" 2>&1 ||
    { cat "$scratch.log"; exit 1; }
deb=$(echo "$scratch"/*.deb)
status=0
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Section)" = utils ] || { echo "FAIL: section $(field Section)"; status=1; }
depends=$(field Depends)
wanted="libc6 libstdc++6"
[ "$withApp" = ON ] && wanted+=" libqt6core6 libqt6widgets6"
for library in $wanted; do
    [[ " $depends" == *" $library "* ]] || { echo "FAIL: Depends lacks $library: $depends"; status=1; }
done
# Only errors fail; lintian refuses to run as root without this.
lintian --fail-on error --allow-root "$deb" || status=1
exit $status
