#!/usr/bin/env bash
# The program starts on a fresh machine, lists the simulated dongles, keeps a
# single instance, refuses to start without its driver library, and writes
# its settings file when closed.
#
#   startup.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

cat >"$E2E_WORK/standin.ini" <<'INI'
log = calls.log
[dongle]
serial = 00000001
[dongle]
product = Blog V3
serial = V3-0002
[dongle]
manufacturer = Nooelec
product = NESDR SMArt v5
serial = NE-3
INI
e2e_standin "$E2E_WORK/standin.ini"

# First start, no settings file.
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000
e2e_probe wait-text 126 "Choisissez une clé disponible. Aucune substitution automatique." 20000
e2e_expect_table <<'TABLE'
title => KALVORE HF — HF Orvande — 0.5.6
combo-count 115 => 4
combo-sel 115 => 0
combo-item 115 0 => Choisir une clé…
combo-item 115 1 => RTL-SDR Blog V4
combo-item 115 2 => Clé RTL-SDR
combo-item 115 3 => Nooelec NESDR SMArt v5
text 100 => ▶ DÉMARRER
enabled 100 => 1
enabled 129 => 0
enabled 116 => 1
TABLE
e2e_screenshot "$E2E_WORK/started.png"

# A second instance says so and leaves the first alone.
e2e_start_other "$E2E_EXE"
e2e_expect $'HF Orvande\nL’application HF est déjà ouverte.' message-box 20000
e2e_probe message-box-ok 5000
e2e_wait_pid "$E2E_OTHER_PID" 20
e2e_check "exit code of the second instance" 0 "$E2E_EXIT_CODE"
e2e_expect 1 exists

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code after closing" 0 "$E2E_EXIT_CODE"

# The settings file holds the defaults, in UTF-16 with its byte-order mark.
settings="$(e2e_settings_folder)/settings.ini"
[ "$(head -c 2 "$settings" | od -An -tx1 | tr -d ' ')" = fffe ] || e2e_error "settings.ini has no UTF-16LE byte-order mark"
for key in SpectrumTop SpectrumRange WaterfallRange WaterfallContrast SpectrumSpan Squelch WaterfallLight \
  ScanDwellMs V4Serial DeviceManufacturer DeviceProduct Frequency Mode PPM Bandwidth Step Gain Tone WPM \
  RFAuto AutoSpeed Decode AutoThreshold Threshold Volume AudioName; do
  e2e_settings_text | grep -q "^$key=" || e2e_error "settings.ini has no key $key in [Radio]"
done
e2e_check Frequency 7023000 "$(e2e_ini_value Radio Frequency)"
e2e_check Mode 4 "$(e2e_ini_value Radio Mode)"
e2e_check Volume 65 "$(e2e_ini_value Radio Volume)"
e2e_check DeviceProduct "Blog V4" "$(e2e_ini_value Radio DeviceProduct)"
e2e_settings_text | grep -q '^Item' && e2e_error "settings.ini holds favourites though none was added"

# Without its driver library, or with one lacking the identity-checked open,
# the program does not start.
bin=$(dirname "$E2E_EXE")
for case in missing incomplete; do
  folder="$E2E_WORK/$case"
  mkdir -p "$folder" && cp "$E2E_EXE" "$folder/"
  [ "$case" = incomplete ] && cp "$bin/rtlsdr_no_identity.dll" "$folder/rtlsdr.dll"
  e2e_start "$folder/$(basename "$E2E_EXE")"
  case $case in
    missing) message="Impossible de charger la bibliotheque RTL-SDR privee. Reinstallez cette application." ;;
    incomplete) message="Bibliotheque RTL-SDR incomplete." ;;
  esac
  e2e_expect "HF Orvande — démarrage impossible"$'\n'"$message" message-box 30000
  e2e_expect 0 exists
  e2e_probe message-box-ok 5000
  e2e_wait_exit 20
  e2e_check "exit code with a $case library" 1 "$E2E_EXIT_CODE"
done
