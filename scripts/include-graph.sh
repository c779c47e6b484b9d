#!/usr/bin/env bash
# Prints the include graph between the source folders: one line per pair of folders that one
# includes from the other ("from -> to  (n includes)"), then any cycle found. Exits with 1 when the
# graph has a cycle. Only quoted includes count: <...> are system and Qt headers.
#   scripts/include-graph.sh [--tests] [--dot]
#   --tests  also the folders below tests/ (each test folder is a node of its own)
#   --dot    the graph in Graphviz form instead of the table
set -euo pipefail
cd "$(dirname "$0")/.."

with_tests=0
dot=0
for arg in "$@"; do
  case "$arg" in
    --tests) with_tests=1 ;;
    --dot) dot=1 ;;
    *) echo "usage: $0 [--tests] [--dot]" >&2; exit 2 ;;
  esac
done

# The folder a file belongs to: its first path component, or the first two below tools/ and tests/.
folder_of() {
  case "$1" in
    tools/*|tests/*) echo "$1" | cut -d/ -f1-2 ;;
    *) echo "$1" | cut -d/ -f1 ;;
  esac
}

files=$(git ls-files '*.cpp' '*.h' | grep -v '^build' || true)
edges=$(
  for f in $files; do
    case "$f" in tests/*) [ "$with_tests" = 1 ] || continue ;; esac
    case "$f" in */*) ;; *) continue ;; esac
    from=$(folder_of "$f")
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f" |
      while read -r inc; do
        case "$inc" in
          */*) to=$(folder_of "$inc") ;;
          *) to=$from ;; # beside the including file
        esac
        # Tests reach their shared helpers as "support/...".
        [ -d "$to" ] || [ ! -d "tests/$to" ] || to=tests/$to
        # Any other folder not in the tree is a test folder's own.
        [ -d "$to" ] || to=$from
        [ "$to" = "$from" ] || echo "$from $to"
      done
  done | sort | uniq -c | awk '{print $2, $3, $1}'
)

if [ "$dot" = 1 ]; then
  echo "digraph folders {"
  echo "$edges" | awk 'NF==3 {printf "  \"%s\" -> \"%s\" [label=%s];\n", $1, $2, $3}'
  echo "}"
else
  echo "$edges" | awk 'NF==3 {printf "%-22s -> %-22s (%d)\n", $1, $2, $3}'
fi

# Cycles: a depth-first search over the folder graph.
echo "$edges" | awk '
  NF == 3 { adj[$1] = adj[$1] " " $2; nodes[$1]; nodes[$2] }
  function visit(n,    i, k, m, list) {
    state[n] = 1; stack[++depth] = n
    k = split(adj[n], list, " ")
    for (i = 1; i <= k; i++) {
      m = list[i]
      if (state[m] == 1) {
        line = ""
        for (j = 1; j <= depth; j++) if (stack[j] == m) start = j
        for (j = start; j <= depth; j++) line = line stack[j] " -> "
        print "cycle: " line m
        found = 1
      } else if (state[m] == 0) visit(m)
    }
    depth--; state[n] = 2
  }
  END {
    for (n in nodes) if (state[n] == 0) visit(n)
    if (!found) print "no cycle"
    exit found
  }' >&2
