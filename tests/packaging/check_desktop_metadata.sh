#!/usr/bin/env bash
# The desktop entry and the AppStream metadata as Debian 12's validators see
# them (every hint counts, pedantic ones too), and the names that tie them
# together: the metainfo's id is the desktop file's name.
set -euo pipefail
build=$1 source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/bootstrap installs it)"; exit 77; }
done

desktop=$source/packaging/org.vizo.viewer.desktop
metainfo=$build/packaging/org.vizo.viewer.metainfo.xml
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --pedantic --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli: $out"
if grep -Eq '^[EWIP]: ' <<<"$out"; then fail "appstreamcli: $out"; fi

id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[ "$id.desktop" = "$(basename "$desktop")" ] || fail "metainfo id $id does not name $(basename "$desktop")"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable is not $id.desktop"
grep -q "^Icon=$id\$" "$desktop" || fail "the icon is not named $id"
[ -f "$source/packaging/$id.svg" ] || fail "no icon $id.svg"
grep -q "<release version=\"$VIZO_VERSION\"" "$metainfo" || fail "no release entry for $VIZO_VERSION"
# Every screenshot named is one that scripts/screenshots made.
for shot in $(sed -n 's:.*<image>.*/\([^/]*\)</image>.*:\1:p' "$metainfo"); do
  [ -f "$source/packaging/screenshots/$shot" ] || fail "packaging/screenshots/$shot is missing"
done
echo "desktop entry and metainfo are valid"
