#!/usr/bin/env bash
# Fails when a name in backticks in the architecture notes no longer exists:
#   - a path (`app/`, `idlist/idlist.h`, `app/ufrmMain*.cpp`) must
#     name a file or folder of the repository; a bare file name
#     (`role_menu.cpp`, `FileView*.cpp`) a file somewhere in it, or a header
#     the code includes (`windows.h`);
#   - an identifier must be a word of the program's code (sources, resource
#     script, CMake files; tests and benchmarks do not count); a qualified
#     one (`TreeLink::GoBack`) must have each neighbouring pair in one file;
#     a glob (`IDList*`, `*_core`) must match a word;
#   - a call with arguments (`SetMouseCursor(role, path)`) must take that
#     many arguments somewhere in the code.
# Texts that are no names are left alone: extensions (`.ani`), registry
# paths (`Control Panel\Cursors`), `...` placeholders.
# Usage: scripts/check-doc-names.sh [document ...]  (default docs/ARCHITECTURE.md)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ $# -gt 0 ] || set -- docs/ARCHITECTURE.md
command -v python3 >/dev/null || { echo "doc-names: python3 is missing (scripts/deps.sh installs it)" >&2; exit 1; }

python3 -c "$(cat <<'EOF'
import fnmatch, os, re, subprocess, sys

tracked = [p for p in subprocess.run(["git", "ls-files", "-z"], capture_output=True, check=True).stdout.decode("utf-8").split("\0") if p]
def is_code(p):
    if p.startswith(("tests/", "bench/", "docs/")):
        return False
    base = os.path.basename(p)
    return base == "CMakeLists.txt" or base.endswith((".h", ".cpp", ".rc", ".cmake"))

texts = {}
for p in tracked:
    if is_code(p) and os.path.isfile(p):
        with open(p, encoding="utf-8", errors="replace") as f:
            texts[p] = f.read()
        if p.endswith((".h", ".cpp", ".rc")):
            # A name only a comment still mentions is gone from the code.
            texts[p] = re.sub(r"""("(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])+')|//[^\n]*|/\*.*?\*/""",
                              lambda m: m.group(1) or " ", texts[p], flags=re.S)
word_re = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
words_of = {p: set(word_re.findall(t)) for p, t in texts.items()}
all_words = set().union(*words_of.values())
joined = "\n".join(texts.values())
bases = {os.path.basename(p) for p in tracked}
folders = {os.path.dirname(p) for p in tracked}
for f in list(folders):
    while f:
        f = os.path.dirname(f)
        folders.add(f)
included = set()
for t in texts.values():
    included.update(re.findall(r'#\s*include\s*[<"]([^>"]+)[>"]', t))
    included.update(os.path.basename(i) for i in re.findall(r'#\s*include\s*[<"]([^>"]+)[>"]', t))

def arities(name):
    """(required, most) argument counts of every call or declaration of name."""
    found = []
    for t in texts.values():
        for m in re.finditer(r"\b" + re.escape(name) + r"\s*\(", t):
            i, depth, angle, parts, cur = m.end(), 1, 0, [], ""
            while i < len(t) and depth:
                c = t[i]
                if c in "([{":
                    depth += 1
                elif c in ")]}":
                    depth -= 1
                elif c == "<" and re.search(r"[A-Za-z0-9_]$", cur):
                    angle += 1
                elif c == ">" and angle:
                    angle -= 1
                if depth == 1 and not angle and c == ",":
                    parts.append(cur); cur = ""
                elif depth:
                    cur += c
                i += 1
            parts.append(cur)
            parts = [p.strip() for p in parts]
            if parts == [""] or parts == ["void"]:
                parts = []
            required = sum(1 for p in parts if not re.search(r"[^=!<>]=[^=]", p))
            found.append((required, len(parts)))
    return found

def check_path(span):
    path = span.rstrip("/")
    if any(ch in path for ch in "*?["):
        return any(fnmatch.fnmatchcase(p, path) for p in tracked)
    return path in folders or path in tracked or os.path.exists(path)

def check_file(span):
    if any(ch in span for ch in "*?["):
        return any(fnmatch.fnmatchcase(b, span) for b in bases)
    return span in bases or span in included

def check_words(span):
    """Problems with the identifiers of a span, as texts."""
    problems = []
    for q in re.findall(r"[A-Za-z_]\w*(?:::[A-Za-z_]\w*)+", span):
        parts = q.split("::")
        for a, b in zip(parts, parts[1:]):
            if (a + "::" + b) not in joined and \
               not any(a in w and b in w for w in words_of.values()):
                problems.append("%s and %s are in no file together" % (a, b))
    for w in set(word_re.findall(span)):
        if w not in all_words:
            problems.append("%s is nowhere in the code" % w)
    return problems

def check_glob_word(span):
    rx = re.compile("^" + ".*".join(re.escape(p) for p in span.split("*")) + "$")
    return any(rx.match(w) for w in all_words)

file_ext = re.compile(r"^[\w.*?\[\]-]+\.(h|cpp|rc|txt|md|sh|cmake|nsi|in|png|ico|bmp|manifest)$")
bad = 0
for doc in sys.argv[1:]:
    with open(doc, encoding="utf-8") as f:
        lines = f.read().split("\n")
    fence = False
    for n, line in enumerate(lines, 1):
        if line.lstrip().startswith("```"):
            fence = not fence
            continue
        if fence:
            continue
        for span in re.findall(r"`([^`\n]+)`", line):
            s = span.strip()
            problem = None
            if s.startswith(".") or "\\" in s or s.startswith("#") or s.startswith('"'):
                continue  # an extension, a registry path, an include line, a text
            if "/" in s:
                if not check_path(s):
                    problem = "no such file or folder"
            elif file_ext.match(s):
                if not check_file(s):
                    problem = "no such file"
            elif "*" in s:
                if not check_glob_word(s):
                    problem = "matches no name in the code"
            else:
                probs = check_words(s.replace("...", ""))
                call = re.match(r"^(?:[\w:]+[.:]+)?(\w+)\((.*)\)$", s)
                if not probs and call and call.group(2).strip():
                    given = len([a for a in call.group(2).split(",")])
                    counts = arities(call.group(1))
                    if counts and not any(lo <= given <= hi for lo, hi in counts):
                        takes = " or ".join(sorted({str(hi) if lo == hi else "%d to %d" % (lo, hi) for lo, hi in counts}))
                        probs.append("%s takes %s argument(s) in the code, not %d" % (call.group(1), takes, given))
                if probs:
                    problem = "; ".join(probs)
            if problem:
                print("doc-names: %s:%d: `%s`: %s" % (doc, n, span, problem))
                bad = 1
if bad:
    print("Every name in backticks must name something in the code (fix the notes or the name).", file=sys.stderr)
    sys.exit(1)
print("doc-names: every name in backticks of %s exists" % ", ".join(sys.argv[1:]))
EOF
)" "$@"
