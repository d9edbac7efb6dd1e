# Sourced by the test scripts: a private X server (Xvfb, no window manager), a
# private PulseAudio server with two null sinks, and a fresh Wine prefix whose
# wineserver stays up for the whole run. Everything lives under build/test-run
# and is stopped when the sourcing shell exits.

test_run_dir() { echo "${HF_TEST_RUN_DIR:-$root/build/test-run}"; }

stop_test_env() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "${HF_PULSE_PID:-}" ] && kill "$HF_PULSE_PID" >/dev/null 2>&1 || true
  [ -n "${HF_XVFB_PID:-}" ] && kill "$HF_XVFB_PID" >/dev/null 2>&1 || true
}

start_test_env() {
  local run; run=$(test_run_dir)
  rm -rf "$run"; mkdir -p "$run/pulse"
  trap stop_test_env EXIT

  # X server: the screen is the whole work area.
  local fd_file="$run/display"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fd_file" >"$run/xvfb.log" 2>&1 &
  HF_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$fd_file")"

  # Sound server: two null sinks, the first is the default output. They run at
  # the program's 48 kHz and never rewind, so that their monitors record
  # exactly the samples that were played, the first ones of a stream included.
  export XDG_RUNTIME_DIR="$run/pulse"
  export PULSE_SERVER="unix:$run/pulse/native"
  local sink="module-null-sink rate=48000 norewinds=1"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L "module-native-protocol-unix socket=$run/pulse/native auth-anonymous=1" \
    -L "$sink sink_name=hf_a sink_properties=device.description=HF_A" \
    -L "$sink sink_name=hf_b sink_properties=device.description=HF_B" \
    >"$run/pulse.log" 2>&1 &
  HF_PULSE_PID=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink hf_a

  # Wine: one prefix per run, fonts mapped to DejaVu, sound through PulseAudio.
  export WINEPREFIX="$run/wineprefix" WINEARCH=win64 WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"; wineserver -p
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$run/wineboot.log" 2>&1
  cat >"$run/sound.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"="pulse"
REG
  wine regedit /S "$root/scripts/wine-fonts.reg" >/dev/null 2>&1
  wine regedit /S "$run/sound.reg" >/dev/null 2>&1
  export HF_TEST_RUN="$run"
}
