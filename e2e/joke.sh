#!/usr/bin/env bash
# The last button shows a message box; dismissing it, whichever way, ends the
# program cleanly.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init joke "$1"

MAIN="溪岚头像大全- by霁川"
BOX="霁川最帅"

# keys that reach 霁川头像生成 from 按钮1 | key that dismisses the box
cases=(
    "shift+Tab|Return"
    "shift+Tab|Escape"
    "$(tabs 8)|space"
)
for c in "${cases[@]}"; do
    reach="${c%|*}" dismiss="${c#*|}"
    note "reach with '$reach', dismiss with '$dismiss'"
    start_app
    main=$(wait_window "$MAIN")
    press "$main" $reach space
    box=$(wait_window "$BOX")
    press "$box" "$dismiss"
    expect_exit_status 0
done
