#!/usr/bin/env bash
# A machine without any Chinese font: the program starts, a generator opens,
# typed Chinese still draws (through the toolkit's fallback, as boxes if need
# be) and the program carries on and ends normally.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_init missing_cjk_fonts "$1"

MAIN="溪岚头像大全- by霁川"
GEN="头像生成器- by霁川"
FONTS=/usr/share/fonts/truetype/dejavu

[[ -d "$FONTS" ]] || fail "$FONTS is missing (fonts-dejavu-core, see scripts/packages.txt)"
conf="$ARTIFACTS/fonts.conf"
cat >"$conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$FONTS</dir>
  <cachedir>$ARTIFACTS/fontconfig-cache</cachedir>
</fontconfig>
CONF
# The configuration really hides every Chinese face.
zh="$(FONTCONFIG_FILE="$conf" fc-list :lang=zh family)"
[[ -z "$zh" ]] || fail "the test's font configuration still offers Chinese faces: $zh"
[[ -n "$(FONTCONFIG_FILE="$conf" fc-list : family)" ]] || fail "the test's font configuration offers no face at all"

start_app FONTCONFIG_FILE="$conf"
main=$(wait_window "$MAIN")
# 三角形头像生成 has the focus first; its window is 286 x 321, centred.
press "$main" space
gen=$(wait_window "$GEN")
read -r x y w h <<<"$(window_geometry "$gen")"

before="$ARTIFACTS/before.png"
after="$ARTIFACTS/after.png"
shot_stable "$before" "$x" "$y" "$w" "$h"
type_text "$gen" "溪岚霁川"
shot_stable "$after" "$x" "$y" "$w" "$h"
app_running || fail "the program ended while drawing Chinese without a Chinese font"
read -r changed _ <<<"$(changed_pixels "$before" "$after" 0 0 "$w" "$h" 0)"
note "$changed pixels of the window changed with the typed text"
[[ "$changed" -gt 0 ]] || fail "typing Chinese without a Chinese font drew nothing"

press "$gen" Escape
wait_window_gone "$gen" "the generator"
main=$(wait_window "$MAIN" 2)
press "$main" Escape
expect_exit_status 0 20
