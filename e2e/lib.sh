# Helpers for the end-to-end tests and scripts/screenshots: an Xvfb server,
# the program under it, its windows, the keyboard and screenshots. Sourced,
# not run. Everything fails loudly through fail(), which names the step.
#
# There is no window manager on the server, so windows have no frame (outer
# size = X window size) and keyboard focus never follows activation: a window
# is given the focus explicitly before every key sent to it.

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
SCREEN_W=1024
SCREEN_H=768

# The first ImageMagick on PATH may be a stand-in; these are the real ones.
IM_CONVERT=/usr/bin/convert
IM_IMPORT=/usr/bin/import
IM_COMPARE=/usr/bin/compare

APP_PID=""
APP_STATUS=""
ARTIFACTS=""

fail() {
    echo "FAIL: $*" >&2
    if [[ -n "$ARTIFACTS" && -d "$ARTIFACTS" ]]; then
        save_shot "$ARTIFACTS/failure-screen.png" 2>/dev/null || true
        echo "Screenshots and the program's output are kept in $ARTIFACTS" >&2
    fi
    exit 1
}

note() {
    echo "-- $*"
}

require_tools() {
    local t
    for t in Xvfb xdotool xwininfo "$IM_CONVERT" "$IM_IMPORT" "$IM_COMPARE" /usr/bin/python3; do
        command -v "$t" >/dev/null 2>&1 || fail "required tool '$t' is missing (see scripts/packages.txt)"
    done
}

# ---------------------------------------------------------------- Xvfb server

# Starts a server on a free display, which the server picks itself
# (-displayfd), so that parallel builds or a developer's own :0 never clash.
# Records display and pid in STATE_DIR.
xvfb_start() {
    local state="$1"
    mkdir -p "$state"
    xvfb_stop "$state"
    rm -f "$state/display" "$state/pid"
    # Detached from the caller's session and output, so that a CTest setup
    # step can finish while the server lives on.
    setsid Xvfb -displayfd 9 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset \
        9>"$state/display" >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! >"$state/pid"
    local i
    for ((i = 0; i < 200; i++)); do
        if [[ -s "$state/display" ]] && grep -q '^[0-9]\+$' "$state/display"; then
            if DISPLAY=":$(cat "$state/display")" xwininfo -root >/dev/null 2>&1; then
                return 0
            fi
        fi
        kill -0 "$(cat "$state/pid")" 2>/dev/null || break
        sleep 0.1
    done
    cat "$state/xvfb.log" >&2
    echo "FAIL: Xvfb did not start (log above)" >&2
    return 1
}

xvfb_stop() {
    local state="$1" pid
    [[ -f "$state/pid" ]] || return 0
    pid="$(cat "$state/pid")"
    # Only our own server: the pid file may be stale after a reboot.
    if [[ -n "$pid" ]] && [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]]; then
        kill "$pid" 2>/dev/null || true
        local i
        for ((i = 0; i < 50; i++)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$state/pid" "$state/display"
}

# Points DISPLAY at the server recorded in STATE_DIR.
use_display() {
    local state="$1"
    [[ -s "$state/display" ]] || fail "no Xvfb server recorded in $state (did the e2e_xvfb_start fixture run?)"
    export DISPLAY=":$(cat "$state/display")"
    xwininfo -root >/dev/null 2>&1 || fail "the Xvfb server on $DISPLAY does not answer"
}

# ---------------------------------------------------------------- test set-up

# Call first in every test: TEST_NAME, then the program's binary.
# Needs E2E_STATE (the fixture's folder) and E2E_ARTIFACTS from the test's
# environment.
e2e_init() {
    local name="$1"
    APP_BIN="$2"
    require_tools
    [[ -x "$APP_BIN" ]] || fail "program binary '$APP_BIN' not found"
    [[ -n "${E2E_STATE:-}" ]] || fail "E2E_STATE is not set; run the tests through ctest"
    use_display "$E2E_STATE"
    ARTIFACTS="${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/$name"
    rm -rf "$ARTIFACTS"
    mkdir -p "$ARTIFACTS"
    trap e2e_exit EXIT
    note "display $DISPLAY, artefacts in $ARTIFACTS"
}

e2e_exit() {
    local rc=$?
    stop_app
    # Keep what a failure left behind; a passing test leaves nothing.
    if [[ $rc -eq 0 && -n "$ARTIFACTS" ]]; then
        rm -rf "$ARTIFACTS"
    fi
    exit $rc
}

# ---------------------------------------------------------------- the program

# Starts the program; extra arguments are NAME=VALUE pairs for its
# environment (PATH for a stand-in xdg-open).
start_app() {
    local log="${ARTIFACTS:-/tmp}/program.log"
    [[ -z "$APP_PID" ]] || stop_app
    APP_STATUS=""
    local runtime="${ARTIFACTS:-/tmp}/runtime"
    mkdir -p "$runtime" && chmod 700 "$runtime"
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" "$@" \
        "$APP_BIN" >>"$log" 2>&1 </dev/null &
    APP_PID=$!
}

app_running() {
    [[ -n "$APP_PID" ]] && kill -0 "$APP_PID" 2>/dev/null
}

