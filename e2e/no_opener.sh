#!/usr/bin/env bash
# The contact button when the address cannot be opened: no xdg-open on PATH
# at all, or one that fails. Nothing is reported to the user, the menu stays
# usable, and no process is left behind by the program.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init no_opener "$1"

MAIN="溪岚头像大全- by霁川"
GEN="头像生成器- by霁川"

# Titles of every viewable window with a title.
visible_titles() {
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        window_viewable "$id" && xdotool getwindowname "$id" 2>/dev/null
    done | sort -u
}

# The program's own children, which would be an opener it did not let go.
app_children() {
    cat /proc/"$APP_PID"/task/*/children 2>/dev/null | tr -s ' ' '\n' | grep -v '^$' || true
}

run_case() {
    local what="$1" path="$2" log="$ARTIFACTS/program.log"
    note "case: $what"
    start_app PATH="$path"
    local main
    main=$(wait_window "$MAIN")
    local logged
    logged=$(wc -c <"$log" 2>/dev/null || echo 0)
    # 联系霁川 is the sixth button of the tab order; press it twice.
    press "$main" $(tabs 5)
    press "$main" space
    sleep 0.5
    press "$main" space
    sleep 1

    app_running || fail "$what: the program ended after the contact button"
    local titles
    titles="$(visible_titles)"
    [[ "$titles" == "$MAIN" ]] ||
        fail "$what: windows on the screen after pressing the contact button:"$'\n'"$titles"
    # The opener shares the program's output; only its own complaint may be
    # there.
    local said
    said="$(tail -c +$((logged + 1)) "$log" | grep -v '^xdg-open: ' || true)"
    [[ -z "$said" ]] || fail "$what: the program wrote to its output: $said"
    [[ -z "$(app_children)" ]] || fail "$what: the program still has children: $(app_children)"
    note "$what: nothing reported, no child process"

    # Still usable: Shift+Tab goes back to 动物头像生成, which opens its window.
    main=$(wait_window "$MAIN" 2)
    press "$main" shift+Tab space
    local gen
    gen=$(wait_window "$GEN")
    press "$gen" Escape
    wait_window_gone "$gen" "$what: the generator"
    main=$(wait_window "$MAIN" 2)
    press "$main" Escape
    expect_exit_status 0 20
}

# Nothing but an empty folder on PATH: xdg-open cannot even be found. The
# program itself needs nothing from PATH; the tools this script runs are
# found through the script's own PATH.
empty="$ARTIFACTS/empty-bin"
mkdir -p "$empty"
run_case "no xdg-open on PATH" "$empty"

# An xdg-open that fails, as it does when no handler for the scheme is set.
failing="$ARTIFACTS/failing-bin"
pids="$ARTIFACTS/opener.pids"
mkdir -p "$failing"
: >"$pids"
cat >"$failing/xdg-open" <<STUB
#!/bin/sh
echo \$\$ >>"$pids"
echo "xdg-open: no method available for opening '\$1'" >&2
exit 1
STUB
chmod +x "$failing/xdg-open"
run_case "xdg-open fails" "$failing:$PATH"
[[ $(wc -l <"$pids") -eq 2 ]] || fail "the failing xdg-open ran $(wc -l <"$pids") times, expected 2"
# The opener's own processes are gone (a zombie waiting for init is gone
# from the program's point of view: it is not the program's child).
while read -r pid; do
    state=$(awk '{print $3}' /proc/"$pid"/stat 2>/dev/null || true)
    [[ -z "$state" || "$state" == Z ]] || fail "the failing xdg-open ($pid) is still running"
done <"$pids"
note "the failing xdg-open ran twice and ended each time"
