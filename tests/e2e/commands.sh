#!/usr/bin/env bash
# The command buttons and choices: mode and preset rows, the manual step and
# its limits, the scan-range row and its mirror, mute, the dongle choice with
# its correction (and no choice while a search replaces the list), pausing
# and resuming a scan, a form refused at a scan step taken by hand or by the
# scanner's own timer, and no recording for a reception that ends while the
# save dialog is open.
#
#   commands.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

cat >"$E2E_WORK/standin.ini" <<'INI'
log = calls.log
enumeration_delay_ms = 3000
[dongle]
serial = 00000001
[dongle]
product = Blog V3
serial = V3-0002
[dongle]
serial = S-STALLS
stall_after = 10
[signal]
kind = noise
level = -30
INI
e2e_standin "$E2E_WORK/standin.ini"

# wait_change <id> <text> <seconds>: waits until control <id> no longer reads <text>.
wait_change() {
  for _ in $(seq $(($3 * 10))); do
    [ "$(e2e_probe text "$1")" != "$2" ] && return 0
    sleep 0.1
  done
  e2e_error "control $1 still reads '$2' after $3 s"
}

# open_boxes <caption>: how many windows with that caption are on screen (the
# probe sees only the first).
open_boxes() {
  { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | wc -l
}

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000

# Mode buttons set their bandwidth and step, also when the mode is already
# chosen; presets exist only in CW and sideband.
e2e_probe click 302 click 400
e2e_expect "2100" text 107
e2e_probe click 300 set-text 107 "5000" click 300
e2e_expect "9000" text 107
e2e_probe click 401
e2e_expect_table <<'TABLE'
text 107 => 9000
text 126 => Préréglages voix disponibles en LSB et USB.
TABLE

# "+" and "−" step the applied frequency (AM: 10 kHz) within 0.5 to 52 MHz.
e2e_probe set-text 101 "51,999" key 101 VK_RETURN click 104
e2e_expect "052.000000" text 101
e2e_probe click 104
e2e_expect "052.000000" text 101
e2e_probe set-text 101 "7,000" click 103
e2e_expect "051.990000" text 101

# The range row, its hidden combo and the visible mirror.
e2e_probe set-text 131 "1.234" click 363
e2e_expect_table <<'TABLE'
combo-sel 130 => 4
combo-sel 121 => -1
text 131 => 1.234
TABLE
e2e_probe click 362
e2e_expect_table <<'TABLE'
combo-sel 121 => 0
text 131 => 26.515
text 132 => 27.855
TABLE
e2e_probe combo-select 121 2 click 361
e2e_expect_table <<'TABLE'
combo-sel 130 => 2
text 131 => 3.000
TABLE
e2e_probe combo-select 121 7 click 362
e2e_expect_table <<'TABLE'
combo-sel 130 => 8
combo-sel 121 => 7
text 131 => 27.415
TABLE

e2e_probe click 138
e2e_expect "Son coupé" text 138
e2e_probe click 138
e2e_expect "Muet" text 138

# A choice made while a search refills the list is ignored: the V3 chosen
# from the old list is not taken, so nothing is found again afterwards.
e2e_probe click 116 combo-select 115 2
e2e_probe wait-text 126 "Choisissez une clé disponible." 20000
e2e_expect "0" combo-sel 115

# Each dongle brings its own correction: none stored gives -4 on a V4, 0 otherwise.
e2e_probe combo-select 115 2
e2e_expect "0" text 109
e2e_probe combo-select 115 1
e2e_expect "-4" text 109

# A timed scan over 101 sideband entries, 1 s each.
e2e_probe click 302 combo-select 133 1 click 380 click 360 set-text 131 "14.000" set-text 132 "14.010"
e2e_probe click 134 wait-text 100 "● EN ÉCOUTE" 10000
e2e_probe wait-text 101 "014.000200" 15000

# Paused, the scan holds its entry; resumed, it goes on.
e2e_probe click 137 wait-text 137 "▶ Reprise" 5000
e2e_expect "EN PAUSE" text 100
held=$(e2e_probe text 101)
sleep 3
e2e_check "frequency while paused" "$held" "$(e2e_probe text 101)"
e2e_probe click 137 wait-text 137 "Ⅱ PAUSE" 5000
e2e_expect "● EN ÉCOUTE" text 100
wait_change 101 "$held" 8
held=$(e2e_probe text 101)
wait_change 101 "$held" 8

# A form refused at a step by hand: one box, and the scanner stops. Behind
# the box the 5 s dwell runs out, but the scanner takes no step of its own.
e2e_probe click 383 set-text 110 "abc"
e2e_expect $'Réglage à corriger\nstoi' click 135 message-box 10000
sleep 7
e2e_probe message-box-ok 5000
if e2e_probe message-box 3000 >/dev/null 2>&1; then
  e2e_error "a second box came from the scanner"
  e2e_probe message-box-ok 5000 || true
fi
e2e_expect "▶ Démarrer" text 134
held=$(e2e_probe text 101)
sleep 3
e2e_check "frequency after the scanner stopped" "$held" "$(e2e_probe text 101)"

# A form refused at the scanner's own timed step, with nothing clicked: the
# 50 ms tick that raised the box must not step again from inside it, so a
# single box stays open however many dwells pass behind it.
e2e_probe set-text 110 "700" click 380 click 134 wait-text 101 "014.000100" 15000
e2e_probe set-text 110 "abc"
e2e_expect $'Réglage à corriger\nstoi' message-box 15000
sleep 5
e2e_check "boxes open after two dwells" 1 "$(open_boxes 'Réglage à corriger')"
e2e_probe message-box-ok 5000
if e2e_probe message-box 3000 >/dev/null 2>&1; then
  e2e_error "a second box came from the scanner's step"
  e2e_probe message-box-ok 5000 || true
fi
held=$(e2e_probe text 101)
sleep 3
e2e_expect_table <<TABLE
text 101 => $held
text 134 => ▶ Démarrer
text 100 => ● EN ÉCOUTE
TABLE

e2e_probe set-text 110 "700" click 129 wait-text 126 "Arrêté — clé libérée" 15000

# A reception that ends while the save dialog is open gets no recording.
e2e_probe combo-select 115 3 click 100 wait-text 100 "● EN ÉCOUTE" 10000
e2e_probe click 124
timeout 20 xdotool search --sync --name '^Save As$' >/dev/null || e2e_error "no save dialog"
e2e_probe wait-text 126 "Aucune donnee radio" 25000
e2e_save_as "$E2E_WORK/late.wav"
sleep 1
[ -e "$E2E_WORK/late.wav" ] && e2e_error "a recording was opened after reception ended"
e2e_expect_table <<'TABLE'
text 124 => Enregistrer l’audio
text 126 => Démarrez la réception avant l’enregistrement.
TABLE
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
grep -q 'VIOLATION' "$E2E_WORK/calls.log" && e2e_error "the driver was misused"
true
