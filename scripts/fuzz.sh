#!/usr/bin/env bash
# Fuzzes the parsers of outside input: scripts/fuzz.sh TARGET SECONDS | all SECONDS
# Builds the targets with clang, ASan and UBSan in build-fuzz/, runs each niced on
# its committed seed corpus (fuzz/corpus/<target>/) plus the inputs it found before
# (build-fuzz/corpus/<target>/), and prints the executions. A crash leaves its input
# in build-fuzz/crashes/<target>/ and makes the script fail.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TAVRIN_FUZZ_BUILD:-$ROOT/build-fuzz}"
TARGETS=(fuzz_parameters fuzz_projectname fuzz_visionparams fuzz_calibration fuzz_password
         fuzz_heightreply fuzz_mesreply fuzz_csv fuzz_mesconfig)
# Longest input per target: a little over what its parser needs to reach every branch
# (a name line, a reply, a few lines of a file). A run costs about its input's length,
# and the fuzzer grows inputs to this size when allowed.
declare -A MAX_LEN=([fuzz_parameters]=512 [fuzz_projectname]=256 [fuzz_visionparams]=512
                    [fuzz_calibration]=1024 [fuzz_password]=512 [fuzz_heightreply]=256
                    [fuzz_mesreply]=1024 [fuzz_csv]=1024 [fuzz_mesconfig]=1024)

[ $# -eq 2 ] || { echo "usage: $0 TARGET|all SECONDS (targets: ${TARGETS[*]})" >&2; exit 2; }
[ "$1" = all ] || [ -n "${MAX_LEN[$1]:-}" ] || { echo "unknown target $1 (targets: ${TARGETS[*]})" >&2; exit 2; }
which=$1
seconds=$2
if [ "$which" = all ]; then
    run=("${TARGETS[@]}")
else
    run=("$which")
fi

for p in clang-14 libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && continue
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "$p"
done
CXX_CLANG="${CXX_CLANG:-$(command -v clang++-14 || command -v clang++ || true)}"
[ -n "$CXX_CLANG" ] || { echo "needs clang++ (Debian: clang-14 libclang-rt-14-dev)" >&2; exit 1; }
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$CXX_CLANG" \
      "${launcher[@]}" -DTAVRIN_FUZZ=ON >/dev/null
nice cmake --build "$BUILD" --parallel "$(nproc)" --target "${run[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/fuzz/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
failed=0
for t in "${run[@]}"; do
    seeds="$ROOT/fuzz/corpus/$t"
    [ -d "$seeds" ] || { echo "$t: no seed corpus at $seeds" >&2; exit 2; }
    work="$BUILD/corpus/$t"
    crashes="$BUILD/crashes/$t"
    mkdir -p "$work" "$crashes"
    log="$BUILD/$t.log"
    status=0
    nice -n 10 "$BUILD/fuzz/$t" "$work" "$seeds" -max_total_time="$seconds" -max_len="${MAX_LEN[$t]}" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    echo "$t: ${execs:-?} executions in ${seconds} s (${rate:-?}/s), exit $status"
    if [ "$status" -ne 0 ]; then
        failed=1
        grep -E "ERROR|runtime error|rule broken|Test unit written" "$log" | head -5
    fi
done
exit $failed
