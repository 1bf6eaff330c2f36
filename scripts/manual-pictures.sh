#!/usr/bin/env bash
# Takes the operator manual's pictures from the running program on the virtual machine.
EXTRA_PACKAGES=(xvfb xauth)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
OUT="${1:-$ROOT/docs/images}"
DATA="$(mktemp -d)"
trap 'rm -rf "$DATA"' EXIT
mkdir -p "$OUT"
TAVRIN_DATA="$DATA" QT_QPA_PLATFORM=offscreen "$BUILD/tavrin-setup"
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 TAVRIN_DATA="$DATA" TAVRIN_TOUR_DIR="$OUT" \
    xvfb-run -a -s "-screen 0 1920x1080x24" "$BUILD/tavrin"
ls "$OUT"
