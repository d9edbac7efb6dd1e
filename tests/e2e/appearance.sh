#!/usr/bin/env bash
# How the window looks, checked on screenshots at the pixels its geometry
# gives: the combo boxes' borders and the buttons' colours, the frequency
# digits and panel border stopped and lit by a signal, the S-meter's lit and
# unlit segments, the compact arrangement of a narrow window, and the whole
# window scaled at 144 DPI (compact) and at 120 DPI (full). The screenshots
# stay in the work folder.
#
#   appearance.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"
pixels() { python3 "$(dirname "$0")/pixels.py" "$@"; }

# Wine reads the DPI when a program starts. The prefix serves every test of
# the run, so 96 DPI comes back whatever happens here.
set_dpi() {
  "$E2E_WINE_RUN" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    e2e_error "could not set the DPI to $1"
}
trap 'set_dpi 96; e2e_cleanup' EXIT

e2e_scene v4 usb-7150 noise

# Colours, as the window paints them.
cyan_digits="65 220 255" green_digits="65 255 110"
unlit_border="44 211 137" lit_border="92 255 139"
combo_border="25 187 231" panel_border="12 135 179"

# rect <id>: "left top right bottom" of a control, relative to the client area.
rect() {
  local l t r b
  read -r l t r b <<<"$(e2e_probe rect "$1")"
  echo "$((l - ox)) $((t - oy)) $((r - ox)) $((b - oy))"
}

# at_least <label> <minimum> <count>
at_least() { [ "$3" -ge "$2" ] || e2e_error "$1: $3, expected at least $2"; }

# A closed combo box paints its border one pixel inside its rectangle, at
# the device's own resolution: top, left and bottom edges at their middles.
check_combo_border() {
  local shot=$1 id=$2 l t r b mx my
  read -r l t r b <<<"$(rect "$id")"
  mx=$(((l + r) / 2)) my=$(((t + b) / 2))
  e2e_check "$shot: combo $id top border" "$combo_border" "$(pixels pixel "$shot" $((ox + mx)) $((oy + t + 1)))"
  e2e_check "$shot: combo $id left border" "$combo_border" "$(pixels pixel "$shot" $((ox + l + 1)) $((oy + my)))"
  e2e_check "$shot: combo $id bottom border" "$combo_border" "$(pixels pixel "$shot" $((ox + mx)) $((oy + b - 2)))"
}

# Buttons are drawn three times larger and reduced, so their border row is
# close to, not exactly, the palette's border colour.
check_button_border() {
  local shot=$1 id=$2 expected=$3 l t r b
  read -r l t r b <<<"$(rect "$id")"
  [ "$(pixels count "$shot" $((ox + (l + r) / 2 - 2)) $((oy + t + 1)) $((ox + (l + r) / 2 + 3)) $((oy + t + 2)) \
    $expected 30)" -eq 5 ] ||
    e2e_error "$shot: button $id border is not near $expected: $(pixels pixel "$shot" $((ox + (l + r) / 2)) $((oy + t + 1)))"
}

# digits <shot>: "<cyan pixels> <green pixels>" in the field.
digits() {
  local l t r b box
  read -r l t r b <<<"$(rect 101)"
  box="$((ox + l)) $((oy + t)) $((ox + r)) $((oy + b))"
  echo "$(pixels count "$1" $box $cyan_digits 30) $(pixels count "$1" $box $green_digits 30)"
}

# Whether the field's digits are lit, by their colour.
check_digits() {
  local shot=$1 wanted=$2 cyan green
  read -r cyan green <<<"$(digits "$shot")"
  if [ "$wanted" = lit ]; then
    at_least "$shot: green digits" 300 "$green"
    e2e_check "$shot: cyan digits while lit" 0 "$cyan"
  else
    at_least "$shot: cyan digits" 300 "$cyan"
    e2e_check "$shot: green digits while unlit" 0 "$green"
  fi
}

# digit_height <shot> <colour>: rows the field's digits cover.
digit_height() {
  local l t r b
  read -r l t r b <<<"$(rect 101)"
  pixels height "$1" $((ox + l)) $((oy + t)) $((ox + r)) $((oy + b)) $2 30
}

