#!/usr/bin/env bash
# The contact button hands its address, unaltered and as one argument, to
# xdg-open, each time it is pressed, and the program carries on.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init contact_uri "$1"

URI='tencent://AddContact/?fromId=45&fromSubId=1&subcmd=all&uin=517284963&website='
MAIN="溪岚头像大全- by霁川"

# A stand-in xdg-open, first on PATH, that only writes down its arguments.
bin="$ARTIFACTS/bin"
record="$ARTIFACTS/xdg-open.args"
mkdir -p "$bin"
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
for a in "\$@"; do printf '%s\n' "\$a"; done >>"$record"
STUB
chmod +x "$bin/xdg-open"
: >"$record"

start_app PATH="$bin:$PATH"
main=$(wait_window "$MAIN")
# 联系霁川 is the sixth button of the tab order.
press "$main" $(tabs 5)
for n in 1 2; do
    press "$main" space
    # The opener runs detached; give it time to write.
    for ((i = 0; i < 100; i++)); do
        [[ $(wc -l <"$record") -ge $n ]] && break
        sleep 0.1
    done
    [[ $(wc -l <"$record") -ge $n ]] || fail "xdg-open was not started for press $n"
done
sleep 0.5 # a stray third start would show up by now

expected="$(printf '%s\n%s' "$URI" "$URI")"
actual="$(cat "$record")"
[[ "$actual" == "$expected" ]] ||
    fail "xdg-open got, one argument a line:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
note "xdg-open got the address twice, as one argument each time"

app_running || fail "the program ended after opening the address"
main=$(wait_window "$MAIN" 2)
press "$main" Escape
expect_exit_status 0
