#!/usr/bin/env bash
# The scanner steps through a custom range of CB channels and through the
# whole CB band chosen by its button, stops on the channel that carries a
# signal and holds it for a while, moves on by hand with "Suivant ›", and
# refuses a range that makes no sense.
#
#   scanner.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 cb19 noise

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000

# A refused range: nothing starts.
e2e_probe combo-select 115 1 click 300 click 380 click 360 set-text 131 "7.1" set-text 132 "7.0"
e2e_expect $'Scan\nLe debut du scan doit preceder la fin.' click 134 message-box 10000
e2e_probe message-box-ok 5000
e2e_expect_table <<'TABLE'
text 134 => ▶ Démarrer
enabled 129 => 0
TABLE

# 27.175 to 27.215 MHz in 10 kHz steps (AM's step), 1 s dwell: the scan
# starts reception, walks up and stays on 27.185 MHz while the signal lasts.
e2e_probe set-text 131 "27.175" set-text 132 "27.215" click 134 wait-text 100 "● EN ÉCOUTE" 10000
e2e_probe wait-text 126 "SCAN AUTO" 10000
e2e_probe wait-text 101 "027.185000" 20000 wait-text 134 "Écoute" 5000
sleep 4
e2e_expect "027.185000" text 101
e2e_probe wait-text 126 "AUTO — pause signal (15 s max)" 5000

# A signal heard all along holds its entry for the dwell and 15 s more; then
# the scan goes on by itself. With a 5 s dwell (chosen as soon as the next
# entry is reached) an empty channel is held, but "Suivant ›" moves on at once.
e2e_probe wait-text 101 "027.195000" 20000 click 383
sleep 2
e2e_expect "027.195000" text 101
e2e_probe click 135 wait-text 101 "027.205000" 2000

# Stopping the scan leaves reception on the current entry.
e2e_probe click 139 wait-text 134 "▶ Démarrer" 5000
held=$(e2e_probe text 101)
sleep 3
e2e_check "frequency after the scan stopped" "$held" "$(e2e_probe text 101)"
e2e_expect "● EN ÉCOUTE" text 100

# The "CB" button picks the whole CB band, which the scan shows at 480 kHz:
# every channel as an AM entry then an FM one, from 26.515 MHz.
e2e_probe click 341 click 362
e2e_expect_table <<'TABLE'
combo-sel 130 => 0
combo-sel 121 => 0
text 131 => 26.515
text 132 => 27.855
combo-sel 125 => 1
TABLE

# Started, the scan stands on entry 0; "Suivant ›" takes it at once to
# channel 16 (entry 110), from where it passes the empty entries by itself
# and stops on channel 19 in AM.
skip=()
for _ in $(seq 110); do skip+=(click 135); done
e2e_expect $'026.515000\n027.155000' click 380 click 134 text 101 "${skip[@]}" text 101
e2e_expect "3" combo-sel 125
e2e_probe wait-text 101 "027.185000" 30000
heard=$(e2e_clock)
e2e_expect_table <<'TABLE'
text 101 => 027.185000
combo-sel 105 => 0
text 107 => 9000
TABLE

# Heard all along, the signal holds its entry well past the 1 s dwell and
# the 2 s a lost signal would keep it, up to the dwell and 15 s more; then the
# scan goes on to the same channel in FM.
sleep 8
e2e_expect_table <<'TABLE'
text 101 => 027.185000
combo-sel 105 => 0
TABLE
e2e_probe wait-text 134 "Écoute" 3000
e2e_probe wait-text 107 "12000" 40000
held_for=$(python3 -c "print(round($(e2e_clock) - $heard, 1))")
echo "e2e: channel 19 held in AM for $held_for s"
python3 -c "import sys; sys.exit(0 if $held_for >= 12 else 1)" ||
  e2e_error "the AM entry of channel 19 was left after $held_for s, expected the dwell and 15 s"
e2e_expect_table <<'TABLE'
text 101 => 027.185000
combo-sel 105 => 1
TABLE
e2e_probe click 139 wait-text 134 "▶ Démarrer" 5000

e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
