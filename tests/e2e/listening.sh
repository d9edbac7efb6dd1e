#!/usr/bin/env bash
# While listening: the plot draws the spectrum and a scrolling waterfall in
# place of the text that waits for them, and the squelch, mute and pause do
# to the sound what their names say.
#
#   listening.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 am-6070 noise
log="$E2E_WORK/calls.log"

# Pixels of one exact colour in a screenshot.
colour_count() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}
# The fill under the spectrum trace, outside the passband.
under_trace="rgb(8,32,73)"
pixels() { python3 "$(dirname "$0")/pixels.py" "$@"; }
# The plot's background, and the colour of the text that stands in for the
# waterfall until reception brings rows.
background="6 21 37" waiting_text="165 199 222"

# The window's UI scale by the program's rule: the DPI's own scale, limited
# by the work area (the whole screen here), in single precision.
ui_scale() {
  local dpi screen_w screen_h
  dpi=$("$E2E_WINE_RUN" reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null |
    tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
  read -r screen_w screen_h <<<"$(xdpyinfo | awk '/dimensions:/ { sub("x", " ", $2); print $2 }')"
  python3 -c "
import struct
f32 = lambda v: struct.unpack('f', struct.pack('f', v))[0]
print(f32(min(f32(int('${dpi:-0x60}', 0) / 96), f32($screen_h / 700), f32($screen_w / 1020))))"
}

# Screen boxes "x0 y0 x1 y1" of the plot, from its geometry in logical
# pixels drawn through the UI scale: WATERFALL_BOX, the waterfall two
# device pixels in from its edges (y from specH + 45, wfH high, columns from
# x = 50, L wide), and WAITING_BOX, the band of 20 logical rows at its top
# where the waiting text stands (from x = 70).
plot_boxes() {
  local left top right bottom scale
  scale=$(ui_scale)
  read -r left top right bottom <<<"$(e2e_probe plot-rect)"
  read -r WATERFALL_BOX WAITING_BOX <<<"$(python3 -c "
import math, struct
f32 = lambda v: struct.unpack('f', struct.pack('f', v))[0]
s = $scale
W, H = math.trunc(f32($((right - left)) / s)), math.trunc(f32($((bottom - top)) / s))
L, body = max(1, W - 160), H - 80
spec_h = 1 if body * 66 <= 199 else body * 66 // 100
wf_h = 1 if body * 34 <= 199 or spec_h == 1 else body * 34 // 100
x = lambda v: $left + math.floor(v * s + 0.5)
y = lambda v: $top + math.floor(v * s + 0.5)
wf_top = spec_h + 45
print(f'{x(50) + 2},{y(wf_top) + 2},{x(50 + L) - 2},{y(wf_top + wf_h) - 2}',
      f'{x(50)},{y(wf_top)},{x(50 + L)},{y(wf_top + 20)}')")"
  WATERFALL_BOX=${WATERFALL_BOX//,/ } WAITING_BOX=${WAITING_BOX//,/ }
  echo "e2e: plot at scale $scale: waterfall $WATERFALL_BOX, waiting text $WAITING_BOX"
}

# box_area <x0 y0 x1 y1>
box_area() { echo $((($3 - $1) * ($4 - $2))); }

# Before reception the waiting text stands where the waterfall will be.
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
plot_boxes
waiting_text_shown() {
  e2e_screenshot "$E2E_WORK/before.png"
  [ "$(pixels count "$E2E_WORK/before.png" $WAITING_BOX $waiting_text 0)" -ge 100 ]
}
e2e_eventually 10 waiting_text_shown ||
  e2e_error "waiting text: $(pixels count "$E2E_WORK/before.png" $WAITING_BOX $waiting_text 0) pixels" \
    "of $waiting_text at the waterfall's top, expected at least 100"
e2e_check "spectrum pixels before reception" 0 "$(colour_count "$E2E_WORK/before.png" "$under_trace")"

# Receiving: the waterfall fills its whole area, its newest rows (the top
# quarter, a couple of seconds of frames) hold colours other than the
# background and the floor's (entry 0 of the colour table, which fills the
# rows that no frame has reached yet), and the waiting text is gone.
e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN click 100 wait-text 100 "● EN ÉCOUTE" 10000
floor_colour="0 1 8"
read -r x0 y0 x1 y1 <<<"$WATERFALL_BOX"
newest_rows="$x0 $y0 $x1 $((y0 + (y1 - y0) / 4))"
waterfall_drawn() {
  e2e_screenshot "$E2E_WORK/receiving.png"
  [ "$(pixels other "$E2E_WORK/receiving.png" $newest_rows 0 $background $floor_colour)" -ge \
    "$(($(box_area $newest_rows) * 9 / 10))" ]
}
e2e_eventually 20 waterfall_drawn ||
  e2e_error "newest waterfall rows: $(pixels other "$E2E_WORK/receiving.png" $newest_rows 0 $background $floor_colour)" \
    "of $(box_area $newest_rows) pixels in colours above the floor, expected 90 %"
filled=$(pixels other "$E2E_WORK/receiving.png" $WATERFALL_BOX 0 $background)
[ "$((filled * 10))" -ge "$(($(box_area $WATERFALL_BOX) * 9))" ] ||
  e2e_error "waterfall: $filled of $(box_area $WATERFALL_BOX) pixels differ from the background, expected 90 %"
e2e_check "waiting text during reception" 0 "$(pixels count "$E2E_WORK/receiving.png" $WAITING_BOX $waiting_text 0)"
[ "$(colour_count "$E2E_WORK/receiving.png" "$under_trace")" -gt 2000 ] ||
  e2e_error "no spectrum drawn during reception"

# A second later the rows have moved down, unchanged, under newer ones. At
# the desktop's 96 DPI each history row is one screen row, so rows compare
# byte for byte.
sleep 1
e2e_screenshot "$E2E_WORK/receiving-later.png"
read -r shift share <<<"$(pixels scrolled "$E2E_WORK/receiving.png" "$E2E_WORK/receiving-later.png" $WATERFALL_BOX)"
echo "e2e: waterfall scrolled $shift rows (share $share)"
python3 -c "import sys; sys.exit(0 if $share >= 0.95 else 1)" ||
  e2e_error "the waterfall's rows did not scroll down: best shift $shift rows matches $share of them"
e2e_probe wait-text 126 "RTL-SDR Blog V4 • AM • local" 5000

# Squelch fully up (threshold 0 dBFS) closes the sound; down opens it again.
e2e_probe trackbar-set 140 100 wait-text 126 "SQ 0 dBFS fermé" 5000
sleep 1
e2e_capture squelched 2
e2e_silent "$E2E_WORK/squelched.raw" -70
e2e_probe trackbar-set 140 0 wait-text 126 "SQ OFF" 5000
sleep 1
e2e_capture open 2
e2e_tone "$E2E_WORK/open.raw" 1000 0.6 -40

# Mute.
e2e_expect "Son coupé" click 138 text 138
sleep 1
e2e_capture muted 2
e2e_silent "$E2E_WORK/muted.raw" -70
e2e_expect "Muet" click 138 text 138

# Pause keeps the dongle open and plays nothing; resume brings the sound back.
closes_before=$(grep -c 'rtlsdr_close' "$log" || true)
e2e_probe click 137 wait-text 126 "Pause — clé conservée, scan et enregistrement suspendus" 5000
e2e_expect_table <<'TABLE'
text 137 => ▶ Reprise
text 100 => EN PAUSE
TABLE
sleep 1
e2e_capture paused 2
e2e_silent "$E2E_WORK/paused.raw" -70
e2e_check "dongle kept during the pause" "$closes_before" "$(grep -c 'rtlsdr_close' "$log" || true)"
e2e_probe click 137 wait-text 126 "Reprise de la réception" 5000
e2e_expect "Ⅱ PAUSE" text 137
sleep 2
e2e_capture resumed 2
e2e_tone "$E2E_WORK/resumed.raw" 1000 0.6 -40

e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
grep -q 'VIOLATION' "$log" && e2e_error "the driver was misused"
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
