#!/usr/bin/env bash
# Fails when a line of program code (outside tests/ and bench/) changed since
# the base gives a name against the naming rule of docs/ARCHITECTURE.md:
#   1. a word with a T or F prefix (TThing, FThing) that is none of the
#      design's names (scripts/design-names.txt);
#   2. what clang-tidy's identifier-naming check (.clang-tidy) finds on the
#      changed lines, the design's names passed over. It runs on the changed
#      files whose added lines bring a word new to the code (a header through
#      one source file that includes it), with the compile database of the
#      windows build ($TARIMOKU_BUILD/windows, which scripts/test.sh
#      configures); without one, this part is skipped and says so;
#   3. a file of code (.h, .cpp, .rc, tests and bench included) added or
#      renamed since the base whose name is not snake_case (role_menu.cpp,
#      role_menu_test.cpp), unless it keeps a design's name: a design's name
#      or the name of a design unit's file at the base (ufrmMain, FileView),
#      alone or followed by a part in CamelCase (FileViewFill.cpp), either
#      with a snake_case suffix (_test).
# The base is the one scripts/check-format.sh uses ($TARIMOKU_FORMAT_BASE,
# else the merge-base with origin/main or main, else HEAD~).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
command -v python3 >/dev/null || { echo "names: python3 is missing (scripts/deps.sh installs it)" >&2; exit 1; }

# shellcheck source=change-base.sh
. "$root/scripts/change-base.sh"
base=$(tk_change_base)
if [ -z "$base" ]; then
  echo "names: no base to compare with (a single commit): nothing checked"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tk-names.XXXXXX")
trap 'rm -rf "$work"' EXIT
git diff -U0 --no-color --no-ext-diff --diff-filter=AMR "$base" -- '*.h' '*.cpp' ':!tests/' ':!bench/' >"$work/patch"
while IFS= read -r file; do
  git diff -U0 --no-color --no-index /dev/null "$file" | sed "s|^+++ b/.*|+++ b/$file|" >>"$work/patch" || true
done < <(git ls-files --others --exclude-standard -- '*.h' '*.cpp' ':!tests/' ':!bench/')
# Every word of the program's code at the base: a changed line that brings no
# new word gives no new name.
git grep -h -o -w -E '[A-Za-z_][A-Za-z0-9_]*' "$base" -- '*.h' '*.cpp' ':!tests/' ':!bench/' 2>/dev/null |
  sort -u >"$work/words" || true

printf '%s' "$base" >"$work/base"
# Files of code added or renamed since the base, and the names at the base.
{ git diff --name-only --no-renames --diff-filter=A "$base" -- '*.h' '*.cpp' '*.rc'
  git ls-files --others --exclude-standard -- '*.h' '*.cpp' '*.rc'; } >"$work/added"
git ls-tree -r --name-only "$base" | grep -E '\.(h|cpp|rc)$' >"$work/at-base" || true
db=${TARIMOKU_BUILD:-$root/build}/windows/compile_commands.json
python3 - "$work" "$db" "$root" <<'PY'
import json, os, re, shutil, subprocess, sys
from concurrent.futures import ThreadPoolExecutor
work, db, root = sys.argv[1:4]
allowed = {l.strip() for l in open("scripts/design-names.txt") if l.strip() and not l.startswith("#")}
known = set(open(os.path.join(work, "words")).read().split())

changed = {}   # file -> {line: text}
name = None; line = 0
for text in open(os.path.join(work, "patch"), encoding="utf-8", errors="replace").read().split("\n"):
    if text.startswith("+++ "):
        name = text[6:] if text.startswith("+++ b/") else None
    elif text.startswith("@@"):
        line = int(re.match(r"@@ -\S+ \+(\d+)", text).group(1))
    elif text.startswith("+") and name:
        changed.setdefault(name, {})[line] = text[1:]
        line += 1

def code_of(text):  # the line without its comment and strings
    text = re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])+\'', '""', text)
    return text.split("//")[0]

bad = []
# 3. File names: snake_case, or a design's name kept.
def stem(path):
    return os.path.basename(path).split(".")[0]
