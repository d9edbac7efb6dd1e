#!/usr/bin/env bash
# While listening: the plot draws the spectrum and the waterfall, and the
# squelch, mute and pause do to the sound what their names say.
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

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_screenshot "$E2E_WORK/before.png"
e2e_check "spectrum pixels before reception" 0 "$(colour_count "$E2E_WORK/before.png" "$under_trace")"

e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN click 100 wait-text 100 "● EN ÉCOUTE" 10000
sleep 4
e2e_screenshot "$E2E_WORK/receiving.png"
[ "$(colour_count "$E2E_WORK/receiving.png" "$under_trace")" -gt 2000 ] ||
  e2e_error "no spectrum drawn during reception"
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
