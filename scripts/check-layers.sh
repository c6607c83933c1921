#!/usr/bin/env bash
# Fails when an include of the program's code points up a layer, across to a
# neighbour of the same layer, or from one view to another; or when the
# layer table of docs/ARCHITECTURE.md differs from cmake/layers.txt, the
# table's one place.
#   - res/ (texts and resource ids) is a leaf every layer above ui/ may read;
#   - within shview/ each view has its folder (shview/fileview/, ...): a view
#     includes its own files and the shared ones directly in shview/, and the
#     shared ones include no view;
#   - within app/ each feature has its folder (app/previews/, ...): a feature
#     includes its own files, the window's shared headers in app/ itself and
#     of another feature only its port (a *_port.h); only the window's own
#     files, in app/ itself, include app/ufrmMain.h.
# Usage: scripts/check-layers.sh           check
#        scripts/check-layers.sh --graph   print the include graph by folder
#                                          (and by view): includes, from, to
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=check
case "${1:-}" in
  "") ;;
  --graph) mode=graph ;;
  *) echo "check-layers: unknown option $1" >&2; exit 2 ;;
esac

table=cmake/layers.txt
folders=(); layers=()
while read -r layer folder _; do
  case "$layer" in ''|'#'*) continue ;; esac
  layers+=("$layer"); folders+=("${folder%/}")
done < "$table"

# Every #include "..." of the program's code, as "file include" lines.
includes() {
  git ls-files -- '*.h' '*.cpp' | grep -v -E '^(tests|bench)/' | while IFS= read -r file; do
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
      while IFS= read -r inc; do printf '%s %s\n' "$file" "$inc"; done
  done
}

# The unit of a path (the longest folder of the table it lies in, none: "-")
# and its layer; within shview/ a view's folder is a unit of its own.
python_units=$(cat <<'PY'
import sys
folders, layers = sys.argv[1].split(), [int(x) for x in sys.argv[2].split()]
mode = sys.argv[3]
def place(path):
    best = None
    for f, l in zip(folders, layers):
        if path.startswith(f + "/") and (best is None or len(f) > len(best[0])):
            best = (f, l)
    if best is None:
        return None
    folder, layer = best
    rest = path[len(folder) + 1:].split("/")
    view = rest[0] if folder in ("shview", "app") and len(rest) > 1 else None
    return folder, layer, view
bad = 0; edges = {}
for line in sys.stdin:
    file, inc = line.split()
    a, b = place(file), place(inc)
    if a is None or b is None:
        continue
    (fa, la, va), (fb, lb, vb) = a, b
    ua = fa + ("/" + va if va else ""); ub = fb + ("/" + vb if vb else "")
    if ua != ub:
        edges[(ua, ub)] = edges.get((ua, ub), 0) + 1
    if fb == "res" and la >= 1:
        continue
    if lb > la or (lb == la and fb != fa):
        print("layering: %s includes %s (layer %d -> %d)" % (file, inc, la, lb)); bad = 1
    elif fa == fb == "shview" and vb and vb != va:
        print("layering: %s (%s) includes %s of another view" % (file, va or "shared", inc)); bad = 1
    elif fa == fb == "app" and va and inc == "app/ufrmMain.h":
        print("layering: %s (feature %s) includes the window's header %s" % (file, va, inc)); bad = 1
    elif fa == fb == "app" and va and vb and vb != va and not inc.endswith("_port.h"):
        print("layering: %s (feature %s) includes %s of another feature, not its port" % (file, va, inc)); bad = 1
if mode == "graph":
    for (ua, ub), n in sorted(edges.items()):
        print("%4d  %-18s -> %s" % (n, ua, ub))
sys.exit(bad if mode == "check" else 0)
PY
)

if [ "$mode" = graph ]; then
  includes | python3 -c "$python_units" "${folders[*]}" "${layers[*]}" graph
  exit 0
fi

bad=0
includes | python3 -c "$python_units" "${folders[*]}" "${layers[*]}" check || bad=1

# The table of docs/ARCHITECTURE.md: one row per layer, its folders in backticks.
doc=docs/ARCHITECTURE.md
want=$(for i in "${!folders[@]}"; do echo "${layers[$i]} ${folders[$i]}"; done | sort)
have=$(sed -n '/^## Layers/,/^## /p' "$doc" | grep -E '^\|[[:space:]]*[0-9]+[[:space:]]*\|' |
  while IFS='|' read -r _ layer names _; do
    grep -oE '`[^`]+`' <<<"$names" | tr -d '`' | sed 's#/$##' | while read -r f; do
      echo "${layer//[[:space:]]/} $f"
    done
  done | sort)
if [ "$want" != "$have" ]; then
  echo "layering: the table of $doc differs from $table:"
  diff <(echo "$want") <(echo "$have") | sed -n 's/^</  only in the table file:/p; s/^>/  only in the notes:/p'
  bad=1
fi

if [ "$bad" -ne 0 ]; then
  echo "Includes must point down the layers (see docs/ARCHITECTURE.md)." >&2
  exit 1
fi
echo "layering: every include points down; docs/ARCHITECTURE.md's table is $table's"
