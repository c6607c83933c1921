#!/usr/bin/env bash
# Fails when an include points up a layer, or across to a neighbour of the
# same layer. Layers, bottom first:
#   0 ui/                       the window and component layer
#   1 res/ scheme/ anicur/ dirmon/ idlist/
#   2 shell/                    context menu, drag source, drop target
#   3 shview/ dialogs/          the views and the dialogs
#   4 app/                      the program
# Within shview/ a view never includes another view: FileView*, FolderView*
# and ComboView* files include only their own headers and the shared ones.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

layer_of() {
  case "$1" in
    ui/*) echo 0 ;;
    res/*|scheme/*|anicur/*|dirmon/*|idlist/*) echo 1 ;;
    shell/*) echo 2 ;;
    shview/*|dialogs/*) echo 3 ;;
    app/*) echo 4 ;;
    *) echo -1 ;;
  esac
}
group_of() { # the folder a file belongs to, as a unit of the layering
  case "$1" in
    idlist/*) echo idlist ;;
    *) echo "${1%%/*}" ;;
  esac
}
view_of() { # which view a shview/ file belongs to, if any
  local base=${1##*/}
  case "$base" in
    FileView*) echo FileView ;;
    FolderView*) echo FolderView ;;
    ComboView*) echo ComboView ;;
    *) echo "" ;;
  esac
}

bad=0
while IFS= read -r file; do
  from=$(layer_of "$file"); [ "$from" -ge 0 ] || continue
  fgroup=$(group_of "$file"); fview=$(view_of "$file")
  while IFS= read -r inc; do
    to=$(layer_of "$inc"); [ "$to" -ge 0 ] || continue
    igroup=$(group_of "$inc")
    # The program's texts and resource ids (res/) are a leaf every layer above ui/ may read.
    [ "$igroup" = res ] && [ "$from" -ge 1 ] && continue
    if [ "$to" -gt "$from" ] || { [ "$to" -eq "$from" ] && [ "$igroup" != "$fgroup" ]; }; then
      echo "layering: $file includes $inc (layer $from -> $to)"; bad=1
    fi
    iview=$(view_of "$inc")
    if [ "$fgroup" = shview ] && [ -n "$iview" ] && [ "$iview" != "$fview" ]; then
      echo "layering: $file ($fview) includes another view's $inc"; bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- '*.h' '*.cpp' | grep -v -E '^(tests|bench)/')
if [ "$bad" -ne 0 ]; then
  echo "Includes must point down the layers (see docs/ARCHITECTURE.md)." >&2
  exit 1
fi
echo "layering: every include points down"
