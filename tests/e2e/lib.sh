# Helpers for the end-to-end test scripts, sourced after the test environment
# (scripts/test-env.sh) is up: one program under Wine in the background,
# hfprobe to look at and drive its window, a screenshot, a capture of what a
# sound sink plays. Every wait has a time limit, and e2e_init installs an
# exit trap that ends whatever the script started.
#
# Tests that use these helpers share the one desktop: give them the ctest
# RESOURCE_LOCK "desktop", so no other window or message box gets in the way.

# e2e_init <wine-run> <hfprobe.exe> <work folder>
e2e_init() {
  E2E_WINE_RUN=$1 E2E_PROBE=$2 E2E_WORK=$3
  E2E_PID="" E2E_CAPTURE_PID="" E2E_OTHER_PIDS="" E2E_EXIT_CODE="" E2E_FAILED=""
  if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    e2e_error "needs the test environment (DISPLAY and WINEPREFIX); run through scripts/test"
    return 1
  fi
  # Wine reads command-line arguments in the locale's character set: French
  # texts given to the probe arrive intact only from a UTF-8 locale.
  export LC_ALL=C.UTF-8
  rm -rf "$E2E_WORK" && mkdir -p "$E2E_WORK"
  trap e2e_cleanup EXIT
}

# Reports a failed check. The script goes on, so one run shows every
# failure, and ends with exit code 1 all the same (see e2e_cleanup).
e2e_error() {
  echo "e2e: FAIL: $*" >&2
  E2E_FAILED=1
}

# Ends a process of ours: politely first, then for good.
e2e_end_process() {
  local pid=$1
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
  [ -n "$E2E_PID" ] && e2e_end_process "$E2E_PID"
  [ -n "$E2E_CAPTURE_PID" ] && e2e_end_process "$E2E_CAPTURE_PID"
  local pid
  for pid in $E2E_OTHER_PIDS; do e2e_end_process "$pid"; done
  E2E_PID="" E2E_CAPTURE_PID="" E2E_OTHER_PIDS=""
  if [ -n "$E2E_FAILED" ]; then exit 1; fi
}

# The per-user local application-data folder inside the prefix, named after
# the user that Wine made the profile for.
e2e_local_appdata() {
  local user dir
  for user in "${WINEUSERNAME:-}" "${USER:-}" "$(id -un)"; do
    dir="$WINEPREFIX/drive_c/users/$user/AppData/Local"
    if [ -n "$user" ] && [ -d "$dir" ]; then echo "$dir"; return 0; fi
  done
  e2e_error "no AppData/Local folder under $WINEPREFIX/drive_c/users"
  return 1
}

# Where the program keeps settings.ini.
e2e_settings_folder() {
  local appdata; appdata=$(e2e_local_appdata) || return 1
  echo "$appdata/HFOrvande"
}

# e2e_start <exe> [settings folder]: starts the program in the background
# with a settings folder that holds a copy of the given one, or none at all.
e2e_start() {
  local exe=$1 settings=${2:-} folder
  folder=$(e2e_settings_folder) || return 1
  rm -rf "$folder"
  if [ -n "$settings" ]; then
    mkdir -p "$folder" && cp -R "$settings"/. "$folder"/
  fi
  "$E2E_WINE_RUN" "$exe" >"$E2E_WORK/program.log" 2>&1 &
  E2E_PID=$!
}

# e2e_wait_pid <pid> <seconds>: waits for a process of ours to end and sets
# E2E_EXIT_CODE; past the limit it ends the process and fails.
e2e_wait_pid() {
  local pid=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    e2e_end_process "$pid"
    e2e_error "process $pid was still running after $seconds s"
    return 1
  fi
  E2E_EXIT_CODE=0
  wait "$pid" || E2E_EXIT_CODE=$?
}

# e2e_wait_exit [seconds]: the same for the program of e2e_start.
e2e_wait_exit() {
  local pid=$E2E_PID
  [ -n "$pid" ] || { e2e_error "no program was started"; return 1; }
  E2E_PID=""
  e2e_wait_pid "$pid" "${1:-20}"
}

# e2e_start_other <exe>: one more instance of a program, in the background,
# ended at exit like the first; its pid is E2E_OTHER_PID.
e2e_start_other() {
  "$E2E_WINE_RUN" "$1" >>"$E2E_WORK/other.log" 2>&1 &
  E2E_OTHER_PID=$!
  E2E_OTHER_PIDS="$E2E_OTHER_PIDS $E2E_OTHER_PID"
}

