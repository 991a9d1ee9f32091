#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators, and the metainfo lists this
# version among its releases and shows screenshots kept in the repository. The checksum-list MIME
# package builds into a MIME database that gives its globs to the type, a kind of text; the
# file managers' entries (Dolphin's service menus, Nemo's actions) start corvane with the files.
# Usage: check_metadata.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build=$1
source=$2
version=$3
status=0
desktop=$build/app/ostrel-corvane.desktop
metainfo=$(echo "$build"/packaging/*.metainfo.xml)

for tool in desktop-file-validate appstreamcli update-mime-database xmllint; do
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

# Dolphin's service menus are desktop files of KDE's Service type, which the validator knows only
# by name: its complaints that MimeType and Actions belong to applications are all it may say.
for menu in "$source"/packaging/file-managers/*.desktop; do
    complaints=$(desktop-file-validate "$menu" 2>&1 |
        grep -v 'but the type is "Service" while this key is only valid for type "Application"')
    [ -z "$complaints" ] || { echo "$complaints"; status=1; }
done
for entry in "$source"/packaging/file-managers/*.desktop "$source"/packaging/file-managers/*.nemo_action; do
    grep -qx 'Exec=corvane %F' "$entry" || { echo "FAIL: $entry does not start corvane %F"; status=1; }
done
grep -qx 'Exec=corvane %F' "$desktop" || { echo "FAIL: the desktop entry takes no file list"; status=1; }
grep -q '^MimeType=.*text/x-checksum-list;' "$desktop" ||
    { echo "FAIL: the desktop entry does not open checksum lists"; status=1; }

mime=$build/packaging/ostrel-corvane.xml
scratch=$build/packaging/mime-check
rm -rf "$scratch" && mkdir -p "$scratch/packages" && cp "$mime" "$scratch/packages/"
xmllint --noout "$mime" || status=1
# The freedesktop.org package too, so text/plain is known; warnings about ours fail. The database
# keeps globs that match in any case in lower case.
cp /usr/share/mime/packages/freedesktop.org.xml "$scratch/packages/" 2>/dev/null
warnings=$(update-mime-database -V "$scratch" 2>&1 | grep -v '^Parsing source file' |
    grep -i -e 'ostrel-corvane' -e 'error' -e 'warning')
[ -z "$warnings" ] || { echo "$warnings"; status=1; }
for glob in '\*sums' '\*\.sha256' '\*\.md5' '\*\.sfv' 'sha256sums' '\*checksum'; do
    grep -q ":text/x-checksum-list:$glob\(:\|\$\)" "$scratch/globs2" ||
        { echo "FAIL: $glob is not a checksum list in the MIME database"; status=1; }
done
grep -qx 'text/x-checksum-list text/plain' "$scratch/subclasses" ||
    { echo "FAIL: a checksum list is no kind of text/plain"; status=1; }
exit $status
