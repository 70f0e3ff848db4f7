#!/usr/bin/env bash
# A start-up window that cannot be built: the program says so in a message
# box, and once that is dismissed it ends with a failure status, having shown
# no other window.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init broken_startup "$1"

start_app
box=$(wait_window "错误")
note "the message box is on the screen"
for title in "溪岚头像大全- by霁川" "头像生成器- by霁川"; do
    no_window "$title" || fail "a window titled '$title' is on the screen beside the message box"
done
app_running || fail "the program ended before the message box was dismissed"
# The box's only button, 确定 (OK), has the focus.
press "$box" Return
wait_window_gone "$box" "the message box"
expect_exit_status 1 20
# Under the sanitizers a finding also ends the program with status 1; the
# status must be the program's own.
! grep -q 'Sanitizer' "$ARTIFACTS/program.log" ||
    fail "a sanitizer reported on the program: $(grep -m1 'Sanitizer' "$ARTIFACTS/program.log")"
