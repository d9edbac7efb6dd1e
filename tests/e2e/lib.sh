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
  E2E_PID="" E2E_CAPTURE_PID="" E2E_EXIT_CODE="" E2E_FAILED=""
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
  E2E_PID="" E2E_CAPTURE_PID=""
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

# e2e_wait_exit [seconds]: waits for the program to end and sets
# E2E_EXIT_CODE; past the limit it ends the program and fails.
e2e_wait_exit() {
  local seconds=${1:-20} pid=$E2E_PID
  [ -n "$pid" ] || { e2e_error "no program was started"; return 1; }
  for _ in $(seq $((seconds * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    e2e_end_process "$pid"
    E2E_PID=""
    e2e_error "the program was still running after $seconds s"
    return 1
  fi
  E2E_EXIT_CODE=0
  wait "$pid" || E2E_EXIT_CODE=$?
  E2E_PID=""
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
