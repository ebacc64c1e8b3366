#!/usr/bin/env bash
# Checks a built vizo-viewer .deb as a user's machine meets it: what it
# holds and depends on, then `dpkg -i` into a scratch root (maintainer
# scripts run without a chroot, with DPKG_ROOT set, as for any foreign root),
# the programs and manual page from there, and removal. Lintian, if
# installed, must find no error. Run by scripts/package.
set -euo pipefail
deb=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/vizo-viewer ./usr/bin/vizo-sim ./usr/bin/vizo-proto \
         ./usr/lib/udev/rules.d/70-vizo.rules \
         ./usr/share/applications/org.vizo.viewer.desktop \
         ./usr/share/metainfo/org.vizo.viewer.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.vizo.viewer.svg \
         ./usr/share/man/man1/vizo-viewer.1.gz ./usr/share/man/man1/vizo-sim.1.gz \
         ./usr/share/man/man1/vizo-proto.1.gz ./usr/share/doc/vizo-viewer/copyright; do
  grep -qx -- "$f" <<<"$contents" || fail "the package lacks $f"
done
grep -qE '^\./usr/lib/[^/]+/vizo-viewer/libbramble\.so\.0\.' <<<"$contents" \
  || fail "the private libraries are not in a vizo-viewer folder under the library directory"
if grep -E '^\./usr/include/|\.so$|\.a$' <<<"$contents"; then fail "development files in the package"; fi

depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for d in libqt6widgets6 libqt6core6 libturbojpeg0 libudev1 libstdc++6 qt6-qpa-plugins; do
  grep -qxF "$d" <<<"$names" || fail "Depends lacks $d: $depends"
done
if grep -qE -- '-dev( |,|$)|libasan|libubsan' <<<"$depends"; then fail "Depends names build-only packages: $depends"; fi
dpkg-deb -I "$deb" postinst | grep -q 'udevadm control --reload-rules' || fail "postinst does not reload udev rules"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/var/lib/dpkg/info" "$scratch/var/lib/dpkg/updates"
# The scratch root holds only this package's files, but its package database
# is this machine's, so dpkg checks the dependencies against what is really
# installed here (and the programs run on this machine's libraries).
cp /var/lib/dpkg/status "$scratch/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$scratch" --log=/dev/null --force-not-root --force-script-chrootless --force-bad-path)
"${dpkg_root[@]}" -i "$deb" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg -i failed"; }
"${dpkg_root[@]}" -s vizo-viewer | grep -q '^Status: install ok installed' || fail "dpkg -i did not install it"
for p in vizo-viewer vizo-sim vizo-proto; do
  out=$(env -u LD_LIBRARY_PATH "$scratch/usr/bin/$p" --version) || fail "$p --version failed"
  [ "$out" = "$p $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ] || fail "$p --version printed '$out'"
done
if ldd "$scratch/usr/bin/vizo-viewer" | grep -E 'lib(bramble|trellis|lumen)' | grep -v " => $scratch/"; then
  fail "vizo-viewer loads a private library from outside the package"
fi
MANPATH="$scratch/usr/share/man" MANWIDTH=80 man vizo-viewer 2>/dev/null | grep -q '^NAME' \
  || fail "man vizo-viewer shows nothing"
"${dpkg_root[@]}" -r vizo-viewer >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg -r failed"; }
[ ! -e "$scratch/usr/bin/vizo-viewer" ] || fail "dpkg -r left vizo-viewer behind"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" || fail "lintian found errors"
else
  echo "lintian is not installed: skipped"
fi
echo "package installs and runs: $(basename "$deb")"
