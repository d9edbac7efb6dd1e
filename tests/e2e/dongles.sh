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
# a slow close keeps the watchdog's own status on screen long enough to read
close_delay_ms = 3000
[signal]
kind = am
frequency = 6070000
level = -20
tone = 1000
INI
e2e_standin "$E2E_WORK/standin.ini"
log="$E2E_WORK/calls.log"

tunes() { grep -c 'rtlsdr_set_center_freq' "$log" || true; }
logged() { grep -q "$1" "$log"; }

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

# While it receives there, a frequency below 25 MHz is refused and the
# reception goes on, the dongle left where it was.
e2e_eventually 10 logged 'rtlsdr_read_async(#[0-9]*) streams' || e2e_error "the unrecognised dongle never streamed"
tunes_before=$(tunes)
e2e_probe set-text 101 "6,070" key 101 VK_RETURN
e2e_expect $'Réglage à corriger\nHF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 reconnue.' \
  message-box 10000
e2e_probe message-box-ok 5000
sleep 1
e2e_expect_table <<'TABLE'
text 100 => ● EN ÉCOUTE
enabled 129 => 1
TABLE
e2e_check "centre settings after the refused frequency" "$tunes_before" "$(tunes)"
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

# A centre remembered just below 25 MHz must not keep it from receiving at
# 25.05 MHz: the span moves onto the tuned frequency, 12 kHz above for the tuner.
e2e_probe set-text 101 "24,95" key 101 VK_RETURN
e2e_field_reads 024.950000
e2e_probe set-text 101 "25,05" key 101 VK_RETURN
e2e_field_reads 025.050000
tunes_before=$(tunes)
e2e_probe click 100
e2e_probe wait-text 100 "● EN ÉCOUTE" 10000 ||
  e2e_error "no reception at 25.05 MHz; the status reads '$(e2e_probe text 126)'"
tuned() { [ "$(tunes)" -gt "$tunes_before" ]; }
e2e_eventually 10 tuned || true
e2e_check "tuner frequency at 25.05 MHz" 25062000 \
  "$(grep 'rtlsdr_set_center_freq' "$log" | tail -n +$((tunes_before + 1)) | head -1 | sed -E 's/.*, ([0-9]+)\).*/\1/')"
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

# Each of these ends reception by itself; $1 is the list entry.
ends_with() {
  local entry=$1 message=$2 seconds=$3
  e2e_probe combo-select 115 "$entry" click 100 wait-text 126 "$message" $((seconds * 1000)) ||
    e2e_error "entry $entry: no '$message' in the status line"
  stopped_state
}
stopped_state() {
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

# A dongle that stops delivering: 10 s after the last frame the display tick
# says so itself and stops, then the receiver's own message follows. The
# bounds only tell a watchdog that fires at once or never from one that fires.
started=$(e2e_clock)
e2e_probe combo-select 115 5 click 100
stalled() { logged 'stalls after'; }
e2e_eventually 30 stalled || e2e_error "the stalling dongle never stalled"
stalled_at=$(e2e_clock)
e2e_probe wait-text 126 "Absence de données radio — arrêt de la V4 en cours…" 60000 ||
  e2e_error "no watchdog status; the status reads '$(e2e_probe text 126)'"
fired_at=$(e2e_clock)
e2e_probe wait-text 126 "Aucune donnee radio depuis 10 secondes : reception et scan arretes." 30000 ||
  e2e_error "no message of the receiver after the watchdog; the status reads '$(e2e_probe text 126)'"
ended_at=$(e2e_clock)
echo "e2e: watchdog status $(python3 -c "print(round($fired_at - $started, 1))") s after the start," \
  "reception ended $(python3 -c "print(round($ended_at - $stalled_at, 1))") s after the stall"
python3 -c "import sys; sys.exit(0 if $fired_at - $started >= 9.5 else 1)" ||
  e2e_error "the watchdog fired $(python3 -c "print(round($fired_at - $started, 1))") s after the start, before 10 s without data"
python3 -c "import sys; sys.exit(0 if $ended_at - $stalled_at <= 10 + 30 else 1)" ||
  e2e_error "reception ended $(python3 -c "print(round($ended_at - $stalled_at, 1))") s after the stall"
stopped_state

opens=$(grep -c 'rtlsdr_open_identity(.*) = 0' "$log" || true)
closes=$(grep -c 'rtlsdr_close' "$log" || true)
e2e_check "every opened dongle closed" "$opens" "$closes"
grep -q 'VIOLATION' "$log" && e2e_error "the driver was misused: $(grep VIOLATION "$log" | head -3)"

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
