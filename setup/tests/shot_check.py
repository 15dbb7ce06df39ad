#!/usr/bin/env python3
"""Checks a screenshot of the installer's dialog against the controls the dialog reports.

    shot_check.py SHOT.ppm CONTROLS.txt

SHOT.ppm is a binary PPM of the whole screen (ImageMagick: import -window root shot.ppm).
CONTROLS.txt holds the dialog window first, then its controls, one a line:
class, text, left, top, width, height (screen pixels), tab-separated.
The dialog must be drawn light on the screen and every control must show drawn pixels (its text
and frame) inside its rectangle. Prints one line per check; exit status 0 when all pass.
"""

import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError("not a binary 8-bit PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def luma_counts(image, left, top, width, height):
    """Numbers of dark and light pixels and the total in the rectangle."""
    image_width, image_height, pixels = image
    dark = light = total = 0
    for y in range(max(top, 0), min(top + height, image_height)):
        row = y * image_width * 3
        for x in range(max(left, 0), min(left + width, image_width)):
            r, g, b = pixels[row + 3 * x:row + 3 * x + 3]
            luma = (299 * r + 587 * g + 114 * b) // 1000
            total += 1
            if luma < 110:
                dark += 1
            elif luma > 180:
                light += 1
    return dark, light, total


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    image = read_ppm(sys.argv[1])
    rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[2], encoding="utf-8")]
    rows = [row for row in rows if len(row) == 6]
    if len(rows) < 2:
        print("FAIL no controls reported")
        return 1
    failures = 0
    for index, (cls, text, *box) in enumerate(rows):
        left, top, width, height = (int(v) for v in box)
        dark, light, total = luma_counts(image, left, top, width, height)
        if index == 0:
            ok = total > 0 and light * 2 > total  # the dialog's face, not the black screen
        else:
            ok = total > 0 and dark >= 10 and light > 0  # a frame or text on the face
        failures += not ok
        print(f"{'ok  ' if ok else 'FAIL'} {cls} \"{text}\" dark={dark} light={light} of {total}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