# The top border row of a panel whose top is at logical y 8 (the SOURCE
# RADIO panel, the frequency panel), in the given colour from logical x on
# over the given logical width; the panels are drawn through the UI scale.
check_border_row() {
  local shot=$1 colour=$2 scale=$3 x y w count
  read -r x y w <<<"$(python3 -c "print(round($4 * $scale), round((9 + 28) * $scale), round($5 * $scale))")"
  count=$(pixels count "$shot" $((ox + x)) $((oy + y - 1)) $((ox + x + w)) $((oy + y + 2)) $colour 10)
  at_least "$shot: border from x $4 in $colour" "$w" "$count"
}

# Caption pixels of the spectrum panel, whose caption starts at logical
# (x + 10, y + 3): "AFFICHAGE SPECTRE" in full, "SPECTRE" when compact.
spectrum_caption() {
  pixels count "$1" $((ox + $2 + 10)) $((oy + $3 + 31)) $((ox + $2 + 210)) $((oy + $3 + 51)) 223 240 252 40
}

# choice_text_differs <shot> <other shot>: pixels that differ between the two
# in the dongle panel's line under the list, "Mémorisée" or "À choisir"
# (logical 18, 109 at scale 1).
choice_text_differs() {
  pixels differ "$1" "$2" $((ox + 18)) $((oy + 28 + 107)) $((ox + 140)) $((oy + 28 + 125))
}

# button_lit <shot> <id> <lit|unlit>: a row button in the chosen palette or not.
button_lit() {
  if [ "$3" = lit ]; then check_button_border "$1" "$2" "63 243 105"; else check_button_border "$1" "$2" "15 187 238"; fi
}

# A screenshot once the digits are lit, within a limit.
shot_when_lit() {
  local shot=$1 green
  for _ in $(seq 20); do
    e2e_screenshot "$shot"
    read -r _ green <<<"$(digits "$shot")"
    [ "$green" -ge 300 ] && return 0
    sleep 0.5
  done
  e2e_error "the frequency digits never lit"
}

# The first start at a new DPI can keep the window busy for a few seconds
# (Wine prepares its fonts), longer than the probe waits for one answer.
start_program() {
  e2e_start "$E2E_EXE"
  e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 40000
}

tune_to_signal() {
  e2e_probe combo-select 115 1 click 302 set-text 101 "7,151" key 101 VK_RETURN
  e2e_expect "007.151000" text 101
}

# ---- 96 DPI, the default window: the full arrangement.
set_dpi 96
start_program
read -r ox oy <<<"$(e2e_probe client-origin)"
e2e_expect "1320 740" client-size
e2e_check "start button, full arrangement" "234 44 344 78" "$(rect 100)"
e2e_check "scanner start, 258 from the right" "1062 90 1192 118" "$(rect 134)"
prompt_shot=$E2E_WORK/prompt-96.png
e2e_screenshot "$prompt_shot"
tune_to_signal

shot=$E2E_WORK/stopped-96.png
e2e_screenshot "$shot"
for id in 115 108 121 117 113 133; do check_combo_border "$shot" "$id"; done
# Stopped, USB chosen: start green, stop disabled, "Accorder" cyan, pause
# amber, the chosen mode green and the others in the normal palette.
while read -r id colour; do check_button_border "$shot" "$id" "$colour"; done <<'BUTTONS'
100 63 243 105
129 62 104 126
102 27 216 218
137 255 205 25
139 248 88 96
300 15 187 238
302 63 243 105
BUTTONS
[ "$(choice_text_differs "$shot" "$prompt_shot")" -gt 20 ] ||
  e2e_error "$shot: the dongle panel shows the same line once a dongle is chosen as under the prompt"
check_digits "$shot" unlit
check_border_row "$shot" "$unlit_border" 1 560 220
check_border_row "$shot" "$panel_border" 1 30 170
faults=$(pixels meter "$shot" "$ox" "$oy" 1 816 8 230 0 0) || e2e_error "S-meter while stopped: $faults"
full_height=$(digit_height "$shot" "$cyan_digits")
# Width 1320: modeW 293, filterW 236, the spectrum panel at (775, 91).
full_caption=$(spectrum_caption "$shot" 775 91)