# e2e_probe <command> [arguments]...: runs hfprobe, which never waits longer
# than its own limits; the outer limit is only for a stuck Wine.
e2e_probe() {
  timeout 120 "$E2E_WINE_RUN" "$E2E_PROBE" "$@"
}

# e2e_expect <expected output> <command> [arguments]...: one probe call,
# its whole output compared.
e2e_expect() {
  local expected=$1 output
  shift
  output=$(e2e_probe "$@") || { e2e_error "hfprobe $* failed"; return 1; }
  [ "$output" = "$expected" ] || e2e_error "hfprobe $*: expected '$expected', got '$output'"
}

# Reads lines "<command> <arguments> => <expected output>" (one probe
# command printing one line each; arguments without spaces), runs them all in
# one probe call and reports every line whose output differs.
e2e_expect_table() {
  local line words actual commands=() expected=() labels=() output status=0 i
  while IFS= read -r line; do
    [ -z "${line// /}" ] && continue
    labels+=("${line%% => *}")
    expected+=("${line#* => }")
    read -r -a words <<<"${line%% => *}"
    commands+=("${words[@]}")
  done
  output=$(e2e_probe "${commands[@]}") || { e2e_error "probe failed in: ${labels[*]}"; return 1; }
  mapfile -t actual <<<"$output"
  for i in "${!labels[@]}"; do
    if [ "${actual[$i]:-}" != "${expected[$i]}" ]; then
      e2e_error "${labels[$i]}: expected '${expected[$i]}', got '${actual[$i]:-}'"
      status=1
    fi
  done
  return $status
}

e2e_screenshot() {
  import -window root "$1"
}

# e2e_capture_start <sink> <raw file>: records what the sink plays, as 48 kHz
# mono 16-bit little-endian samples, until e2e_capture_stop.
e2e_capture_start() {
  parec --raw -d "$1.monitor" --format=s16le --rate=48000 --channels=1 >"$2" &
  E2E_CAPTURE_PID=$!
}

e2e_capture_stop() {
  [ -n "$E2E_CAPTURE_PID" ] && e2e_end_process "$E2E_CAPTURE_PID"
  E2E_CAPTURE_PID=""
}

# e2e_standin <config file>: the stand-in "rtlsdr.dll" of programs started
# from now on reads this configuration (its call log lands beside it).
e2e_standin() {
  local path; path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  export HF_STANDIN_CONFIG="Z:${path//\//\\}"
}

# e2e_settings_text: settings.ini as UTF-8 text without carriage returns,
# whether the program wrote it in UTF-16 (with a byte-order mark) or not.
e2e_settings_text() {
  local file; file="$(e2e_settings_folder)/settings.ini" || return 1
  [ -f "$file" ] || { e2e_error "no settings file $file"; return 1; }
  if [ "$(head -c 2 "$file" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$file"
  else
    cat "$file"
  fi | tr -d '\r'
}

# e2e_ini_value <section> <key>: one value of settings.ini (empty if absent).
e2e_ini_value() {
  e2e_settings_text | awk -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section); next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# e2e_check <label> <expected> <actual>
e2e_check() {
  [ "$2" = "$3" ] || e2e_error "$1: expected '$2', got '$3'"
}

# e2e_tone <raw capture> <frequency> <minimum share> <minimum dBFS>: the
# capture holds that tone, loud enough, carrying most of the sound.
e2e_tone() {
  local result level share
  result=$(python3 "$(dirname "${BASH_SOURCE[0]}")/tone_check.py" "$1" "$2") || { e2e_error "tone check failed"; return 1; }
  read -r level share <<<"$result"
  echo "e2e: capture $1: level $level dBFS, share of $2 Hz $share"
  python3 -c "import sys; l=float('$level'); s=float('$share'); sys.exit(0 if s >= $3 and l >= $4 else 1)" ||
    e2e_error "expected a $2 Hz tone (share >= $3, level >= $4 dBFS) in $1, got level $level share $share"
}

# e2e_silent <raw capture> <maximum dBFS>
e2e_silent() {
  local result level
  result=$(python3 "$(dirname "${BASH_SOURCE[0]}")/tone_check.py" "$1" 1000) || { e2e_error "tone check failed"; return 1; }
  read -r level _ <<<"$result"
  python3 -c "import sys; l=float('$level'); sys.exit(0 if l <= $2 else 1)" ||
    e2e_error "expected silence (<= $2 dBFS) in $1, got $level dBFS"
}

# e2e_program <wine-run> <program.exe> <hfprobe.exe> <work folder>: what every
# test of the program is given; the program is $E2E_EXE from then on.
e2e_program() {
  E2E_EXE=$2
  e2e_init "$1" "$3" "$4"
}

# e2e_scene <piece>...: the stand-in configuration made of the pieces in
# scenes/ (v4 first: it opens the call log), in effect from now on.
e2e_scene() {
  local piece
  for piece in "$@"; do cat "$(dirname "${BASH_SOURCE[0]}")/scenes/$piece.ini"; done >"$E2E_WORK/standin.ini"
  e2e_standin "$E2E_WORK/standin.ini"
}

# e2e_save_as <file>: types the file's Windows path into the open save
# dialog, as a user would.
e2e_save_as() {
  local path dialog
  path="Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  path=${path//\//\\}
  dialog=$(timeout 20 xdotool search --sync --name '^Save As$' | head -1) || { e2e_error "no save dialog"; return 1; }
  timeout 5 xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.5
  xdotool type --delay 20 "$path"
  xdotool key Return
  for _ in $(seq 100); do xdotool search --name '^Save As$' >/dev/null 2>&1 || return 0; sleep 0.1; done
  e2e_error "the save dialog did not close"
}

# The real mouse over the frequency field and the plot, through xdotool: the
# X pointer is Wine's, so the program sees a user's presses, moves and wheel.

# e2e_digit_point <index> <upper|lower|middle>: a screen point on character
# <index> of the frequency field, inside its upper or lower half.
e2e_digit_point() {
  local left top right bottom height
  read -r left top right bottom <<<"$(e2e_probe char-rect 101 "$1")"
  height=$((bottom - top))
  case $2 in
    upper) echo "$(((left + right) / 2)) $((top + height / 4))" ;;
    lower) echo "$(((left + right) / 2)) $((bottom - 1 - height / 4))" ;;
    *) echo "$(((left + right) / 2)) $((top + height / 2))" ;;
  esac
}

