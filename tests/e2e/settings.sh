#!/usr/bin/env bash
# Settings survive a restart; a damaged or out-of-range settings file loads
# with every value clamped or replaced, never an error.
#
#   settings.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"
e2e_scene v4

# Change the form, the volume and the span; add a favourite; close.
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_probe combo-select 115 1 click 303 set-text 101 "3,650" set-text 107 "2400" set-text 110 "650" \
  key 101 VK_RETURN trackbar-set 118 40 click 342 click 120
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
mkdir -p "$E2E_WORK/saved" && cp "$(e2e_settings_folder)/settings.ini" "$E2E_WORK/saved/"
e2e_check "favourite saved" "3650000 3 2400 100" "$(e2e_ini_value Favorites Item0)"

# Started again on that file, the program shows what was saved.
e2e_start "$E2E_EXE" "$E2E_WORK/saved"
e2e_probe wait-window 30000 wait-text 126 "Clé mémorisée retrouvée — prête" 20000
e2e_expect_table <<'TABLE'
combo-sel 115 => 1
text 101 => 003.650000
combo-sel 105 => 3
text 107 => 2400
text 110 => 650
trackbar-pos 118 => 40
combo-sel 125 => 2
TABLE
e2e_probe close wait-gone 20000
e2e_wait_exit 20
# A favourite is written once, however often the file is saved.
e2e_check "favourite kept" "3650000 3 2400 100" "$(e2e_ini_value Favorites Item0)"
e2e_check "no duplicate favourite" "" "$(e2e_ini_value Favorites Item1)"

# A damaged file: numbers out of range, text where numbers belong, a leftover
# favourite beyond a gap, odd bytes.
mkdir -p "$E2E_WORK/damaged"
cat >"$E2E_WORK/damaged/settings.ini" <<'INI'
[Radio]
Frequency=-1
Mode=7
SpectrumSpan=384000
SpectrumTop=0x10
SpectrumRange=abc
Volume=500
Squelch=-20
ScanDwellMs=4000
Bandwidth=
Tone=99999
WPM=3
Threshold=-99
Gain=12345
PPM=-1000
[Favorites]
Item0=400000 2 2700 100
Item1=27185000 0 9000 10000 extra
Item3=7074000 2 2700 100
INI
printf '\xff\xfe\x00garbage\n' >>"$E2E_WORK/damaged/settings.ini"
e2e_start "$E2E_EXE" "$E2E_WORK/damaged"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
if e2e_probe message-box 1000 >/dev/null 2>&1; then e2e_error "a damaged settings file gave a message box"; fi
e2e_expect_table <<'TABLE'
text 101 => 052.000000
combo-sel 105 => 4
combo-sel 125 => 3
trackbar-pos 118 => 100
trackbar-pos 140 => 0
text 107 => 100
text 110 => 1200
text 111 => 5
text 109 => -100
TABLE
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code on a damaged file" 0 "$E2E_EXIT_CODE"
e2e_check "clamped frequency" 52000000 "$(e2e_ini_value Radio Frequency)"
e2e_check "clamped top" 0 "$(e2e_ini_value Radio SpectrumTop)"
e2e_check "unreadable range read as 0, clamped" 20 "$(e2e_ini_value Radio SpectrumRange)"
e2e_check "replaced dwell" 2000 "$(e2e_ini_value Radio ScanDwellMs)"
e2e_check "clamped threshold" -60 "$(e2e_ini_value Radio Threshold)"
e2e_check "clamped gain" 490 "$(e2e_ini_value Radio Gain)"
e2e_check "only the valid favourite before the gap" "27185000 0 9000 10000" "$(e2e_ini_value Favorites Item0)"
e2e_check "no favourite after it" "" "$(e2e_ini_value Favorites Item1)"
e2e_check "leftover favourite removed" "" "$(e2e_ini_value Favorites Item3)"
e2e_check "empty bandwidth read as 0, clamped" 100 "$(e2e_ini_value Radio Bandwidth)"

# A dongle whose serial ends with a blank, as a dongle's EEPROM may hold it:
# remembered across a restart, with its own correction.
cat >"$E2E_WORK/blank-serial.ini" <<'INI'
log = calls.log
[dongle]
serial = 00000001
[dongle]
serial = "S-BLANK "
INI
e2e_standin "$E2E_WORK/blank-serial.ini"
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_probe combo-select 115 2 set-text 109 "37" key 109 VK_RETURN combo-select 115 1
e2e_check "correction of the other dongle (a V4’s default)" -4 "$(e2e_probe text 109)"
e2e_probe combo-select 115 2
e2e_check "own correction before the restart" 37 "$(e2e_probe text 109)"
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "serial saved with its blank" '"S-BLANK "' "$(e2e_ini_value Radio V4Serial)"
mkdir -p "$E2E_WORK/blank-saved" && cp "$(e2e_settings_folder)/settings.ini" "$E2E_WORK/blank-saved/"
e2e_start "$E2E_EXE" "$E2E_WORK/blank-saved"
e2e_probe wait-window 30000 wait-text 126 "Clé mémorisée retrouvée — prête" 20000 ||
  e2e_error "the dongle with a blank in its serial was not found again; the status reads '$(e2e_probe text 126)'"
e2e_expect_table <<'TABLE'
combo-sel 115 => 2
text 109 => 37
TABLE
# Remembered without its place in the list, it is still the dongle in use
# that a choice during reception leaves selected.
log_lines=$(wc -l <"$E2E_WORK/calls.log")
streams() { tail -n +$((log_lines + 1)) "$E2E_WORK/calls.log" | grep -q 'rtlsdr_read_async(#[0-9]*) streams'; }
e2e_probe click 100
e2e_eventually 10 streams ||
  e2e_error "no reception on the remembered dongle; the status reads '$(e2e_probe text 126)'"
e2e_probe combo-select 115 1
e2e_expect $'Choix de la clé\nPour changer de clé, cliquez d’abord sur STOP. La clé actuellement en écoute reste sélectionnée.' \
  message-box 10000
e2e_probe message-box-ok 5000
e2e_check "dongle in use still selected" 2 "$(e2e_probe combo-sel 115)"
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_probe combo-select 115 1 combo-select 115 2
e2e_check "own correction after the restart" 37 "$(e2e_probe text 109)"
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "serial kept on the second save" '"S-BLANK "' "$(e2e_ini_value Radio V4Serial)"
