#!/usr/bin/env bash
# The scanner steps through a custom range of CB channels, stops on the one
# that carries a signal, moves on by hand with "Suivant ›", and refuses a
# range that makes no sense.
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
# the scan goes on by itself.

# With a 5 s dwell (chosen as soon as the entry is reached) an empty channel
# is held, but "Suivant ›" moves on at once.
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

e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
