#!/usr/bin/env bash
# The manual pages format without a warning, and each documents every option
# its program's --help lists: a new option needs its own .TP entry in
# packaging/man/<program>.1.in.
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
status=0
for p in vizo-viewer vizo-sim vizo-proto; do
  page=$build/packaging/man/$p.1
  warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
  [ -z "$warnings" ] || fail "$p.1: $warnings"
  text=$(groff -man -Tascii -P-cbou "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
    grep -q "^$section\$" <<<"$text" || fail "$p.1 has no $section section"
  done
  # The tag lines of the page's .TP entries, dashes unescaped.
  tags=$(grep -A1 '^\.TP$' "$page" | grep -v -e '^\.TP$' -e '^--$' | sed 's/\\-/-/g')
  binary=$(find "$build" -type f -name "$p" -perm -u+x -not -path '*/CMakeFiles/*' | head -n 1)
  [ -n "$binary" ] || fail "$p is not built"
  for option in $("$binary" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! grep -Eq -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$tags"; then
      echo "FAIL: $p --help lists $option, which has no entry in packaging/man/$p.1.in" >&2
      status=1
    fi
  done
done
[ $status = 0 ] && echo "manual pages format cleanly and document every option"
exit $status
