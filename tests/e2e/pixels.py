#!/usr/bin/env python3
"""Looks at screenshots for the window tests: colours of areas and of
single pixels, the extent of a colour, how far an area scrolled between two
shots, and the S-meter's twenty segments at the places the window's geometry
gives them.

  pixels.py pixel <png> <x> <y>                         -> "r g b"
  pixels.py count <png> <x0> <y0> <x1> <y1> <r> <g> <b> <tolerance>
      pixels of [x0, x1) x [y0, y1) within the tolerance on every channel
  pixels.py other <png> <x0> <y0> <x1> <y1> <tolerance> <r> <g> <b>...
      pixels of the area beyond the tolerance, on some channel, from each of
      the colours
  pixels.py scrolled <png> <later png> <x0> <y0> <x1> <y1>
      "<rows> <share>": the downward shift, by one row or more, that best
      carries the area's rows to the later shot's, and the share of the
      overlapping rows found there byte for byte (so the area's rows must
      stand one for one on the screen's)
  pixels.py differ <png> <other png> <x0> <y0> <x1> <y1>
      pixels of the area that are not the same in both shots
  pixels.py height <png> <x0> <y0> <x1> <y1> <r> <g> <b> <tolerance>
      rows from the first to the last one holding such a pixel (0 if none)
  pixels.py meter <png> <origin x> <origin y> <scale> <info x> <info y>
                  <info w> <compact 0|1> <lit segments>
      every segment shows its lit or unlit colour; one line per fault,
      exit code 1 when there is any

Screen coordinates; the meter's figures are the layout's logical pixels
below the 28-pixel caption band of the window whose client area starts at
the origin.
"""

import math
import subprocess
import sys

STOPS = [(44, 218, 240), (50, 235, 122), (152, 245, 69), (250, 230, 48), (255, 146, 35), (255, 57, 48)]


class Image:
    def __init__(self, path):
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        fields, at = [], 0
        while len(fields) < 4:  # magic, width, height, maximum, blank-separated
            while data[at:at + 1].isspace():
                at += 1
            start = at
            while not data[at:at + 1].isspace():
                at += 1
            fields.append(data[start:at])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = data[at + 1:]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        at = 3 * (y * self.width + x)
        return tuple(self.data[at:at + 3])

    def matches(self, x0, y0, x1, y1, colour, tolerance):
        for y in range(y0, y1):
            for x in range(x0, x1):
                p = self.pixel(x, y)
                if p is not None and all(abs(a - b) <= tolerance for a, b in zip(p, colour)):
                    yield x, y

    def row(self, y, x0, x1):
        return self.data[3 * (y * self.width + x0):3 * (y * self.width + x1)]

    def others(self, x0, y0, x1, y1, colours, tolerance):
        for y in range(y0, y1):
            for x in range(x0, x1):
                p = self.pixel(x, y)
                if p is not None and all(any(abs(a - b) > tolerance for a, b in zip(p, colour))
                                         for colour in colours):
                    yield x, y


def segment_colour(i):
    p = 5.0 * i / 19.0
    k = min(int(p), 4)
    f = p - k
    return tuple(int(a * (1 - f) + b * f) for a, b in zip(STOPS[k], STOPS[k + 1]))


def unlit(colour):
    return tuple(int(c * 0.2 + add) for c, add in zip(colour, (4, 16.8, 26.4)))


def rise(along, arc):
    return math.sin(math.pi / 2 * min(max(along / arc, 0.0), 1.0))


def segments(x, y, w, compact):
    """Logical bounding boxes (left, top, right, bottom) of the twenty segments."""
    if compact:
        x0, length, base, arc, offset, top_rise, bottom_rise = x + 178, 90, y + 21, 88, 4, 10, 2
    else:
        x0, length, base, arc, offset, top_rise, bottom_rise = x + 14, w - 28, y + 56, max(1, w - 30), 6, 17, 4
    for i in range(20):
        left = (i * length) // 20
        right = ((i + 1) * length) // 20 - 2
        top = base - offset - round(top_rise * rise(right, arc))
        bottom = base - round(bottom_rise * rise(left, arc))
        yield x0 + left, top, x0 + right, bottom


def meter(image, ox, oy, scale, x, y, w, compact, lit):
    faults = []
    for i, (left, top, right, bottom) in enumerate(segments(x, y, w, compact)):
        colour = segment_colour(i)
        shown, other = (colour, unlit(colour)) if i < lit else (unlit(colour), colour)
        box = (ox + round(left * scale), oy + round((top + 28) * scale),
               ox + round(right * scale), oy + round((bottom + 28) * scale))
        found = sum(1 for _ in image.matches(*box, shown, 6))
        wrong = sum(1 for _ in image.matches(*box, other, 6))
        state = "lit" if i < lit else "unlit"
        if found == 0 or wrong > 0:
            faults.append(f"segment {i} in {box}: {found} pixels of its {state} colour {shown}, "
                          f"{wrong} of {other}")
    return faults


def scrolled(image, later, x0, y0, x1, y1):
    before = [image.row(y, x0, x1) for y in range(y0, y1)]
    after = [later.row(y, x0, x1) for y in range(y0, y1)]
    best = (0, 0.0)
    for shift in range(1, len(before) - 7):  # at least 8 rows overlap
        overlap = len(before) - shift
        share = sum(a == b for a, b in zip(before[:overlap], after[shift:])) / overlap
        if share > best[1]:
            best = (shift, round(share, 3))
    return best


def main(argv):
    command, image = argv[1], Image(argv[2])
    if command == "scrolled":
        print(*scrolled(image, Image(argv[3]), *(int(a) for a in argv[4:8])))
        return 0
    if command == "differ":
        x0, y0, x1, y1 = (int(a) for a in argv[4:8])
        other = Image(argv[3])
        print(sum(image.row(y, x0, x1)[3 * i:3 * i + 3] != other.row(y, x0, x1)[3 * i:3 * i + 3]
                  for y in range(y0, y1) for i in range(x1 - x0)))
        return 0
    numbers = [float(a) for a in argv[3:]]
    ints = [int(round(n)) for n in numbers]
    if command == "pixel":
        print(*image.pixel(ints[0], ints[1]))
    elif command == "count":
        print(sum(1 for _ in image.matches(*ints[0:4], ints[4:7], ints[7])))
    elif command == "other":
        colours = [ints[i:i + 3] for i in range(5, len(ints) - 2, 3)]
        print(sum(1 for _ in image.others(*ints[0:4], colours, ints[4])))
    elif command == "height":
        rows = {y for _, y in image.matches(*ints[0:4], ints[4:7], ints[7])}
        print(max(rows) - min(rows) + 1 if rows else 0)
    elif command == "meter":
        faults = meter(image, ints[0], ints[1], numbers[2], ints[3], ints[4], ints[5], ints[6] == 1, ints[7])
        for fault in faults:
            print(fault)
        return 1 if faults else 0
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
