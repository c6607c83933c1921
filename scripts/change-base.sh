# Sourced by the checks of changed lines (check-format.sh, check-names.sh).
# tk_change_base prints the commit the working tree is compared with:
# TARIMOKU_FORMAT_BASE when set, else where HEAD left origin/main (or main),
# else HEAD's parent; nothing when there is none (a single commit).
tk_change_base() {
  local base=${TARIMOKU_FORMAT_BASE:-} head ref mb
  if [ -z "$base" ]; then
    head=$(git rev-parse HEAD)
    for ref in origin/main main; do
      git rev-parse -q --verify "$ref^{commit}" >/dev/null || continue
      mb=$(git merge-base HEAD "$ref" 2>/dev/null) || continue
      [ "$mb" != "$head" ] && base=$mb
      break
    done
    [ -n "$base" ] || base=$(git rev-parse -q --verify 'HEAD~^{commit}' || true)
  fi
  printf '%s' "$base"
}
