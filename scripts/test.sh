#!/usr/bin/env bash
# Builds Tavrin and runs the whole test suite offscreen; non-zero on any failure.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
setup_data
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure --parallel "$(nproc)"