# Receiving the -40 dBFS tone: digits and panel border lit, 15 segments lit.
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
shot=$E2E_WORK/receiving-96.png
shot_when_lit "$shot"
sleep 1
e2e_screenshot "$shot"
check_digits "$shot" lit
check_border_row "$shot" "$lit_border" 1 560 220
check_button_border "$shot" 129 "248 88 96"
faults=$(pixels meter "$shot" "$ox" "$oy" 1 816 8 230 0 15) || e2e_error "S-meter at -40 dBFS: $faults"

# The filter presets light the form's width whatever set it: typed and
# applied with Enter, or dragged on the plot.
button_lit "$shot" 401 lit
e2e_probe set-text 107 "3000" key 107 VK_RETURN
sleep 0.5
shot=$E2E_WORK/typed-3000-96.png
e2e_screenshot "$shot"
button_lit "$shot" 401 unlit
button_lit "$shot" 402 lit
# CW in a 48 kHz view, where its 800 Hz are wide enough to take an edge:
# 10 columns in, at 25 Hz a column on both sides, give 300 Hz. Tuned far
# enough for the span to be centred on the tuned frequency.
e2e_probe click 304 click 341 set-text 101 "7,5" set-text 107 "800" key 107 VK_RETURN
e2e_expect_table <<'TABLE'
text 107 => 800
text 101 => 007.500000
TABLE
E2E_SPAN=48000 e2e_plot_geometry
upper=$(E2E_SPAN=48000 e2e_plot_calc "mid + trunc(400 * L / span)")
spectrum_y=$((44 + PLOT_SPEC_H / 2))
e2e_plot_drag "$upper" "$spectrum_y" "$((upper - 10))" "$spectrum_y"
e2e_expect 300 text 107
sleep 0.5
shot=$E2E_WORK/dragged-300-96.png
e2e_screenshot "$shot"
button_lit "$shot" 400 lit
button_lit "$shot" 402 unlit
e2e_probe click 302 click 343
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

# The list's prompt chosen again: the panel says so, as at the start.
e2e_probe combo-select 115 0
sleep 0.5
shot=$E2E_WORK/prompt-again-96.png
e2e_screenshot "$shot"
e2e_check "$shot: dongle panel line under the prompt, as at the start" 0 "$(choice_text_differs "$shot" "$prompt_shot")"
e2e_probe combo-select 115 1

# ---- Narrower than 1200 logical pixels: the compact arrangement, with the
# S-meter in the caption band and the smaller frequency font.
e2e_expect "1100 740" resize 1100 740 client-size
e2e_check "start button, compact arrangement" "234 44 338 78" "$(rect 100)"
e2e_check "scanner start follows the width" "842 90 972 118" "$(rect 134)"
sleep 1
shot=$E2E_WORK/compact-96.png
e2e_screenshot "$shot"
check_digits "$shot" unlit
check_combo_border "$shot" 115
faults=$(pixels meter "$shot" "$ox" "$oy" 1 460 -24 275 1 0) || e2e_error "compact S-meter while stopped: $faults"
compact_height=$(digit_height "$shot" "$cyan_digits")
# Width 1100: modeW 214, filterW 172, the spectrum panel at (632, 96).
compact_caption=$(spectrum_caption "$shot" 632 96)
at_least "$shot: caption of the moved spectrum panel" 100 "$compact_caption"
[ "$((full_caption * 10))" -ge "$((compact_caption * 16))" ] ||
  e2e_error "spectrum panel caption: $full_caption pixels in full, $compact_caption compact; expected a shorter one"
python3 -c "import sys; sys.exit(0 if 1.3 <= $full_height / $compact_height <= 1.6 else 1)" ||
  e2e_error "digits $full_height rows high in the full arrangement, $compact_height in the compact one"

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code at 96 DPI" 0 "$E2E_EXIT_CODE"

# The runs at a higher DPI: the scale is the DPI's own limited by the work
# area (the whole screen here), and the default window is as large as that
# scale makes it, within the screen.
read -r screen_w screen_h <<<"$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { sub("x", " ", $2); print $2 }')"
# lround of a product, as the window places its controls.
scaled() { python3 -c "import math; print(*(math.floor(float(v) * $scale + 0.5) for v in '$*'.split()))"; }

