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

# The controls as a fresh start builds them: hidden combos behind the button
# rows, items and first choices, defaults shown in the fields, slider
# positions and the captions of the rows. The default mode is CW, so the
# filter presets offer CW widths. The audio outputs follow the system default
# with Wine's own waveOut devices: its PulseAudio default and the two sinks of
# the test environment, in no fixed order.
e2e_expect_table <<'TABLE'
visible 105 => 0
combo-count 105 => 5
combo-item 105 0 => AM
combo-item 105 4 => CW
combo-sel 105 => 4
visible 106 => 0
combo-count 106 => 7
combo-item 106 0 => 10 Hz
combo-item 106 6 => 10 kHz
combo-sel 106 => 0
visible 125 => 0
combo-count 125 => 4
combo-item 125 0 => 12 kHz
combo-item 125 3 => 480 kHz
combo-sel 125 => 3
visible 130 => 0
combo-count 130 => 9
combo-item 130 3 => Plage personnalisée
combo-item 130 4 => Favoris
combo-item 130 8 => CB supérieure
combo-sel 130 => 1
visible 121 => 1
combo-count 121 => 8
combo-item 121 0 => CB complète
combo-item 121 1 => CW 7 MHz
combo-item 121 4 => 6 m — 50 à 52 MHz
combo-item 121 6 => CB normale — 40 canaux
combo-item 121 7 => CB supérieure
combo-sel 121 => 1
combo-count 108 => 7
combo-item 108 0 => 0 dB
combo-item 108 3 => 28 dB
combo-item 108 6 => 49 dB
combo-sel 108 => 3
enabled 108 => 1
combo-count 113 => 5
combo-item 113 0 => Auto
combo-item 113 1 => −60 dBFS
combo-item 113 4 => −30 dBFS
combo-sel 113 => 0
combo-count 133 => 2
combo-item 133 0 => Auto
combo-item 133 1 => Continu
combo-sel 133 => 0
combo-count 117 => 4
combo-item 117 0 => Sortie Windows par défaut
combo-sel 117 => 0
text 101 => 007.023000
text 107 => 500
text 109 => -4
text 110 => 700
text 111 => 18
text 131 => 7.000
enabled 131 => 0
text 132 => 7.060
enabled 132 => 0
text 102 => Accorder
text 103 => −
text 104 => +
text 112 => Vitesse auto
checked 112 => 1
text 114 => Actif
checked 114 => 1
text 128 => Gain auto
checked 128 => 0
enabled 128 => 1
text 116 => Actualiser
text 120 => + Mémoriser
text 122 => Effacer
text 123 => Enregistrer le texte
text 124 => Enregistrer l’audio
text 129 => ■ STOP
text 134 => ▶ Démarrer
text 135 => Suivant ›
text 137 => Ⅱ PAUSE
text 138 => Muet
text 139 => ■ Arrêter
trackbar-pos 118 => 65
trackbar-pos 140 => 0
trackbar-pos 136 => 50
text 300 => AM
text 304 => CW
text 320 => 10 Hz
text 321 => 50 Hz
text 322 => 100 Hz
text 323 => 500
text 324 => 1 k
text 325 => 5 k
text 326 => 10 k
text 340 => 12 k
text 341 => 48 k
text 342 => 96 k
text 343 => 480 k
text 360 => HF
text 363 => Fav.
text 380 => 1 s
text 383 => 5 s
text 400 => 300 Hz
text 401 => 500 Hz
text 402 => 800 Hz
TABLE
e2e_check "audio outputs after the default" $'HF_A\nHF_B\nPulseAudio' \
  "$(e2e_probe combo-item 117 1 combo-item 117 2 combo-item 117 3 | LC_ALL=C sort)"
e2e_screenshot "$E2E_WORK/started.png"

# Outside CW the presets offer voice widths, and CW brings its own back.
e2e_probe click 302 wait-text 400 "2,1 k" 5000
e2e_expect_table <<'TABLE'
combo-sel 105 => 2
text 400 => 2,1 k
text 401 => 2,7 k
text 402 => 3 k
TABLE
e2e_probe click 304 wait-text 400 "300 Hz" 5000
e2e_expect_table <<'TABLE'
combo-sel 105 => 4
text 401 => 500 Hz
text 402 => 800 Hz
TABLE

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

# radio_has_key <key>: the key stands in [Radio], whatever its value (the
# dongle's serial and the audio output name may be empty).
radio_has_key() {
  e2e_settings_text | awk -v key="$1" '
    /^\[/ { inside = ($0 == "[Radio]"); next }
    inside && index($0, key "=") == 1 { found = 1 }
    END { exit !found }'
}

# The settings file holds the defaults, in UTF-16 with its byte-order mark.
settings="$(e2e_settings_folder)/settings.ini"
[ "$(head -c 2 "$settings" | od -An -tx1 | tr -d ' ')" = fffe ] || e2e_error "settings.ini has no UTF-16LE byte-order mark"
for key in SpectrumTop SpectrumRange WaterfallRange WaterfallContrast SpectrumSpan Squelch WaterfallLight \
  ScanDwellMs V4Serial DeviceManufacturer DeviceProduct Frequency Mode PPM Bandwidth Step Gain Tone WPM \
  RFAuto AutoSpeed Decode AutoThreshold Threshold Volume AudioName; do
  radio_has_key "$key" || e2e_error "settings.ini has no key $key in [Radio]"
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
