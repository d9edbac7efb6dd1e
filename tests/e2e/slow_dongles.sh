#!/usr/bin/env bash
# Dongles that take their time: a listing, an opening or a tuning slower
# than the watchdog ends the reception with the watchdog's reason, and a stop
# during the opening ends it quietly; either way no dongle call follows the
# slow one but the close. A tuner that answers its gain list with 0 still
# receives.
#
#   slow_dongles.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

no_data="Aucune donnee radio depuis 10 secondes : reception et scan arretes."
watchdog_status="Absence de données radio — arrêt de la V4 en cours…"

# The part of the call log written since the mark.
log_since() { tail -n +$(($1 + 1)) "$E2E_WORK/calls.log"; }
log_mark() { wc -l <"$E2E_WORK/calls.log"; }

# A listing slower than the watchdog: the search at start-up waits for it,
# then the reception's own listing outlasts the watchdog; nothing is opened.
e2e_scene v4 am-6070
echo "enumeration_delay_ms = 11000" | cat - "$E2E_WORK/standin.ini" >"$E2E_WORK/slow-listing.ini"
e2e_standin "$E2E_WORK/slow-listing.ini"
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 40000
mark=$(log_mark)
e2e_probe combo-select 115 1 click 100 wait-text 126 "$watchdog_status" 20000 ||
  e2e_error "slow listing: no watchdog status; the status reads '$(e2e_probe text 126)'"
e2e_probe wait-text 126 "$no_data" 20000 ||
  e2e_error "slow listing: the reception did not end with the watchdog's reason; the status reads '$(e2e_probe text 126)'"
e2e_check "slow listing: start button" "▶ DÉMARRER" "$(e2e_probe text 100)"
log_since "$mark" | grep -q 'rtlsdr_get_device_count' || e2e_error "slow listing: the reception did not list the dongles"
log_since "$mark" | grep -q 'rtlsdr_open_identity' &&
  e2e_error "slow listing: a dongle was opened after the watchdog: $(log_since "$mark" | grep rtlsdr_open_identity)"
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "slow listing: exit code" 0 "$E2E_EXIT_CODE"

# A dongle slow to open, one whose gain list call with the array answers 0
# rather than the count, and one slow to tune.
cat >"$E2E_WORK/slow-calls.ini" <<'INI'
log = calls.log
[dongle]
serial = S-SLOW
slow = open_identity
slow_ms = 11000
[dongle]
serial = S-GAINS
gains_array_result = 0
[dongle]
serial = S-SLOW-TUNER
slow = set_center_freq
slow_ms = 11000
INI
cat "$(dirname "$0")/scenes/am-6070.ini" >>"$E2E_WORK/slow-calls.ini"
e2e_standin "$E2E_WORK/slow-calls.ini"
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_expect_table <<'TABLE'
combo-count 115 => 4
TABLE

# The gain list is used whatever the second call answers: the nearest gain
# of the list to the form's is set, and the dongle streams.
mark=$(log_mark)
e2e_probe combo-select 115 2 click 100
streams() { log_since "$mark" | grep -q 'rtlsdr_read_async(#[0-9]*) streams'; }
e2e_eventually 10 streams ||
  e2e_error "the dongle with the odd gain answer never streamed; the status reads '$(e2e_probe text 126)'"
log_since "$mark" | grep -q 'rtlsdr_set_tuner_gain(#[0-9]*, 280) = 0' ||
  e2e_error "no tuner gain 280 set: $(log_since "$mark" | grep 'tuner_gain' | tr '\n' ' ')"
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

# only_closed_after <label> <mark> <slow call>: on the dongle opened since the
# mark, the slow call (an extended pattern) was its last one before the close.
only_closed_after() {
  local label=$1 mark=$2 slow=$3 handle after
  handle=$(log_since "$mark" | sed -nE 's/^rtlsdr_open_identity\(.*\) = 0 (#[0-9]+).*/\1/p' | head -1)
  [ -n "$handle" ] || { e2e_error "$label: the slow dongle was never opened"; return; }
  after=$(log_since "$mark" | awk -v handle="$handle" -v slow="$slow" '
    seen && index($0, "(" handle) { print }
    !seen && $0 ~ slow { seen = 1 }')
  e2e_check "$label: calls on the dongle after its slow call" "rtlsdr_close($handle) = 0" "$after"
}

# The user stops while the dongle opens: no error, no set-up after the
# opening, the dongle closed.
mark=$(log_mark)
e2e_probe combo-select 115 1 click 100 wait-text 126 "Ouverture de la clé sélectionnée…" 5000
sleep 2
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 30000 ||
  e2e_error "stop during a slow opening: the status reads '$(e2e_probe text 126)'"
only_closed_after "stop during a slow opening" "$mark" '^rtlsdr_open_identity\(.*\) = 0'

# The watchdog fires while the dongle opens, or while it tunes: its reason
# is the reception's end.
watchdog_during() {
  local label=$1 entry=$2 slow=$3 mark
  mark=$(log_mark)
  e2e_probe combo-select 115 "$entry" click 100 wait-text 126 "$watchdog_status" 20000 ||
    e2e_error "$label: no watchdog status; the status reads '$(e2e_probe text 126)'"
  e2e_probe wait-text 126 "$no_data" 20000 ||
    e2e_error "$label: the reception did not end with the watchdog's reason; the status reads '$(e2e_probe text 126)'"
  only_closed_after "$label" "$mark" "$slow"
}
watchdog_during "watchdog during a slow opening" 1 '^rtlsdr_open_identity\(.*\) = 0'
watchdog_during "watchdog during a slow tuning" 3 '^rtlsdr_set_center_freq\('

grep -q 'VIOLATION' "$E2E_WORK/calls.log" && e2e_error "the driver was misused: $(grep VIOLATION "$E2E_WORK/calls.log" | head -3)"
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
