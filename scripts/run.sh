#!/usr/bin/env bash
# Builds Tavrin and starts it on the virtual machine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
setup_data
exec "$BUILD/tavrin"
