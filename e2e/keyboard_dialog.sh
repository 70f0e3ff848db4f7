#!/usr/bin/env bash
# Keyboard only: the focused first button opens its generator as a dialog,
# Esc closes it and gives the focus back to that button, and Esc in the
# start-up window ends the program cleanly.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init keyboard_dialog "$1"

MAIN="溪岚头像大全- by霁川"
GEN="头像生成器- by霁川"

start_app
main=$(wait_window "$MAIN")
for round in first second; do
    # The second round finds the focus where the first one left it.
    press "$main" space
    gen=$(wait_window "$GEN")
    expect_geometry "$gen" "TriangleWindow ($round opening)" 369 223 286 321
    press "$gen" Escape
    wait_window_gone "$gen" "TriangleWindow"
done
press "$main" Escape
expect_exit_status 0
