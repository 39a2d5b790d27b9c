"""The screen and the pointer as a person uses them: xdotool input, root-window screenshots and the
pixel arithmetic the checks need (rectangles, colours, differences). Needs a DISPLAY."""
import subprocess
import time

WIDTH, HEIGHT = 1280, 800
MAGENTA = (255, 0, 255)
STEP_PAUSE = 0.07  # between the moves of a drag


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=60)


def drag(x, y, dx, dy, steps=10):
    """Press at (x, y), move in `steps` steps 70 ms apart to (x+dx, y+dy), release."""
    chain = ["mousemove", x, y, "sleep", 0.2, "mousedown", 1]
    for i in range(1, steps + 1):
        chain += ["sleep", STEP_PAUSE, "mousemove", x + dx * i // steps, y + dy * i // steps]
    chain += ["sleep", STEP_PAUSE, "mouseup", 1]
    xdotool(*chain)


def click(x, y):
    xdotool("mousemove", x, y, "sleep", 0.15, "click", 1)


def key(*names):
    """Presses and releases each key or chord in turn (e.g. "ctrl+n", "F10", "Down")."""
    xdotool("key", "--delay", 120, *names)


def tap(name):
    """A key pressed and released on its own, as a person taps Alt."""
    xdotool("keydown", name, "sleep", 0.1, "keyup", name)


def type_text(text):
    xdotool("type", "--delay", 60, text)


def set_root_magenta():
    subprocess.run(["xsetroot", "-solid", "magenta"], check=True, timeout=20)


def shot():
    """The whole root window as packed RGB bytes, top-down."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], check=True,
                          capture_output=True, timeout=30).stdout
    if len(data) != WIDTH * HEIGHT * 3:
        raise RuntimeError(f"screenshot of {len(data)} bytes; the screen must be {WIDTH}x{HEIGHT}x24")
    return data


def settled_shot(bound=5.0, pause=0.15, agreeing=3):
    """Screenshots until `agreeing` in a row are equal (repaints and animations done), at most
    `bound` seconds. Returns (pixels, settled)."""
    deadline = time.monotonic() + bound
    last, same = shot(), 1
    while time.monotonic() < deadline:
        time.sleep(pause)
        now = shot()
        same = same + 1 if now == last else 1
        last = now
        if same >= agreeing:
            return now, True
    return last, False


def save_png(data, path):
    subprocess.run(["convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", "8", "rgb:-", str(path)],
                   input=data, check=True, timeout=60)


def save_diff(a_path, b_path, diff_path):
    """ImageMagick's count of differing pixels; the diff image marks them."""
    done = subprocess.run(["compare", "-metric", "AE", str(a_path), str(b_path), str(diff_path)],
                          capture_output=True, text=True, timeout=60)
    return done.stderr.strip()


def pixel(data, x, y):
    i = (y * WIDTH + x) * 3
    return tuple(data[i:i + 3])


def crop(data, r):
    """The pixels of a rectangle, row after row."""
    return b"".join(data[(y * WIDTH + r[0]) * 3:(y * WIDTH + r[2]) * 3] for y in range(r[1], r[3]))


# Rectangles are (left, top, right, bottom), right and bottom exclusive, in screen pixels.

def clip(r, to=(0, 0, WIDTH, HEIGHT)):
    out = (max(r[0], to[0]), max(r[1], to[1]), min(r[2], to[2]), min(r[3], to[3]))
    return out if out[0] < out[2] and out[1] < out[3] else None


def subtract(rects, cut):
    """The parts of `rects` outside `cut`."""
    out = []
    for r in rects:
        c = clip(cut, r)
        if not c:
            out.append(r)
            continue
        if r[1] < c[1]:
            out.append((r[0], r[1], r[2], c[1]))
        if c[3] < r[3]:
            out.append((r[0], c[3], r[2], r[3]))
        if r[0] < c[0]:
            out.append((r[0], c[1], c[0], c[3]))
        if c[2] < r[2]:
            out.append((c[2], c[1], r[2], c[3]))
    return out


def inflate(r, n):
    return (r[0] - n, r[1] - n, r[2] + n, r[3] + n)


def overlap(a, b):
    return clip(a, b) is not None


class PixelCount:
    """How many pixels of a set of rectangles broke a rule, and where."""

    def __init__(self):
        self.count = 0
        self.box = None
        self.sample = None

    def add(self, x, y, colour):
        self.count += 1
        if self.sample is None:
            self.sample = (x, y, colour)
        b = self.box
        self.box = (x, y, x + 1, y + 1) if b is None else (min(b[0], x), min(b[1], y), max(b[2], x + 1), max(b[3], y + 1))

    def __str__(self):
        x, y, c = self.sample
        return f"{self.count} px in {self.box} (first at {x},{y}: rgb{c})"


def count_colour(data, rects, colour):
    """Pixels of the given colour inside the rectangles."""
    found = PixelCount()
    pattern = bytes(colour)
    for r in filter(None, (clip(r) for r in rects)):
        for y in range(r[1], r[3]):
            row = (y * WIDTH + r[0]) * 3
            end = (y * WIDTH + r[2]) * 3
            at = data.find(pattern, row, end)
            while at != -1:
                if (at - row) % 3 == 0:
                    found.add(r[0] + (at - row) // 3, y, colour)
                at = data.find(pattern, at + 1, end)
    return found


def count_other(data, rects, colour, exclude=()):
    """Pixels inside the rectangles (less the excluded ones) that are not of the given colour."""
    found = PixelCount()
    for r in rects:
        for part in filter(None, (clip(p) for p in _minus_all([r], exclude))):
            width = part[2] - part[0]
            expected = bytes(colour) * width
            for y in range(part[1], part[3]):
                row = (y * WIDTH + part[0]) * 3
                line = data[row:row + width * 3]
                if line == expected:
                    continue
                for i in range(width):
                    if line[i * 3:i * 3 + 3] != expected[:3]:
                        found.add(part[0] + i, y, tuple(line[i * 3:i * 3 + 3]))
    return found


def _minus_all(rects, cuts):
    for c in cuts:
        rects = subtract(rects, c)
    return rects


def differing(a, b):
    """Pixels that differ between two screenshots."""
    found = PixelCount()
    if a == b:
        return found
    stride = WIDTH * 3
    for y in range(HEIGHT):
        ra, rb = a[y * stride:(y + 1) * stride], b[y * stride:(y + 1) * stride]
        if ra == rb:
            continue
        for x in range(WIDTH):
            if ra[x * 3:x * 3 + 3] != rb[x * 3:x * 3 + 3]:
                found.add(x, y, tuple(rb[x * 3:x * 3 + 3]))
    return found
