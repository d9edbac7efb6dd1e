#!/usr/bin/env bash
# The plot under the real mouse while receiving: a double-click tunes to the
# signal under the pointer (and it is heard), dragging the tuning marker
# retunes by the distance dragged, dragging a passband edge changes the
# filter, and dragging each display slider sets its level, saved at the
# release.
#
#   plot_mouse.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 am-6070 usb-6100 noise
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000

# AM between the scene's two signals, then start: the view is centred there.
centre=6085000
e2e_probe combo-select 115 1 click 300 set-text 101 "6,085" key 101 VK_RETURN
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
e2e_plot_geometry
spectrum_y=$((44 + PLOT_SPEC_H / 2))  # below the handle band
echo "e2e: plot $PLOT_W x $PLOT_H at $PLOT_LEFT,$PLOT_TOP: L=$PLOT_L mid=$PLOT_MID specH=$PLOT_SPEC_H"

# A double-click on the AM broadcast at 6.070 MHz tunes to its column,
# exactly, and its 1 kHz tone is heard.
x=$(e2e_plot_column 6070000 $centre)
tuned=$(e2e_plot_click_frequency "$x" $centre)
e2e_plot_double_click "$x" "$spectrum_y"
e2e_field_reads "$(e2e_display "$tuned")"
[ $((tuned > 6070000 ? tuned - 6070000 : 6070000 - tuned)) -le $((480000 / PLOT_L)) ] ||
  e2e_error "the double-click tuned to $tuned Hz, more than a column from 6070000 Hz"
sleep 1.5
e2e_capture clicked 2.5
e2e_tone "$E2E_WORK/clicked.raw" 1000 0.5 -45
e2e_screenshot "$E2E_WORK/tuned.png"
e2e_expect_ini "saved after the double-click" Radio Frequency "$tuned"

# Dragging the marker 30 columns right tunes up by 30 columns' worth of Hz,
# rounded to the step (at most 100 Hz).
step=$(e2e_ini_value Radio Step)
x=$(e2e_plot_column "$tuned" $centre)
dragged=$(e2e_plot_calc "(lambda f, st: (f + st // 2) // st * st)($tuned + lround(30 * span / L), min($step, 100))")
e2e_plot_drag "$x" "$spectrum_y" "$((x + 30))" "$spectrum_y"
e2e_field_reads "$(e2e_display "$dragged")"
e2e_expect_ini "saved after the marker drag" Radio Frequency "$dragged"

# Dragging the upper passband edge 6 columns in narrows AM's filter from
# both sides: twice 6 columns' worth of Hz.
upper=$(e2e_plot_calc "mid + trunc(($dragged - $centre + 4500) * L / span)")
width=$(e2e_plot_calc "9000 + 2 * lround(-6 * span / L)")
e2e_expect 9000 text 107
e2e_plot_drag "$upper" "$spectrum_y" "$((upper - 6))" "$spectrum_y"
e2e_expect "$width" text 107
e2e_expect_ini "saved bandwidth after the edge drag" Radio Bandwidth "$width"
e2e_field_reads "$(e2e_display "$dragged")"

# The side sliders: "Décalage" and "Échelle" above, dragged along their
# track (x from L + 65 to L + 145); "Fond", "Plage", "Contr." below,
# dragged down their column (T pixels from y = 194). Each level is saved
# at the release.
T=$(e2e_plot_calc "H - 228")
slider_y() { e2e_plot_calc "194 + round($1 * $T)"; }
waterfall_value() { e2e_plot_calc "trunc((1 - ($1 - 194) / $T) * $2 + $3)"; }
e2e_plot_drag $((PLOT_L + 85)) 80 $((PLOT_L + 125)) 80         # "Décalage" at 3/4 of its track
e2e_expect_ini "SpectrumTop" Radio SpectrumTop -10
e2e_plot_drag $((PLOT_L + 85)) 130 $((PLOT_L + 160)) 130       # "Échelle" past its end
e2e_expect_ini "SpectrumRange" Radio SpectrumRange 140
y=$(slider_y 0.37)
e2e_plot_drag $((PLOT_L + 75)) "$(slider_y 0.1)" $((PLOT_L + 75)) "$y"   # "Fond"
light=$(waterfall_value "$y" 100 0)
e2e_expect_ini "WaterfallLight" Radio WaterfallLight "$light"
e2e_expect "$light" trackbar-pos 136
y=$(slider_y 0.63)
e2e_plot_drag $((PLOT_L + 108)) "$(slider_y 0.1)" $((PLOT_L + 108)) "$y"  # "Plage"
e2e_expect_ini "WaterfallRange" Radio WaterfallRange "$(waterfall_value "$y" 85 15)"
y=$(slider_y 0.81)
e2e_plot_drag $((PLOT_L + 135)) "$(slider_y 0.1)" $((PLOT_L + 135)) "$y"  # "Contr."
e2e_expect_ini "WaterfallContrast" Radio WaterfallContrast "$(waterfall_value "$y" 100 0)"
e2e_screenshot "$E2E_WORK/sliders.png"
# Display drags leave the receiver as it was.
e2e_field_reads "$(e2e_display "$dragged")"
e2e_expect "$width" text 107

# Dragging the view 100 columns left, away from the passband, moves its
# centre up by 100 columns' worth of Hz at the release: the dongle is
# retuned, and a double-click on the middle column now tunes to the new
# centre.
retunes=$(grep -c 'rtlsdr_set_center_freq' "$E2E_WORK/calls.log" || true)
panned=$(e2e_plot_calc "$centre - lround(-100 * span / L)")
e2e_plot_drag $((PLOT_MID + 250)) "$spectrum_y" $((PLOT_MID + 150)) "$spectrum_y"
retuned() { [ "$(grep -c 'rtlsdr_set_center_freq' "$E2E_WORK/calls.log" || true)" -gt "$retunes" ]; }
e2e_eventually 5 retuned || e2e_error "the dongle was not retuned after the pan"
e2e_field_reads "$(e2e_display "$dragged")"
e2e_plot_double_click "$PLOT_MID" "$spectrum_y"
e2e_field_reads "$(e2e_display "$panned")"

e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
e2e_expect_ini "saved frequency" Radio Frequency "$panned"
e2e_expect_ini "saved bandwidth" Radio Bandwidth "$width"
e2e_expect_ini "saved spectrum top" Radio SpectrumTop -10
