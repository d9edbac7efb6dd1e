#!/usr/bin/env bash
# Recording: WAV files chosen in the save dialog (typed as a user would) are
# valid after a stop of the recording, after a pause, and after closing the
# window mid-recording; decoded CW text is saved as UTF-8.
#
#   recording.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 am-6070 cw-7023 noise

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000

# Stopped: nothing to record.
e2e_probe click 124 wait-text 126 "Démarrez la réception avant l’enregistrement." 5000

e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN click 100 wait-text 100 "● EN ÉCOUTE" 10000
sleep 1

# About 3 s, ended with the button.
e2e_probe click 124
e2e_save_as "$E2E_WORK/first.wav"
opened=$(e2e_clock)
e2e_probe wait-text 124 "■ Terminer le WAV" 5000
sleep 3
e2e_probe click 124 wait-text 124 "Enregistrer l’audio" 5000
e2e_wav_length "$E2E_WORK/first.wav" first.wav "3 - 0.5" "$(e2e_clock) - $opened + 0.5"
e2e_check "first.wav format" "48000 1 16" "$(sox --i -r "$E2E_WORK/first.wav") $(sox --i -c "$E2E_WORK/first.wav") $(sox --i -b "$E2E_WORK/first.wav")"
sox "$E2E_WORK/first.wav" -t raw -e signed -b 16 -c 1 -r 48000 "$E2E_WORK/first.raw"
e2e_tone "$E2E_WORK/first.raw" 1000 0.6 -40

# 2 s recorded, 3 s paused, 1 s more: the pause records nothing.
e2e_record_around_pause "$E2E_WORK/paused.wav" paused.wav

# CW text from the beacon, saved as UTF-8.
e2e_save_beacon_text "$E2E_WORK/cw.txt"

# Closing the window mid-recording still leaves a valid file.
e2e_probe click 124
e2e_save_as "$E2E_WORK/closed.wav"
opened=$(e2e_clock)
e2e_probe wait-text 124 "■ Terminer le WAV" 5000
sleep 2
e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
e2e_wav_length "$E2E_WORK/closed.wav" closed.wav "2 - 0.5" "$(e2e_clock) - $opened + 0.5"
size=$(stat -c %s "$E2E_WORK/closed.wav")
data=$(od -An -tu4 -j40 -N4 "$E2E_WORK/closed.wav" | tr -d ' ')
e2e_check "closed.wav data size in its header" $((size - 44)) "$data"
grep -q 'VIOLATION' "$E2E_WORK/calls.log" && e2e_error "the driver was misused"
true