snake = re.compile(r"^[a-z0-9]+(_[a-z0-9]+)*$")
units = allowed | {stem(p) for p in open(os.path.join(work, "at-base")).read().split("\n")
                   if p and not snake.match(stem(p))}
def design_part(s):
    return any(s.startswith(u) and re.match(r"^([A-Z][A-Za-z0-9]*)?(_[a-z0-9]+)*$", s[len(u):]) for u in units)
for f in sorted(set(open(os.path.join(work, "added")).read().split("\n")) - {""}):
    if not snake.match(stem(f)) and not design_part(stem(f)):
        bad.append("%s: a new file's name is snake_case (%s)" % (f, re.sub(r"(?<=[a-z0-9])(?=[A-Z])|(?<=[A-Z])(?=[A-Z][a-z])", "_", stem(f)).lower()))

# 1. T/F prefixes.
for f, lines in sorted(changed.items()):
    for n, text in sorted(lines.items()):
        if text.lstrip().startswith("#"):
            continue
        for word in re.findall(r"\b[TF][A-Z][a-z][A-Za-z0-9_]*\b", code_of(text)):
            if word not in allowed and word not in known:
                bad.append("%s:%d: %s: a T/F prefix is for the design's names only" % (f, n, word))

# 2. clang-tidy on the files whose changed lines bring a new word.
def new_words(lines):
    out = set()
    for text in lines.values():
        if text.lstrip().startswith("#"):
            continue
        out |= {w for w in re.findall(r"\b([A-Za-z_][A-Za-z0-9_]*)\b(?!\s*::)", code_of(text)) if w not in known}
    return out
targets = [f for f, lines in changed.items() if new_words(lines)]
tidy = shutil.which("clang-tidy-14") or shutil.which("clang-tidy")
if targets and not (tidy and os.path.isfile(db)):
    print("names: %s: clang-tidy's naming check skipped (%d files)" %
          ("no clang-tidy" if not tidy else "no compile database at " + db, len(targets)))
elif targets:
    entries = json.load(open(db))
    sources = {os.path.relpath(e["file"], e.get("directory", root)) if not os.path.isabs(e["file"]) else
               os.path.relpath(e["file"], root) for e in entries}
    units = set()
    for f in targets:
        if f in sources:
            units.add(f)
        elif f.endswith(".h"):
            for s in sorted(sources):
                try:
                    if ('#include "%s"' % f) in open(s, encoding="utf-8", errors="replace").read():
                        units.add(s); break
                except OSError:
                    pass
    # The cross compiler's C++ headers, which clang does not find by itself.
    extra = []
    try:
        out = subprocess.run([entries[0].get("command", "").split()[0], "-E", "-x", "c++", "-", "-v"],
                             input="", capture_output=True, text=True).stderr
        inside = False
        for l in out.splitlines():
            if l.startswith("#include <...>"):
                inside = True
            elif l.startswith("End of search"):
                inside = False
            elif inside and "/include/c++" in l:
                extra.append("--extra-arg=-isystem" + l.strip())
    except (OSError, IndexError):
        pass
    def run(unit):
        r = subprocess.run([tidy, "-p", os.path.dirname(db), "--quiet", "--header-filter=^" + re.escape(root) + "/",
                            *extra, unit], capture_output=True, text=True)
        return r.stdout
    pattern = re.compile(r"^(/[^:]+):(\d+):\d+: warning: (.*'([^']+)'.*) \[readability-identifier-naming\]")
    seen = set()
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for out in pool.map(run, sorted(units)):
            for l in out.splitlines():
                m = pattern.match(l)
                if not m:
                    continue
                f, n, message, ident = os.path.relpath(m.group(1), root), int(m.group(2)), m.group(3), m.group(4)
                if ident in allowed or n not in changed.get(f, {}) or (f, n, ident) in seen:
                    continue
                seen.add((f, n, ident))
                bad.append("%s:%d: %s" % (f, n, message))
    print("names: clang-tidy's naming check on %d files" % len(units))
for b in bad:
    print("names: " + b)
if bad:
    print("Names we invent follow ui/'s style (docs/ARCHITECTURE.md, Names).", file=sys.stderr)
    sys.exit(1)
print("names: the lines changed since %s follow the naming rule" % open(os.path.join(work, "base")).read()[:12])
PY