# start_at_dpi <dpi>: the program started at that DPI; sets ox, oy, scale
# and width, the client area's logical width.
start_at_dpi() {
  local win_w win_h client_w
  set_dpi "$1"
  start_program
  read -r ox oy <<<"$(e2e_probe client-origin)"
  scale=$(python3 -c "print(min($1 / 96, $screen_h / 700, $screen_w / 1020))")
  read -r win_w win_h <<<"$(scaled 1320 740)"
  e2e_expect "$((win_w < screen_w ? win_w : screen_w)) $((win_h < screen_h ? win_h : screen_h))" client-size
  read -r client_w _ <<<"$(e2e_probe client-size)"
  width=$(python3 -c "print(int($client_w / $scale))")
}

# receive_lit <shot>: the signal tuned and received, shot once the digits
# are lit and the S-meter has settled.
receive_lit() {
  tune_to_signal
  e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
  shot_when_lit "$1"
  sleep 1
  e2e_screenshot "$1"
}

# check_digit_scale <shot> <arrangement> <height at 96 DPI> <dpi>: the lit
# digits are as much taller as the scale says, within 15 %.
check_digit_scale() {
  local large
  large=$(digit_height "$1" "$green_digits")
  python3 -c "import sys; sys.exit(0 if abs($large / $3 / $scale - 1) <= 0.15 else 1)" ||
    e2e_error "$2 digits $3 rows high at 96 DPI and $large at $4 DPI (scale $scale)"
}

# stop_and_close <label>
stop_and_close() {
  e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
  e2e_probe close wait-gone 20000
  e2e_wait_exit 20
  e2e_check "exit code $1" 0 "$E2E_EXIT_CODE"
}

# ---- 144 DPI: the 1.5 scale limited by the screen's height, and the
# default window then fills the screen in the compact arrangement.
start_at_dpi 144
read -r x y w h <<<"$(scaled 234 44 104 34)"
e2e_check "start button at 144 DPI (scale $scale, compact)" "$x $y $((x + w)) $((y + h))" "$(rect 100)"
read -r x y w h <<<"$(scaled 530 40 0 35)"
read -r l t _ b <<<"$(rect 101)"
e2e_check "frequency field's place and height at 144 DPI" "$x $y $h" "$l $t $((b - t))"
shot=$E2E_WORK/receiving-144.png
receive_lit "$shot"
check_digits "$shot" lit
check_border_row "$shot" "$lit_border" "$scale" 560 220
check_border_row "$shot" "$panel_border" "$scale" 30 170
check_combo_border "$shot" 115
check_button_border "$shot" 302 "63 243 105"
faults=$(pixels meter "$shot" "$ox" "$oy" "$scale" 460 -24 275 1 15) || e2e_error "S-meter at 144 DPI: $faults"
check_digit_scale "$shot" compact "$compact_height" 144
stop_and_close "at 144 DPI"

# ---- 120 DPI: scale 1.25, and the window, the screen's width wide, is
# still 1200 logical pixels or more: the full arrangement, with the S-meter
# in its own panel right of the frequency panel ({freqW + 536, 8,
# width - freqW - 810, 78} with freqW 280).
start_at_dpi 120
e2e_check "logical width at 120 DPI, full arrangement" 1 "$((width >= 1200))"
read -r x y w h <<<"$(scaled 234 44 110 34)"
e2e_check "start button at 120 DPI (scale $scale, full)" "$x $y $((x + w)) $((y + h))" "$(rect 100)"
shot=$E2E_WORK/receiving-120.png
receive_lit "$shot"
check_digits "$shot" lit
check_border_row "$shot" "$lit_border" "$scale" 560 220
check_combo_border "$shot" 115
faults=$(pixels meter "$shot" "$ox" "$oy" "$scale" 816 8 $((width - 1090)) 0 15) ||
  e2e_error "S-meter at 120 DPI: $faults"
check_digit_scale "$shot" full "$full_height" 120
stop_and_close "at 120 DPI"
