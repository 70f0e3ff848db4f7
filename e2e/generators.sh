#!/usr/bin/env bash
# Every generator, reached from the start-up window by keyboard: it opens
# centred at its size, typing a name into its first input redraws the picture
# in that input's overlay and nowhere else, Esc closes it and hands the focus
# back to the button that opened it, and Esc then ends the program.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init generators "$1"

MAIN="溪岚头像大全- by霁川"
GEN="头像生成器- by霁川"
NAME="Li李"

# Rectangles are in the generator window's client coordinates. "text" is
# where 编辑框1's overlay may draw: its own rectangle, except AnimalWindow's,
# whose left-aligned text may run on to the picture's right edge (x=272).
#   window       tabs  width height  picture box     text area
cases=(
    "TriangleWindow    0  286 321   8  8 248 240    56 160 160  32"
    "BloomWindow       1  295 351  16  8 256 232   138  39  72  56"
    "WhiteStripeWindow 2  294 389   8  8 256 232    16  64 248 120"
    "SemicircleWindow  3  291 349   8  8 256 232    64  32  60  60"
    "AnimalWindow      4  298 348  16  8 256 232   104  12 168  44"
    "CountryNameWindow 6  243 293   8  8 200 176    24  24  72  56"
    "BrandStyleWindow  7  295 352  16 11 264 253    60  67  72  64"
)

run_case() {
    local name="$1" ntabs="$2" w="$3" h="$4" px="$5" py="$6" pw="$7" ph="$8"
    local tx="$9" ty="${10}" tw="${11}" th="${12}"
    local x y main gen before after result inside outside bbox
    read -r x y <<<"$(centred_place "$w" "$h")"

    start_app
    main=$(wait_window "$MAIN")
    press "$main" $(tabs "$ntabs") space
    gen=$(wait_window "$GEN")
    expect_geometry "$gen" "$name" "$x" "$y" "$w" "$h"

    before="$ARTIFACTS/$name-before.png"
    after="$ARTIFACTS/$name-after.png"
    shot_stable "$before" $((x + px)) $((y + py)) "$pw" "$ph"
    # The first input of the tab order has the focus on opening.
    type_text "$gen" "$NAME"
    shot_stable "$after" $((x + px)) $((y + py)) "$pw" "$ph"

    # Anti-aliased edges may touch the pixel next to the rectangle.
    result=$(changed_pixels "$before" "$after" $((tx - px)) $((ty - py)) "$tw" "$th" 1)
    read -r inside outside bbox <<<"$result"
    "$IM_COMPARE" "$before" "$after" "$ARTIFACTS/$name-diff.png" 2>/dev/null || true
    note "$name: $inside pixels changed in the text area, $outside elsewhere (changes span $bbox in the picture box)"
    [[ "$inside" -gt 0 ]] || fail "$name: typing '$NAME' changed nothing in 透明标签1's area ($tx,$ty ${tw}x$th)"
    [[ "$outside" -eq 0 ]] ||
        fail "$name: typing '$NAME' changed $outside pixels of the picture outside 透明标签1's area (changes span $bbox, picture-box coordinates)"

    press "$gen" Escape
    wait_window_gone "$gen" "$name"
    # Space on the start-up window opens the same generator again only if
    # the focus went back to its button.
    main=$(wait_window "$MAIN" 2)
    press "$main" space
    gen=$(wait_window "$GEN")
    expect_geometry "$gen" "$name (opened again)" "$x" "$y" "$w" "$h"
    press "$gen" Escape
    wait_window_gone "$gen" "$name"

    press "$main" Escape
    expect_exit_status 0
    rm -f "$before" "$after" "$ARTIFACTS/$name-diff.png"
}

# One program per generator, each case in its own subshell so that a failing
# one is reported and the rest still run.
failed=()
for c in "${cases[@]}"; do
    # shellcheck disable=SC2086
    set -- $c
    note "== $1"
    # Not as an if condition: that would switch off set -e inside.
    set +e
    (
        set -e
        trap stop_app EXIT
        run_case "$@"
    )
    rc=$?
    set -e
    [[ $rc -eq 0 ]] || failed+=("$1")
done
[[ ${#failed[@]} -eq 0 ]] || fail "failed: ${failed[*]}"
