#!/usr/bin/env bash
# The crash test with 50 kills (the suite runs 10): scripts/crash-test.sh [KILLS] [SEED]
# TAVRIN_CRASH_KEEP=1 leaves the data root (logs, records, the plant's tray file) behind.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
export QT_QPA_PLATFORM=offscreen
export TAVRIN_CRASH_KILLS="${1:-50}" TAVRIN_CRASH_SEED="${2:-17}"
"$BUILD/tests/tst_crashsafe" -maxwarnings 0
