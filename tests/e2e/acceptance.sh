#!/usr/bin/env bash
# One session as a user would have it, each step checked: start the program,
# search for dongles, choose one, tune by digit, start and listen, change the
# filter, tune by mouse on the plot, change the mode, scan and stop on a
# signal, record a WAV with a pause and save decoded CW text, stop, close,
# and find everything as it was left after a restart.
#
#   acceptance.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 usb-6100 am-6070 cb19 cw-7023 noise
log="$E2E_WORK/calls.log"

# listen <name> <tone Hz> [share]: two seconds of the sink hold that tone,
# carrying at least that share of the sound (a keyed CW tone leaves gaps).
listen() {
  e2e_capture "$1" 2
  e2e_tone "$E2E_WORK/$1.raw" "$2" "${3:-0.6}" -45
}

# 1. Start: the program lists the dongles it found and asks for a choice.
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_expect_table <<'TABLE'
combo-count 115 => 2
combo-item 115 1 => RTL-SDR Blog V4
text 100 => ▶ DÉMARRER
text 101 => 007.023000
TABLE

# 2. Search again with "Actualiser": the dongles are listed anew.
searches=$(grep -c 'rtlsdr_get_device_count' "$log" || true)
e2e_probe click 116 wait-text 126 "Choisissez une clé disponible." 20000
[ "$(grep -c 'rtlsdr_get_device_count' "$log" || true)" -gt "$searches" ] || e2e_error "\"Actualiser\" did not search"
e2e_expect 2 combo-count 115

# 3. Choose the Blog V4.
e2e_probe combo-select 115 1
e2e_expect 1 combo-sel 115

# 4. USB, tuned digit by digit from 007.023000 to 006.100000 with the mouse
# on the frequency field: 1 MHz down, 100 kHz up, 10 kHz down twice with
# the wheel, 1 kHz down three times.
e2e_probe click 302
e2e_digit_click 2 lower
e2e_digit_click 4 upper
e2e_digit_wheel 5 down 2
e2e_digit_click 6 lower 3
e2e_field_reads 006.100000

# 5. Start: the USB signal's 700 Hz tone is heard.
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
sleep 1.5
listen usb 700

# 6. The 2,1 kHz filter.
e2e_probe click 400
e2e_expect 2100 text 107

# 7. AM, and a double-click on the AM broadcast at 6.070 MHz on the plot.
# The middle column is the view's centre: a double-click there finds it.
e2e_probe click 300
e2e_expect 9000 text 107
e2e_plot_geometry
y=$((44 + PLOT_SPEC_H / 2))
e2e_plot_double_click "$PLOT_MID" "$y"
centre=$(e2e_probe text 101 | tr -d .)
centre=$((10#$centre))
[ $((centre > 6100000 ? centre - 6100000 : 6100000 - centre)) -le 175000 ] ||
  e2e_error "the plot's centre $centre Hz is far from the tuned 6100000 Hz"
x=$(e2e_plot_column 6070000 "$centre")
tuned=$(e2e_plot_click_frequency "$x" "$centre")
e2e_plot_double_click "$x" "$y"
e2e_field_reads "$(e2e_display "$tuned")"
sleep 1.5
listen am 1000
e2e_screenshot "$E2E_WORK/am.png"

# 8. Scan 27.165 to 27.205 MHz, 1 s a channel: the scanner stops on the
# signal of CB channel 19 at 27.185 MHz, and it is heard.
e2e_probe click 380 click 360 set-text 131 "27.165" set-text 132 "27.205" click 134
e2e_probe wait-text 126 "SCAN AUTO" 10000
e2e_probe wait-text 101 "027.185000" 20000 wait-text 134 "Écoute" 5000
e2e_probe wait-text 126 "AUTO — pause signal (15 s max)" 5000
sleep 1
listen cb 1000
e2e_probe click 139 wait-text 134 "▶ Démarrer" 5000
e2e_expect "027.185000" text 101

# 9. Record a WAV: 2 s, a 3 s pause (EN PAUSE), 1 s more.
e2e_record_around_pause "$E2E_WORK/session.wav" session.wav
# The tone on either side of the pause (their phases do not meet at the join).
sox "$E2E_WORK/session.wav" -t raw -e signed -b 16 -c 1 -r 48000 "$E2E_WORK/before-pause.raw" trim 0 1.5
sox "$E2E_WORK/session.wav" -t raw -e signed -b 16 -c 1 -r 48000 "$E2E_WORK/after-pause.raw" trim -0.8
e2e_tone "$E2E_WORK/before-pause.raw" 1000 0.6 -45
e2e_tone "$E2E_WORK/after-pause.raw" 1000 0.6 -45

# 10. CW on the 7.023 MHz beacon: the decoded text, saved.
e2e_save_beacon_text "$E2E_WORK/cw.txt"

# 11. Stop, close.
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_expect "▶ DÉMARRER" text 100
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
grep -q 'VIOLATION' "$log" && e2e_error "the driver was misused: $(grep VIOLATION "$log" | head -3)"

# 12. Restart on the saved settings: the dongle, the mode, the frequency and
# the filter are as they were left, and listening starts at once.
mkdir -p "$E2E_WORK/saved" && cp -R "$(e2e_settings_folder)"/. "$E2E_WORK/saved"/
e2e_start "$E2E_EXE" "$E2E_WORK/saved"
e2e_probe wait-window 30000
e2e_probe wait-text 101 "007.023000" 20000
e2e_expect_table <<'TABLE'
combo-sel 115 => 1
combo-sel 105 => 4
text 107 => 500
text 101 => 007.023000
TABLE
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
sleep 1.5
listen cw 700 0.25
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code after the restart" 0 "$E2E_EXIT_CODE"
