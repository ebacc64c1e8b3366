#!/usr/bin/env bash
# Fails when an include in app/ runs upward across its layers, bottom to top:
#   protocol settings link kit connection input pages files menus core
# A folder may include its own files and those of any folder below it; only
# main.cpp (above every folder) may include the application delegate.
#   check_layers.sh APP_DIR      check the tree
#   check_layers.sh --self-test  plant an upward include in a copy and
#                                make sure it is caught
set -euo pipefail
layers=(protocol settings link kit connection input pages files menus core)

rank() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

check() {
  local app=$1 failed=0 file folder inc target
  while IFS= read -r file; do
    folder=${file#"$app"/}
    folder=${folder%%/*}
    local own
    own=$(rank "$folder")
    [ "$own" -ge 0 ] || continue
    while IFS= read -r inc; do
      target=${inc%%/*}
      local theirs
      theirs=$(rank "$target")
      if [ "$theirs" -gt "$own" ]; then
        echo "layers: $file includes $inc: $folder may not reach up to $target" >&2
        failed=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\/[^"]*\)".*/\1/p' "$file")
    if grep -q 'AppDelegate::instance()\|"core/AppDelegate.h"\|#include "AppDelegate.h"' "$file" \
       && [ "$folder" != core -o "$(basename "$file")" != AppDelegate.cpp ] \
       && [ "$(basename "$file")" != AppDelegate.h ]; then
      echo "layers: $file reaches for the application delegate; take the AppContext it is handed" >&2
      failed=1
    fi
  done < <(find "$app" -mindepth 2 -name '*.h' -o -mindepth 2 -name '*.cpp')
  return $failed
}

if [ "${1:-}" = --self-test ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  cp -r "$here/../../app" "$tmp/app"
  check "$tmp/app" || { echo "layers: the tree itself fails; see above" >&2; exit 1; }
  echo '#include "menus/VizoMenuController.h"' >> "$tmp/app/kit/Stack.cpp"
  if check "$tmp/app" 2>/dev/null; then
    echo "layers: a planted upward include (kit -> menus) was not caught" >&2
    exit 1
  fi
  cp "$here/../../app/kit/Stack.cpp" "$tmp/app/kit/Stack.cpp"
  echo 'static void *reach() { return AppDelegate::instance(); }' >> "$tmp/app/pages/PageFrame.cpp"
  if check "$tmp/app" 2>/dev/null; then
    echo "layers: a planted reach for the delegate was not caught" >&2
    exit 1
  fi
  echo "layers: planted faults caught"
  exit 0
fi

check "${1:?usage: check_layers.sh APP_DIR | --self-test}"
echo "layers: no include runs upward"
