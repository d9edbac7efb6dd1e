#!/usr/bin/env bash
# The frequency field tuned digit by digit, as a user does it: clicks on the
# upper and lower half of a digit with the real mouse, the wheel over a digit,
# the arrow keys, and a typed frequency stepped by the digit under the caret.
# Every step is applied and saved at once.
#
#   frequency_field.sh <wine-run> <HFOrvande.exe> <hfprobe.exe> <work folder>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_program "$@"

e2e_scene v4 noise

e2e_start "$E2E_EXE"
e2e_probe wait-window 30000 wait-text 126 "Choisissez une clé disponible." 20000
e2e_field_reads 007.023000

# 007.023000: index 2 is the 1 MHz digit, 3 the point, 4 the 100 kHz digit,
# 9 the 1 Hz digit.
e2e_digit_click 2 upper
e2e_field_reads 008.023000
e2e_digit_click 2 lower 2
e2e_field_reads 006.023000
e2e_check "saved after a click" 6023000 "$(e2e_ini_value Radio Frequency)"

# The point is no digit: a click on it changes nothing.
e2e_digit_click 3 upper
e2e_field_reads 006.023000

# The wheel tunes the digit under the pointer.
e2e_digit_wheel 4 up
e2e_field_reads 006.123000
e2e_digit_wheel 9 down
e2e_field_reads 006.122999

# The arrows keep stepping the digit the wheel chose, through a carry.
e2e_probe key 101 VK_UP
e2e_field_reads 006.123000
e2e_probe key 101 VK_UP
e2e_field_reads 006.123001
e2e_probe key 101 VK_DOWN key 101 VK_DOWN
e2e_field_reads 006.122999

# Upward steps of the 10 MHz digit stop at the top of the band.
e2e_digit_click 1 upper 5
e2e_field_reads 052.000000
e2e_probe key 101 VK_DOWN
e2e_field_reads 042.000000
e2e_check "saved after the arrows" 42000000 "$(e2e_ini_value Radio Frequency)"

# A typed frequency: the digit under the caret steps by its place as read
# from the decimal point, whatever the length of the text. "7.1" with the
# caret at its end steps the 100 kHz digit; with the caret on the "7", the
# 1 MHz digit.
e2e_probe set-text 101 "7.1" key 101 VK_END key 101 VK_UP
e2e_field_reads 007.200000
e2e_probe key 101 VK_UP
e2e_field_reads 007.300000
e2e_probe set-text 101 "7,1" key 101 VK_HOME key 101 VK_UP
e2e_field_reads 008.100000

# Half-typed text: no step changes it, nothing is applied.
e2e_probe set-text 101 "7.1.2x" key 101 VK_UP
e2e_digit_click 0 upper
e2e_digit_wheel 0 up
e2e_field_reads 7.1.2x
e2e_check "saved after refused steps" 8100000 "$(e2e_ini_value Radio Frequency)"
e2e_screenshot "$E2E_WORK/field.png"

# Enter applies a typed frequency; the arrows go on from it.
e2e_probe set-text 101 "14.25" key 101 VK_RETURN
e2e_field_reads 014.250000
e2e_digit_click 5 lower
e2e_field_reads 014.240000

e2e_probe close wait-gone 20000
e2e_wait_exit 20
e2e_check "exit code" 0 "$E2E_EXIT_CODE"
e2e_check "saved frequency" 14240000 "$(e2e_ini_value Radio Frequency)"
