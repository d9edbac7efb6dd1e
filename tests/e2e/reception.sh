#!/usr/bin/env bash
# Listening: choose the simulated Blog V4, tune to the AM broadcast of the
# scene, start, hear its tone in the sound sink, retune from the form, stop,
# and find the dongle closed with no misuse of the driver.
#
#   reception.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 am-6070 usb-6100 noise
log="$E2E_WORK/calls.log"

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000

# Starting before a dongle is chosen is refused.
e2e_probe click 100 wait-text 126 "Choisissez explicitement une clé dans Source radio." 5000

# Choose the dongle, AM, 6.070 MHz, and start.
e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN
e2e_expect_table <<'TABLE'
text 101 => 006.070000
combo-sel 105 => 0
text 107 => 9000
TABLE
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
e2e_expect_table <<'TABLE'
enabled 129 => 1
enabled 100 => 0
enabled 116 => 0
TABLE
sleep 2
e2e_capture am 3
e2e_tone "$E2E_WORK/am.raw" 1000 0.6 -40
e2e_screenshot "$E2E_WORK/receiving.png"

# In place: a new filter width reaches the receive chain without retuning.
tunes_before=$(grep -c 'rtlsdr_set_center_freq' "$log" || true)
e2e_probe set-text 107 "6000" key 107 VK_RETURN
sleep 1
e2e_check "centre settings after a filter change" "$tunes_before" "$(grep -c 'rtlsdr_set_center_freq' "$log" || true)"

# The USB signal 30 kHz higher lies in the same span: heard without a
# retune. 7.074 MHz does not, so the dongle is tuned again.
e2e_probe click 302 set-text 101 "6,1" key 101 VK_RETURN
sleep 2
e2e_capture usb 2
e2e_tone "$E2E_WORK/usb.raw" 700 0.6 -45
e2e_check "centre settings after tuning within the span" "$tunes_before" "$(grep -c 'rtlsdr_set_center_freq' "$log" || true)"
e2e_probe set-text 101 "7,074" key 101 VK_RETURN
sleep 1
grep -q 'rtlsdr_set_center_freq(.*708[0-9][0-9][0-9][0-9]' "$log" ||
  e2e_error "no retune near 7.074 MHz in the call log"

# A refused value says why and changes nothing: not the form, not the
# settings file, not the dongle, although the frequency typed along with it
# would have moved the dongle had the form been applied.
e2e_expect_ini "saved frequency before the refusal" Radio Frequency 7074000
bandwidth_before=$(e2e_ini_value Radio Bandwidth)
settings_before=$(grep -c 'rtlsdr_set_' "$log" || true)
e2e_probe set-text 101 "7,5" set-text 107 "99999" key 107 VK_RETURN
e2e_expect $'Réglage à corriger\nReglage numerique hors limites.' message-box 10000
e2e_probe message-box-ok 5000
sleep 1
e2e_expect_table <<'TABLE'
text 101 => 7,5
text 107 => 99999
combo-sel 105 => 2
TABLE
e2e_check "saved bandwidth after the refusal" "$bandwidth_before" "$(e2e_ini_value Radio Bandwidth)"
e2e_check "saved frequency after the refusal" 7074000 "$(e2e_ini_value Radio Frequency)"
e2e_check "dongle settings after the refusal" "$settings_before" "$(grep -c 'rtlsdr_set_' "$log" || true)"
e2e_probe set-text 101 "007.074000" set-text 107 "2700"

# Stop: the dongle is released.
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_expect_table <<'TABLE'
text 100 => ▶ DÉMARRER
enabled 100 => 1
enabled 129 => 0
TABLE
grep -q 'rtlsdr_close' "$log" || e2e_error "the dongle was not closed"
grep -q 'VIOLATION' "$log" && e2e_error "the driver was misused: $(grep VIOLATION "$log" | head -3)"

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
e2e_check "saved frequency" 7074000 "$(e2e_ini_value Radio Frequency)"
e2e_check "saved mode" 2 "$(e2e_ini_value Radio Mode)"
e2e_check "saved bandwidth" 2700 "$(e2e_ini_value Radio Bandwidth)"
e2e_check "saved serial" 00000001 "$(e2e_ini_value Radio V4Serial)"
