#!/usr/bin/env bash
# The start-up window opens centred on the screen at its designed size.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init startup_place "$1"

start_app
main=$(wait_window "溪岚头像大全- by霁川")
expect_geometry "$main" "start-up window" 259 274 505 220
