#!/usr/bin/env bash
# Closing the window while a dongle search or a reception runs waits for it
# to end, then the program exits cleanly with the dongle closed.
#
#   closing.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

# A slow search. The dongle list cannot be used while the search replaces
# what it shows, and can again once the search is over.
e2e_scene v4
echo "enumeration_delay_ms = 12000" >"$E2E_WORK/slow.ini"
cat "$E2E_WORK/standin.ini" >>"$E2E_WORK/slow.ini"
e2e_standin "$E2E_WORK/slow.ini"
e2e_start "$E2E_EXE"
e2e_expect $'0\n0' wait-window 30000 wait-text 126 "Recherche des clés compatibles…" 10000 enabled 116 enabled 115
e2e_probe wait-text 126 "Choisissez une clé disponible." 40000
e2e_expect_table <<'TABLE'
enabled 115 => 1
enabled 116 => 1
combo-count 115 => 2
TABLE

# A second search, started by the user: the close waits for its end.
e2e_expect 0 click 116 wait-text 126 "Recherche des clés compatibles…" 10000 enabled 115
e2e_probe close wait-text 126 "Recherche en cours, fermeture dès sa fin." 5000
e2e_expect 1 exists
e2e_probe wait-gone 30000
e2e_wait_exit 20
e2e_check "exit code after closing during a search" 0 "$E2E_EXIT_CODE"

# During reception, with a dongle that takes its time to close: the window
# says it is ending the reception and stays until the dongle is closed.
cp "$E2E_WORK/standin.ini" "$E2E_WORK/slow-close.ini"
echo "close_delay_ms = 2500" >>"$E2E_WORK/slow-close.ini"
e2e_standin "$E2E_WORK/slow-close.ini"
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_probe combo-select 115 1 click 100 wait-text 100 "● EN ÉCOUTE" 10000
sleep 1
e2e_expect 1 close wait-text 126 "Fermeture de la réception…" 2000 exists
e2e_probe wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code after closing during reception" 0 "$E2E_EXIT_CODE"
# The reception's part of the call log, which the searches share.
awk '/^loaded: .*slow-close\.ini/ { ours = 1 } ours' "$E2E_WORK/calls.log" | grep -q '^rtlsdr_close(#1) = 0' ||
  e2e_error "the dongle was not closed"
grep -q 'VIOLATION' "$E2E_WORK/calls.log" && e2e_error "the driver was misused"
true
