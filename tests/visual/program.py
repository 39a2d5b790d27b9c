"""The program under Wine's X11 driver: its Wine session, starting and ending it, and what the probe
tells about its windows."""
import os
import pathlib
import subprocess
import time
from dataclasses import dataclass, field

ROOT = pathlib.Path(__file__).resolve().parents[2]
BIN = ROOT / "build" / "win" / "bin"
WINE_RUN = ROOT / "scripts" / "wine-run"
PREFIX = pathlib.Path(os.environ.get("FN_WINEPREFIX") or ROOT / "build" / "wine-x11")   # as scripts/wine-run


def wine_env():
    env = dict(os.environ)
    env["FN_WINE_DRIVER"] = "x11"
    env["WINEPREFIX"] = str(PREFIX)
    return env


def wine(*args, timeout=120):
    return subprocess.run([str(WINE_RUN), *map(str, args)], env=wine_env(), stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=timeout)


def wineserver(*args):
    """The session's wineserver; its output goes nowhere (a pipe would stay open as long as it runs)."""
    subprocess.run(["wineserver", *args], env=wine_env(), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class WineSession:
    """One wineserver for the whole run, on this display; the caret does not blink (it would
    change the screen between two screenshots)."""

    def __enter__(self):
        wineserver("-k")
        wineserver("-w")
        wineserver("-p")
        wine("cmd", "/c", "exit", "0")
        wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "CursorBlinkRate", "/d", "-1", "/f")
        return self

    def __exit__(self, *exc):
        wineserver("-k")
        wineserver("-w")


@dataclass
class Window:
    hwnd: str
    kind: str          # "top" or "mdi"
    rect: tuple
    cls: str
    caption: str
    region: list = field(default_factory=list)   # empty: the whole window rectangle
    inner: list = field(default_factory=list)    # (class, client rectangle) of child windows

    @property
    def size(self):
        return (self.rect[2] - self.rect[0], self.rect[3] - self.rect[1])

    def shape(self):
        return self.region or [self.rect]

    def text_area(self):
        return next((r for c, r in self.inner if c.startswith("RichEdit")), None)


@dataclass
class Scene:
    tops: list
    client: tuple = None   # the documents' area (MDI client's client area)
    mdis: list = field(default_factory=list)   # notes, front first
    caret: tuple = None

    def main(self):
        return next((w for w in self.tops if w.caption == "Fennick Notizen" and w.cls == "FnWindow"), None)

    def popups(self):
        return [w for w in self.tops if w.cls == "TmnSkinPopupWindow"]

    def dialogs(self):
        return [w for w in self.tops if w.cls == "#32770"]


def parse_scene(text):
    scene = Scene(tops=[])
    last = None
    for line in text.splitlines():
        word, _, rest = line.partition(" ")
        parts = rest.split(" ")
        if word == "window":
            hwnd, kind, l, t, r, b, cls = parts[:7]
            last = Window(hwnd, kind, (int(l), int(t), int(r), int(b)), cls, " ".join(parts[7:]))
            (scene.tops if kind == "top" else scene.mdis).append(last)
        elif word == "region":
            n = [int(v) for v in parts[1:]]
            last.region = [tuple(n[i:i + 4]) for i in range(0, len(n), 4)]
        elif word == "client":
            scene.client = tuple(int(v) for v in parts)
        elif word == "inner":
            last.inner.append((parts[0], tuple(int(v) for v in parts[1:5])))
        elif word == "caret":
            scene.caret = tuple(int(v) for v in parts)
    return scene


class Program:
    """A Windows program of build/win/bin started under Wine; ended by its process id."""

    def __init__(self, exe, *args, log=None):
        self.exe = exe
        # A program ended by its process id leaves the recovery copies of its changed notes;
        # the next start would ask to restore them instead of showing its window.
        if exe == "FennickNotizen.exe":
            for folder in PREFIX.glob("drive_c/users/*/AppData/Local/Fennick Notizen/Wiederherstellung"):
                for f in folder.iterdir():
                    f.unlink(missing_ok=True)
        self.log = open(log or os.devnull, "w")
        self.process = subprocess.Popen([str(WINE_RUN), str(BIN / exe), *map(str, args)], env=wine_env(),
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def probe(self, command):
        done = wine(BIN / "visual_probe.exe", command, self.exe, timeout=60)
        return done

    def scene(self):
        return parse_scene(self.probe("list").stdout)

    def redraw(self):
        self.probe("redraw")

    def running(self):
        return self.process.poll() is None and self.probe("alive").returncode == 0

    def wait_for(self, test, bound=30.0, pause=0.25):
        """The first scene for which test(scene) holds, or None after `bound` seconds."""
        deadline = time.monotonic() + bound
        while time.monotonic() < deadline:
            scene = self.scene()
            if test(scene):
                return scene
            time.sleep(pause)
        return None

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            pass
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and self.probe("alive").returncode == 0:
            time.sleep(0.2)
        self.log.close()