# e2e_digit_click <index> <upper|lower> [times]
e2e_digit_click() {
  local x y
  read -r x y <<<"$(e2e_digit_point "$1" "$2")"
  xdotool mousemove "$x" "$y"
  for _ in $(seq "${3:-1}"); do xdotool click 1; sleep 0.6; done
}

# e2e_digit_wheel <index> <up|down> [notches]: the pointer over the digit.
# Wine gives the wheel to the focused window, as Windows does.
e2e_digit_wheel() {
  local x y button=5
  read -r x y <<<"$(e2e_digit_point "$1" middle)"
  [ "$2" = up ] && button=4
  xdotool mousemove "$x" "$y"
  sleep 0.2
  for _ in $(seq "${3:-1}"); do xdotool click "$button"; sleep 0.3; done
}

# e2e_field_reads <text>: the frequency field shows it (given a moment).
e2e_field_reads() {
  e2e_probe wait-text 101 "$1" 3000 >/dev/null 2>&1 || true
  e2e_expect "$1" text 101
}

# e2e_display <Hz>: the field's form of a frequency, as 007.023000.
e2e_display() { python3 -c "f=$1; print(f'{f // 1000000:03d}.{f % 1000000:06d}')"; }

# e2e_plot_geometry: the plot's screen corner (PLOT_LEFT, PLOT_TOP) and its
# geometry in logical pixels: PLOT_W, PLOT_H, PLOT_L (spectrum columns from
# x = 50), PLOT_MID (the view centre's column), PLOT_SPEC_H (the spectrum's
# height from y = 44). The test desktop runs at 96 DPI, so logical pixels
# are client pixels, and the plot has no border.
e2e_plot_geometry() {
  local right bottom
  read -r PLOT_LEFT PLOT_TOP right bottom <<<"$(e2e_probe plot-rect)"
  PLOT_W=$((right - PLOT_LEFT)) PLOT_H=$((bottom - PLOT_TOP))
  PLOT_L=$((PLOT_W - 160)) PLOT_MID=$((50 + (PLOT_W - 160) / 2))
  PLOT_SPEC_H=$(((PLOT_H - 80) * 66 / 100))
}

# e2e_plot_calc <python expression>: arithmetic on the plot's geometry (W, H,
# L, mid, specH) and view width (span, default 480000 Hz), rounding as the
# program does (trunc, lround).
e2e_plot_calc() {
  python3 -c "
import math
W, H, L, mid, specH, span = $PLOT_W, $PLOT_H, $PLOT_L, $PLOT_MID, $PLOT_SPEC_H, ${E2E_SPAN:-480000}
trunc = math.trunc
def lround(v): return int(math.copysign(math.floor(abs(v) + 0.5), v))
print($1)"
}

# e2e_plot_column <Hz> <view centre>: the column where that frequency lies.
e2e_plot_column() { e2e_plot_calc "mid + trunc(($1 - $2) * L / span)"; }

