#!/usr/bin/env python3
"""Renders a sample HTML report and an N-M diagram in headless Chromium and checks the pictures:
the page renders without script errors, the bars stand where the sketch puts them, the curve is
drawn inside the plot area. Usage: render_test.py ARMOCALC_BINARY"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

BAR = (0xC0, 0x39, 0x2B)
CURVE = (0x1F, 0x5F, 0xBF)
WINDOW = (1000, 1400)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def decode_png(data):
    """(width, height, rows of RGB tuples) of an 8-bit RGB or RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        fail("unexpected PNG format %s" % (header,))
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def near(pixel, colour, tolerance=40):
    return all(abs(p - c) <= tolerance for p, c in zip(pixel, colour))


def colour_around(rows, x, y, colour, reach=2):
    for dy in range(-reach, reach + 1):
        for dx in range(-reach, reach + 1):
            yy, xx = int(round(y)) + dy, int(round(x)) + dx
            if 0 <= yy < len(rows) and 0 <= xx < len(rows[0]) and near(rows[yy][xx], colour):
                return True
    return False


def chromium(*args):
    result = subprocess.run([BROWSER, "--headless", "--no-sandbox", "--disable-gpu",
                             "--hide-scrollbars", "--enable-logging=stderr", "--v=0", *args],
                            capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        fail("chromium exited with %d: %s" % (result.returncode, result.stderr[-2000:]))
    if re.search(r"CONSOLE.*(Uncaught|Error)", result.stderr):
        fail("the page reported a script error: " + result.stderr[-2000:])
    return result.stdout


def screenshot(url, path, size):
    chromium("--screenshot=" + path, "--window-size=%d,%d" % size, url)
    with open(path, "rb") as f:
        return decode_png(f.read())


def run(*args):
    result = subprocess.run([CLI, *args], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        fail("armocalc %s: %s" % (" ".join(args), result.stderr))


SECTION_B, SECTION_H = 0.6, 0.5
TABLE = [(-0.24, 0.2, 20), (0, 0.2, 20), (0.24, 0.2, 20), (-0.24, -0.2, 25), (0.24, -0.2, 25)]


def check_to_scale(html):
    """The section's rectangle b x h and the bars of the table where the inputs put them."""
    rect = re.search(r'class="section" x="([\d.]+)" y="([\d.]+)" width="([\d.]+)" '
                     r'height="([\d.]+)"', html)
    if not rect:
        fail("the sketch lacks the section's rectangle")
    x0, y0, width, height = map(float, rect.groups())
    scale = width / SECTION_B
    if abs(height - SECTION_H * scale) > 0.02:
        fail("the rectangle is %g x %g pixels, not to the scale of b x h" % (width, height))
    for x, y, d in TABLE:
        bar = 'class="bar" cx="%g" cy="%g" r="%g"' % (
            round(x0 + (x + SECTION_B / 2) * scale, 2), round(y0 + (SECTION_H / 2 - y) * scale, 2),
            round(d / 2000 * scale, 2))
        if bar not in html:
            fail("no bar at x = %g, y = %g of diameter %g mm (%s)" % (x, y, d, bar))


def check_report(folder):
    report = os.path.join(folder, "sample.txt")
    table = "[" + ",".join("[%g,%g,%g]" % bar for bar in TABLE) + "]"
    run("мтПрочностьТB", "КлассАрматурнойСтали=3", "КлассБетона=25", "N=0.5", "M=0.1",
        "B=%g" % SECTION_B, "h=%g" % SECTION_H, "ТаблицаАрматурныхСтержней=" + table,
        "--report", report, "--report-format", "html")
    page = report + ".html"
    with open(page, encoding="utf-8") as f:
        html = f.read()
    # Where the sketch stands on the page: a copy of the page reports its box.
    probe = os.path.join(folder, "probe.html")
    with open(probe, "w", encoding="utf-8") as f:
        f.write(html.replace("</body>", "<script>var r=document.querySelector('svg.section-sketch')"
                             ".getBoundingClientRect();document.body.setAttribute('data-box',"
                             "r.left+','+r.top);</script></body>"))
    dom = chromium("--window-size=%d,%d" % WINDOW, "--dump-dom", "file://" + probe)
    box = re.search(r'data-box="([-\d.]+),([-\d.]+)"', dom)
    if not box or "class=\"line title\"" not in dom:
        fail("the report page did not render its lines and sketch")
    left, top = float(box.group(1)), float(box.group(2))
    bars = [tuple(map(float, m)) for m in
            re.findall(r'class="bar" cx="([\d.]+)" cy="([\d.]+)" r="([\d.]+)"', html)]
    if len(bars) != len(TABLE):
        fail("the sketch holds %d bars, not %d" % (len(bars), len(TABLE)))
    check_to_scale(html)
    if top + max(b[1] for b in bars) > WINDOW[1]:
        fail("the sketch is below the window")
    _, _, rows = screenshot("file://" + page, os.path.join(folder, "report.png"), WINDOW)
    for cx, cy, _ in bars:
        if not colour_around(rows, left + cx, top + cy, BAR, reach=1):
            fail("no bar colour at (%.1f, %.1f), got %s" %
                 (left + cx, top + cy, rows[int(top + cy)][int(left + cx)]))
    middle = rows[int(top + (bars[0][1] + bars[3][1]) / 2)][int(left + bars[1][0])]
    if near(middle, BAR):
        fail("bar colour between the layers")


def check_diagram(folder):
    svg = os.path.join(folder, "diagram.svg")
    run("diagram", "мтПрочностьB", "КлассАрматурнойСтали=3", "КлассБетона=25", "N=0.5", "M=0.1",
        "Fв=10", "Fн=10", "ав=0.05", "ан=0.05", "h=0.5", "--svg", svg)
    with open(svg, encoding="utf-8") as f:
        text = f.read()
    area = re.search(r'class="plot-area" x="([\d.]+)" y="([\d.]+)" width="([\d.]+)" '
                     r'height="([\d.]+)"', text)
    points = re.search(r'class="curve" points="([^"]+)"', text)
    size = re.search(r'<svg[^>]* width="(\d+)" height="(\d+)"', text)
    if not (area and points and size):
        fail("the diagram lacks its plot area or curve")
    x0, y0, w, h = map(float, area.groups())
    vertices = [tuple(map(float, p.split(","))) for p in points.group(1).split()]
    if not all(x0 <= x <= x0 + w and y0 <= y <= y0 + h for x, y in vertices):
        fail("a curve point lies outside the plot area")
    _, _, rows = screenshot("file://" + svg, os.path.join(folder, "diagram.png"),
                            (int(size.group(1)), int(size.group(2))))
    drawn = sum(colour_around(rows, x, y, CURVE) for x, y in vertices)
    if drawn < 0.9 * len(vertices):
        fail("only %d of %d curve points are drawn" % (drawn, len(vertices)))
    outside = [rows[int(y0) - 5][x] for x in range(int(x0), int(x0 + w))]
    if any(near(p, CURVE, 20) for p in outside):
        fail("curve colour above the plot area")


if __name__ == "__main__":
    CLI = sys.argv[1]
    BROWSER = shutil.which("chromium") or shutil.which("chromium-browser")
    if not BROWSER:
        fail("chromium is not installed (bash scripts/install-deps.sh browser installs it)")
    with tempfile.TemporaryDirectory() as folder:
        check_report(folder)
        check_diagram(folder)
    print("ok: report sketch and diagram render as drawn")
