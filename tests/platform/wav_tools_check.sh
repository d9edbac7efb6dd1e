#!/usr/bin/env bash
# Outside tools must read our recordings: a complete one, and one cut short
# by a write that failed half-way (the file could not grow any further).
# Usage: wav_tools_check.sh RECORDER WORKDIR
set -euo pipefail
recorder=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
status=0

# expect FILE SAMPLES: sox and python's wave both see 48000 Hz, mono, 16-bit
# and SAMPLES samples.
expect() {
  local file=$1 samples=$2
  local got
  got="$(sox --i -r "$file") $(sox --i -c "$file") $(sox --i -b "$file") $(sox --i -s "$file")"
  if [ "$got" != "48000 1 16 $samples" ]; then
    echo "sox on $file: rate channels bits samples = $got, expected 48000 1 16 $samples"
    status=1
  fi
  got=$(python3 - "$file" <<'PY'
import sys, wave
with wave.open(sys.argv[1], "rb") as w:
    frames = w.readframes(w.getnframes())
    print(w.getframerate(), w.getnchannels(), 8 * w.getsampwidth(), w.getnframes(), len(frames) // 2)
PY
)
  if [ "$got" != "48000 1 16 $samples $samples" ]; then
    echo "python wave on $file: rate channels bits frames read = $got, expected 48000 1 16 $samples $samples"
    status=1
  fi
}

# 24 blocks of 2048 samples: 1.024 s.
"$recorder" "$work/complete.wav" 24
expect "$work/complete.wav" 49152
duration=$(sox --i -D "$work/complete.wav")
if [ "$duration" != "1.024000" ]; then
  echo "sox duration of complete.wav: $duration, expected 1.024000"
  status=1
fi

# Files may not pass 20480 bytes: 20436 bytes of samples reach the file, then
# the write fails; the finalised file holds those 10218 samples.
set +e
(ulimit -f 20; trap '' XFSZ; exec "$recorder" "$work/cut.wav" 24) 2>"$work/cut.err"
rc=$?
set -e
if [ "$rc" != 1 ] || ! grep -qx "Erreur d'ecriture WAV. Verifiez l'espace disque." "$work/cut.err"; then
  echo "cut recording: exit $rc, stderr: $(cat "$work/cut.err")"
  status=1
fi
expect "$work/cut.wav" 10218

exit $status