# e2e_plot_click_frequency <column> <view centre>: what a click there tunes to.
e2e_plot_click_frequency() { e2e_plot_calc "$2 + trunc(((($1 - 50) / L) - 0.5) * span)"; }

# e2e_plot_at <x> <y>: the pointer to logical plot point (x, y).
e2e_plot_at() { xdotool mousemove "$((PLOT_LEFT + $1))" "$((PLOT_TOP + $2))"; }

e2e_plot_double_click() {
  e2e_plot_at "$1" "$2"
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  sleep 0.5
}

# e2e_plot_drag <x0> <y0> <x1> <y1>: press, move there in four steps, release.
e2e_plot_drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 i
  e2e_plot_at "$x0" "$y0"
  sleep 0.2
  xdotool mousedown 1
  for i in 1 2 3 4; do
    e2e_plot_at "$((x0 + (x1 - x0) * i / 4))" "$((y0 + (y1 - y0) * i / 4))"
    sleep 0.15
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
}

# e2e_capture <name> <seconds>: what the default sink plays for that long,
# into $E2E_WORK/<name>.raw.
e2e_capture() {
  e2e_capture_start hf_a "$E2E_WORK/$1.raw"
  sleep "$2"
  e2e_capture_stop
}

# e2e_clock: seconds since the epoch, to the nanosecond.
e2e_clock() { date +%s.%N; }

# e2e_wav_length <file> <label> <low> <high>: the duration in the WAV header
# lies between the bounds (arithmetic expressions in seconds).
e2e_wav_length() {
  local seconds
  seconds=$(sox --i -D "$1" 2>/dev/null || echo 0)
  python3 -c "import sys; sys.exit(0 if ($3) <= $seconds <= ($4) else 1)" ||
    e2e_error "$2 lasts $seconds s, expected $(python3 -c "print(round($3, 2))") to $(python3 -c "print(round($4, 2))") s"
}

# e2e_record_around_pause <wav> <label>: while receiving, records 2 s, pauses
# 3 s, records 1 s more and ends the recording; the pause must show and
# record nothing.
e2e_record_around_pause() {
  local wav=$1 label=$2 opened paused resumed
  e2e_probe click 124
  e2e_save_as "$wav"
  opened=$(e2e_clock)
  e2e_probe wait-text 124 "■ Terminer le WAV" 5000
  sleep 2
  e2e_probe click 137 wait-text 137 "▶ Reprise" 5000
  paused=$(e2e_clock)
  e2e_expect "EN PAUSE" text 100
  sleep 3
  e2e_probe click 137 wait-text 137 "Ⅱ PAUSE" 5000
  resumed=$(e2e_clock)
  e2e_expect "● EN ÉCOUTE" text 100
  sleep 1
  e2e_probe click 124 wait-text 124 "Enregistrer l’audio" 5000
  # At least the 3 s of sleeps outside the pause; at most the time the file
  # was open less the time the pause surely lasted.
  e2e_wav_length "$wav" "$label (the pause not recorded)" "3 - 0.5" \
    "$(e2e_clock) - $opened - ($resumed - $paused) + 0.5"
}

# e2e_save_beacon_text <file>: tunes CW to the scene's 7.023 MHz beacon, waits
# for its text and saves the decoded text through the dialog, as UTF-8.
e2e_save_beacon_text() {
  e2e_probe click 304 set-text 101 "7,023" key 101 VK_RETURN
  e2e_field_reads 007.023000
  e2e_probe wait-text 127 "DE F4HFO" 40000 || e2e_error "no CW text decoded"
  e2e_probe click 123
  e2e_save_as "$1"
  sleep 1
  grep -q 'DE F4HFO' "$1" 2>/dev/null || e2e_error "$(basename "$1") does not hold the decoded text"
  iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1 || e2e_error "$(basename "$1") is not UTF-8"
}

# e2e_eventually <seconds> <command>...: true once the command succeeds,
# tried every 0.2 s; false when it never does within the time.
e2e_eventually() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 5; i++)); do "$@" && return 0; sleep 0.2; done
  "$@"
}

# e2e_expect_ini <label> <section> <key> <expected> [seconds]: settings.ini
# holds the value, given the program a moment to write it.
e2e_expect_ini() {
  local label=$1 section=$2 key=$3 expected=$4
  e2e_ini_is() { [ "$(e2e_ini_value "$section" "$key" 2>/dev/null)" = "$expected" ]; }
  e2e_eventually "${5:-5}" e2e_ini_is ||
    e2e_error "$label: expected $key=$expected in [$section], got '$(e2e_ini_value "$section" "$key")'"
}