# Waits up to TIMEOUT seconds for the program to end and sets APP_STATUS to its
# exit status; fails if it is still running.
wait_app_exit() {
    local timeout="${1:-10}" i
    for ((i = 0; i < timeout * 10; i++)); do
        app_running || break
        sleep 0.1
    done
    app_running && fail "the program is still running ${timeout}s after it should have ended"
    # bash keeps the status of a finished background job for wait.
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=""
}

expect_exit_status() {
    local want="$1" timeout="${2:-10}"
    wait_app_exit "$timeout"
    [[ "$APP_STATUS" == "$want" ]] || fail "the program ended with status $APP_STATUS, expected $want"
    note "the program ended with status $APP_STATUS"
}

stop_app() {
    if app_running; then
        kill "$APP_PID" 2>/dev/null || true
        local i
        for ((i = 0; i < 30; i++)); do
            app_running || break
            sleep 0.1
        done
        kill -9 "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    APP_PID=""
}

# ---------------------------------------------------------------- windows

window_viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Prints the id of the viewable window titled exactly TITLE, waiting up to
# TIMEOUT seconds for it. Several ids may carry the title (a toolkit keeps
# helper windows); only a mapped one counts.
wait_window() {
    local title="$1" timeout="${2:-15}" i id
    for ((i = 0; i < timeout * 10; i++)); do
        for id in $(xdotool search --name "^${title}\$" 2>/dev/null); do
            if window_viewable "$id"; then
                echo "$id"
                return 0
            fi
        done
        app_running || fail "the program ended while waiting for window '$title'"
        sleep 0.1
    done
    fail "no window titled '$title' appeared within ${timeout}s"
}

# True when no viewable window is titled TITLE.
no_window() {
    local id
    for id in $(xdotool search --name "^${1}\$" 2>/dev/null); do
        window_viewable "$id" && return 1
    done
    return 0
}

wait_window_gone() {
    local id="$1" what="$2" timeout="${3:-10}" i
    for ((i = 0; i < timeout * 10; i++)); do
        window_viewable "$id" || return 0
        sleep 0.1
    done
    fail "$what is still on the screen ${timeout}s after it should have closed"
}

# Prints "X Y W H" of a window on the screen.
window_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# Fails unless window ID is at X,Y with size WxH.
expect_geometry() {
    local id="$1" what="$2" want="$3 $4 $5 $6" got
    got="$(window_geometry "$id")"
    [[ "$got" == "$want" ]] ||
        fail "$what: place and size are '$got' (x y w h), expected '$want'"
    note "$what at $3,$4 size $5x$6"
}

# Where a window of size WxH lies when centred on the screen.
centred_place() {
    echo $(((SCREEN_W - $1) / 2)) $(((SCREEN_H - $2) / 2))
}

# ---------------------------------------------------------------- keyboard

focus_window() {
    xdotool windowfocus --sync "$1" || fail "could not give window $1 the focus"
}

# Gives window ID the focus and presses the keys (xdotool key names).
press() {
    local id="$1"
    shift
    focus_window "$id"
    xdotool key --delay 60 "$@" || fail "xdotool could not press $*"
}

# Gives window ID the focus and types TEXT, Chinese characters included.
type_text() {
    local id="$1" text="$2"
    focus_window "$id"
    xdotool type --delay 80 "$text" || fail "xdotool could not type '$text'"
}

# Prints "Tab Tab ..." N times (nothing for 0).
tabs() {
    local n="$1" i out=()
    for ((i = 0; i < n; i++)); do out+=(Tab); done
    echo "${out[@]}"
}

# ---------------------------------------------------------------- screenshots

save_shot() {
    local out="$1" geometry="${2:-}"
    if [[ -n "$geometry" ]]; then
        "$IM_IMPORT" -display "$DISPLAY" -window root -crop "$geometry" +repage "$out"
    else
        "$IM_IMPORT" -display "$DISPLAY" -window root "$out"
    fi
}

# Screenshot of the screen rectangle X Y W H into OUT, taken once two
# captures in a row agree, so that a repaint still under way is not caught
# half done. Gives up waiting after about 5 s and keeps the last capture.
shot_stable() {
    local out="$1" x="$2" y="$3" w="$4" h="$5" i
    local geometry="${w}x${h}+${x}+${y}" prev="$out.prev.png"
    save_shot "$prev" "$geometry" || fail "screenshot of $geometry failed"
    for ((i = 0; i < 25; i++)); do
        sleep 0.2
        save_shot "$out" "$geometry" || fail "screenshot of $geometry failed"
        if [[ "$("$IM_COMPARE" -metric AE "$prev" "$out" null: 2>&1)" == 0 ]]; then
            rm -f "$prev"
            return 0
        fi
        mv -f "$out" "$prev"
    done
    mv -f "$prev" "$out"
}

# Compares two screenshots of one area: prints "inside OUTSIDE_BOX" counts of
# changed pixels inside the rectangle X Y W H (in the shots' coordinates)
# grown by MARGIN, and outside it.
changed_pixels() {
    local before="$1" after="$2" x="$3" y="$4" w="$5" h="$6" margin="${7:-0}"
    /usr/bin/python3 "$E2E_DIR/regiondiff.py" \
        <("$IM_CONVERT" "$before" -alpha off -depth 8 ppm:-) \
        <("$IM_CONVERT" "$after" -alpha off -depth 8 ppm:-) \
        "$x" "$y" "$w" "$h" "$margin"
}
