#!/usr/bin/env bash
# Builds the Debian package for a release: a Release build with Debian's hardening flags
# (dpkg-buildflags), the package from its install tree (cpack -G DEB, dependencies by
# dpkg-shlibdeps), then lintian's verdict. The package lands in build/deb/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh packaging

build=build/deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j2
(cd "$build" && cpack -G DEB)
lintian --allow-root --fail-on error "$build"/ostrel-corvane_*.deb
echo "built: $(ls "$build"/ostrel-corvane_*.deb)"
