#!/usr/bin/env bash
# Dongles that must not, or cannot, go on receiving: a model that is not
# recognised below 25 MHz, strings that change between listing and opening,
# a stream that ends or stalls. Each ends in the stopped state with its
# message, the dongle closed, nothing left hanging.
#
#   dongles.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

cat >"$E2E_WORK/standin.ini" <<'INI'
log = calls.log
[dongle]
manufacturer = Realtek
product = RTL2838UHIDIR
serial = U1
[dongle]
serial = S-CHANGED
opened_serial = S-OTHER
[dongle]
serial = S-USB-ERROR
read_ends_after = 40
read_result = -4
[dongle]
serial = S-ENDS
read_ends_after = 40
read_result = 0
[dongle]
serial = S-STALLS
stall_after = 10
[signal]
kind = am
frequency = 6070000
level = -20
tone = 1000
INI
e2e_standin "$E2E_WORK/standin.ini"
log="$E2E_WORK/calls.log"

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_expect_table <<'TABLE'
combo-count 115 => 6
combo-item 115 1 => Clé RTL-SDR
TABLE

# An unrecognised model cannot receive HF below 25 MHz, but can above.
e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN click 100 \
  wait-text 126 "HF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 reconnue." 10000
e2e_expect 1 enabled 100
e2e_probe set-text 101 "27,185" key 101 VK_RETURN click 100 wait-text 100 "● EN ÉCOUTE" 10000
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

# Each of these ends reception by itself; $1 is the list entry.
ends_with() {
  local entry=$1 message=$2 seconds=$3
  e2e_probe combo-select 115 "$entry" click 100 wait-text 126 "$message" $((seconds * 1000)) ||
    e2e_error "entry $entry: no '$message' in the status line"
  e2e_expect_table <<'TABLE'
text 100 => ▶ DÉMARRER
enabled 100 => 1
enabled 129 => 0
enabled 116 => 1
TABLE
}
e2e_probe set-text 101 "6,070" key 101 VK_RETURN
ends_with 2 "L'identite USB a change. Reception annulee." 15
ends_with 3 "Erreur USB (code -4). Reception et scan arretes." 15
ends_with 4 "Flux USB interrompu. Verifiez la cle choisie." 15
ends_with 5 "Aucune donnee radio depuis 10 secondes : reception et scan arretes." 25

opens=$(grep -c 'rtlsdr_open_identity(.*) = 0' "$log" || true)
closes=$(grep -c 'rtlsdr_close' "$log" || true)
e2e_check "every opened dongle closed" "$opens" "$closes"
grep -q 'VIOLATION' "$log" && e2e_error "the driver was misused: $(grep VIOLATION "$log" | head -3)"

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
