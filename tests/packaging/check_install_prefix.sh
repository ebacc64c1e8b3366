#!/usr/bin/env bash
# `cmake --install` into a scratch prefix whose name has a space, then the
# whole prefix moves elsewhere: the programs must run from both places with
# nothing but their own run path to find Bramble, Trellis and Lumen, which
# are private (no headers, no development symlinks, a folder of their own).
set -euo pipefail
build=$1
programs=(vizo-viewer vizo-sim vizo-proto)
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/first prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || fail "$p is not in bin/"
  runpath=$(readelf -d "$prefix/bin/$p" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [[ $runpath == '$ORIGIN/'* ]] || fail "$p's run path is '$runpath', not relative to \$ORIGIN"
done
bramble=$(find "$prefix" -name libbramble.so.0)
[ -n "$bramble" ] || fail "libbramble.so.0 is not installed"
libdir=$(dirname "$bramble")
[ "$(basename "$libdir")" = vizo-viewer ] || fail "the private libraries are in $libdir"
for lib in bramble trellis lumen; do
  soname=$(readelf -d "$libdir/lib$lib.so.0" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = "lib$lib.so.0" ] || fail "lib$lib's soname is '$soname'"
done
[ -z "$(find "$prefix" -name '*.so' -o -name '*.a' -o -name '*.h')" ] || fail "development files installed"
[ ! -e "$prefix/include" ] || fail "headers installed"
for f in share/applications/org.vizo.viewer.desktop share/metainfo/org.vizo.viewer.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.vizo.viewer.svg lib/udev/rules.d/70-vizo.rules; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done

run_from() {
  local where=$1 p out
  for p in "${programs[@]}"; do
    out=$(env -u LD_LIBRARY_PATH "$where/bin/$p" --version) || fail "$where/bin/$p --version failed"
    [ "$out" = "$p $VIZO_VERSION" ] || fail "$p --version printed '$out'"
    ldd "$where/bin/$p" | grep -E 'lib(bramble|trellis|lumen)|not found' | grep -v " => $where/" \
      && fail "$p loads a library from outside $where"
  done
  [ "$(ldd "$where/bin/vizo-viewer" | grep -cE "lib(bramble|trellis|lumen).so.0 => $where/")" = 3 ] \
    || fail "vizo-viewer does not load the three installed libraries"
  env -u LD_LIBRARY_PATH "$where/bin/vizo-viewer" --help | grep -q '^Usage: vizo-viewer' || fail "vizo-viewer --help"
  env -u LD_LIBRARY_PATH "$where/bin/vizo-sim" --help | grep -q '^Usage: vizo-sim' || fail "vizo-sim --help"
  env -u LD_LIBRARY_PATH "$where/bin/vizo-proto" list | grep -q 'CameraZoom' || fail "vizo-proto list"
  for p in "${programs[@]}"; do
    [ "$(MANPATH="$where/share/man" man -w "$p")" = "$where/share/man/man1/$p.1.gz" ] \
      || fail "man does not find $p's page under $where"
    MANPATH="$where/share/man" MANWIDTH=80 man "$p" 2>/dev/null | grep -q 'EXIT STATUS' || fail "man $p"
  done
}
run_from "$prefix"
mv "$prefix" "$scratch/moved"
run_from "$scratch/moved"
echo "installed tree runs from any prefix"
