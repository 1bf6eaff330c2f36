#!/usr/bin/env bash
# Runs the whole fault matrix, each fault on a fresh machine in a process of its own
# (JOBS side by side), and writes docs/fault-matrix.md from their cells.
# A machine left broken by one fault (a tray pushed past its stopper, say) then holds up
# only that fault's own later phases, not every fault after it.
#
# FAULTS="servo-x height-silent ..." runs only those faults and puts their tables into the
# existing document, recounting its totals and its list of cells that did not end well
# (scripts/fault-matrix-splice.py); NOTE="..." says in its header what was run again.
# KEEP=DIR keeps each fault's cells and log there.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TAVRIN_BUILD:-$ROOT/build}"
OUT="${1:-$ROOT/docs/fault-matrix.md}"
JOBS="${JOBS:-$(nproc)}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
if [ -n "${FAULTS:-}" ]; then
    tr ' ,' '\n\n' <<<"$FAULTS" | sed '/^$/d' >"$WORK/faults"
else
    "$BUILD/tavrin-runner" --list-faults | cut -f1 >"$WORK/faults"
fi
run_one() {
    TAVRIN_DATA="$2/data-$1" "$3/tavrin-runner" --fault-matrix "$2/$1.md" --only "$1" >"$2/$1.log" 2>&1 || true
    echo "$1 done"
}
export -f run_one
xargs -P "$JOBS" -I{} bash -c 'run_one "$@"' _ {} "$WORK" "$BUILD" <"$WORK/faults"
cells=()
while read -r f; do cells+=("$WORK/$f.md.cells"); done <"$WORK/faults"
if [ -n "${KEEP:-}" ]; then cp "$WORK"/*.cells "$WORK"/*.log "$KEEP"/; fi
if [ -n "${FAULTS:-}" ]; then
    "$BUILD/tavrin-runner" --matrix-merge "$WORK/part.md" "${cells[@]}"
    python3 "$ROOT/scripts/fault-matrix-splice.py" "$OUT" "$WORK/part.md" "$WORK/faults" "${NOTE:-}"
else
    "$BUILD/tavrin-runner" --matrix-merge "$OUT" "${cells[@]}"
fi
echo "written: $OUT"
