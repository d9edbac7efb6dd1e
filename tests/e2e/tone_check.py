#!/usr/bin/env python3
"""What a capture of the sound sink holds around one tone.

    tone_check.py <raw s16le mono 48 kHz file> <frequency Hz> [skip seconds]

Prints "<level dBFS> <share>": the RMS level of the capture after the skipped
start, and the share of its power that lies within 10 Hz of the frequency (1
for a pure tone, about 0 for silence or for another tone).

The share is taken over quarter-second windows: a loaded sound server
sometimes drops a few samples from a recording, and a tone measured across
that slip as one piece would lose its phase there and seem to vanish.
"""
import math
import struct
import sys

RATE = 48000
WINDOW = RATE // 4


def samples(path, skip):
    data = open(path, "rb").read()
    values = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
    return [v / 32768.0 for v in values[int(skip * RATE):]]


def tone_power(x, frequency):
    """Mean power of the strongest component within 10 Hz of the frequency."""
    best = 0.0
    n = len(x)
    for f in range(int(frequency) - 10, int(frequency) + 11):
        coefficient = 2.0 * math.cos(2.0 * math.pi * f / RATE)
        s1 = s2 = 0.0
        for v in x:
            s1, s2 = v + coefficient * s1 - s2, s1
        magnitude2 = s1 * s1 + s2 * s2 - coefficient * s1 * s2
        best = max(best, 2.0 * magnitude2 / (n * n))
    return best


def windows(x):
    """Whole windows of the capture, or the capture itself when shorter."""
    if len(x) < WINDOW:
        return [x]
    return [x[i:i + WINDOW] for i in range(0, len(x) - WINDOW + 1, WINDOW)]


def main():
    path, frequency = sys.argv[1], float(sys.argv[2])
    skip = float(sys.argv[3]) if len(sys.argv) > 3 else 0.5
    x = samples(path, skip)
    if not x:
        print("-inf 0")
        return
    power = sum(v * v for v in x) / len(x)
    if power <= 1e-12:
        print("-inf 0")
        return
    pieces = windows(x)
    measured = sum(v * v for piece in pieces for v in piece)
    tone = sum(tone_power(piece, frequency) * len(piece) for piece in pieces)
    print("%.1f %.3f" % (10 * math.log10(power), min(1.0, tone / measured)))


main()
