#!/usr/bin/env bash
# hfprobe against probe_target, a window of the program's class whose status
# line (126) tells what each action did: every query and action of the probe,
# its failures, and the helpers of lib.sh that the end-to-end tests use.
#
#   probe_selftest.sh <wine-run> <probe_target.exe> <hfprobe.exe> <work folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
target=$2
e2e_init "$1" "$3" "$4"

# Fails the test unless the probe refuses: exit code $1, stderr containing $2.
expect_refusal() {
  local code=$1 message=$2 refused=0
  shift 2
  e2e_probe "$@" 2>"$E2E_WORK/refusal.txt" >/dev/null || refused=$?
  [ "$refused" -eq "$code" ] || { e2e_error "hfprobe $*: exit code $refused, expected $code"; return 1; }
  grep -qF "$message" "$E2E_WORK/refusal.txt" ||
    { e2e_error "hfprobe $*: no '$message' in: $(cat "$E2E_WORK/refusal.txt")"; return 1; }
}

settings=$(e2e_settings_folder)
mkdir -p "$E2E_WORK/settings" && echo "[Radio]" >"$E2E_WORK/settings/settings.ini"
e2e_start "$target" "$E2E_WORK/settings"
cmp -s "$E2E_WORK/settings/settings.ini" "$settings/settings.ini" || e2e_error "settings not copied to $settings"

e2e_probe wait-window 30000
e2e_expect_table <<'EOF'
exists => 1
title => KALVORE HF — HF Orvande — essai de la sonde
client-size => 640 400
rect 100 => 120 120 240 150
text 101 => 7,100 MHz
text 126 => Prêt
combo-count 105 => 5
combo-sel 105 => 0
combo-item 105 2 => USB
trackbar-pos 118 => 50
enabled 100 => 1
enabled 129 => 0
visible 101 => 1
visible 105 => 0
checked 128 => 1
EOF

# The client area takes the asked size, wherever the frame puts it.
e2e_expect $'700 460' resize 700 460 client-size
origin=$(e2e_probe client-origin) && read -r origin_x origin_y <<<"$origin"
e2e_expect "$((origin_x + 20)) $((origin_y + 20)) $((origin_x + 140)) $((origin_y + 50))" rect 100

e2e_expect $'14,250 MHz é\nFréquence : 14,250 MHz é' set-text 101 "14,250 MHz é" text 101 text 126

# Enter goes through the target's message loop, which sees the focus moved.
e2e_probe key 101 VK_RETURN wait-text 126 "Entrée sur 101" 5000

# Each action has been handled when the probe goes on to the next command.
e2e_expect "Mode : LSB" combo-select 105 3 text 126
e2e_expect $'40\nVolume : 40 — relâché' trackbar-set 118 40 trackbar-pos 118 text 126
e2e_expect $'3\n0' click 128 combo-sel 105 checked 128

# A trackbar is no button: it gets a mouse click at its centre, right of the
# thumb at 40 of 0 to 100, and pages up by 20.
e2e_probe click 118 wait-text 126 "Volume : 60 — relâché" 5000

# The click opens a modal box, so the probe must not wait for its handler.
e2e_expect $'Réglage à corriger\nFréquence hors limites : 0,5 à 52 MHz.' click 100 message-box 5000
e2e_screenshot "$E2E_WORK/box.png"
[ "$(identify -format '%wx%h' "$E2E_WORK/box.png")" = 1600x1000 ] || e2e_error "screenshot is not the whole screen"
e2e_probe message-box-ok 5000 wait-text 126 "Boîte fermée" 5000

expect_refusal 1 "no message box" message-box 300
expect_refusal 1 "no control with id 999" text 999
expect_refusal 1 "still reads \"Boîte fermée\"" wait-text 126 absent 300
expect_refusal 1 "no item 9" combo-select 105 9
expect_refusal 1 "unknown key" key 101 VK_NOTHING
expect_refusal 1 "no character 99" char-rect 101 99
expect_refusal 1 "no HFPlot window" plot-rect
expect_refusal 2 "unknown command frobnicate" frobnicate

e2e_capture_start hf_a "$E2E_WORK/sink.raw"
sleep 1
e2e_capture_stop
[ -s "$E2E_WORK/sink.raw" ] || e2e_error "nothing captured from the sink"

e2e_probe close wait-gone 10000
e2e_wait_exit 20
[ "$E2E_EXIT_CODE" -eq 7 ] || { e2e_error "target exit code $E2E_EXIT_CODE, expected 7"; exit 1; }
e2e_expect 0 exists
expect_refusal 1 "no window of class HFOrvandeMain after 200 ms" wait-window 200
