#!/usr/bin/env bash
# Recording onto a full disk, with the reception paused so that no block is
# appended to tell of it: a recording whose header cannot be written is not
# started, and one whose final sizes cannot be written says so, in a box when
# the user stops it, in the status line when the reception ends with it. The
# disk fills up by a file-size limit set on the running program, below the
# header's 44 bytes; the signal that would end the program is ignored, so its
# writes past the limit simply fail.
#
#   recording_full_disk.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 am-6070 cw-7023 noise

wav_error="Erreur d'ecriture WAV. Verifiez l'espace disque."

# The program inherits the ignored signal.
trap '' XFSZ
e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
case "$(ps -o args= -p "$E2E_PID")" in
  *HFOrvande.exe*) ;;
  *) e2e_error "process $E2E_PID is not the program: $(ps -o args= -p "$E2E_PID")"; exit 1 ;;
esac

# Only around the clicks under test: the settings file and the stand-in's
# call log are written by the program's process too.
disk_full() { prlimit --pid "$E2E_PID" --fsize=40:; }
disk_free() { prlimit --pid "$E2E_PID" --fsize=unlimited:; }

# record_to <file>: starts a recording from the button, as a user would.
record_to() {
  e2e_probe click 124
  e2e_save_as "$1"
}

e2e_probe combo-select 115 1 click 300 set-text 101 "6,070" key 101 VK_RETURN click 100 wait-text 100 "● EN ÉCOUTE" 10000
e2e_probe click 137 wait-text 137 "▶ Reprise" 5000

# No header: no recording, and the button stays as it was.
disk_full
record_to "$E2E_WORK/header.wav"
e2e_expect "HF Orvande"$'\n'"$wav_error" message-box 10000
e2e_probe message-box-ok 5000
disk_free
e2e_expect "Enregistrer l’audio" text 124

# Stopped by the user, sizes refused: the box, and the recording is over.
record_to "$E2E_WORK/stopped.wav"
e2e_probe wait-text 124 "■ Terminer le WAV" 5000
disk_full
e2e_probe click 124
e2e_expect "HF Orvande"$'\n'"$wav_error" message-box 10000
e2e_probe message-box-ok 5000
disk_free
e2e_probe wait-text 124 "Enregistrer l’audio" 5000
e2e_expect "EN PAUSE" text 100

# Ended with the reception, sizes refused: the status line says it in place
# of the plain stop.
record_to "$E2E_WORK/ended.wav"
e2e_probe wait-text 124 "■ Terminer le WAV" 5000
disk_full
e2e_probe click 129 wait-text 126 "$wav_error" 15000
disk_free
e2e_expect "Enregistrer l’audio" text 124

# Room again: the next reception records as ever, and a plain stop reads as one.
e2e_probe click 100 wait-text 100 "● EN ÉCOUTE" 10000
record_to "$E2E_WORK/after.wav"
e2e_probe wait-text 124 "■ Terminer le WAV" 5000
sleep 2
e2e_probe click 124 wait-text 124 "Enregistrer l’audio" 5000
size=$(stat -c %s "$E2E_WORK/after.wav")
data=$(od -An -tu4 -j40 -N4 "$E2E_WORK/after.wav" | tr -d ' ')
e2e_check "after.wav data size in its header" $((size - 44)) "$data"
[ "$data" -gt 96000 ] || e2e_error "after.wav holds $data bytes of samples, expected over 1 s"
e2e_probe click 129 wait-text 126 "Arrêté — clé libérée" 15000

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
true
