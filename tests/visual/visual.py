#!/usr/bin/env python3
"""The visual suite: starts the program (and the skin gallery) under Wine's X11 driver on the
current DISPLAY (1280x800x24), drives it with real input as a person does and checks the pixels
after every step. Run it through tests/visual/run.sh, which provides Xvfb.

    visual.py                 the quick scenarios (the set scripts/test runs)
    visual.py NAME...         the named scenarios
    visual.py --all           every scenario
    visual.py --list          the scenarios and the faults they look for
    visual.py --long [STEPS]  the long scripted run (default 200 steps)

Screenshots of every failure land in build/visual/.
"""
import random
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

import screen as sc
from program import BIN, ROOT, Program, WineSession

OUT = ROOT / "build" / "visual"
FRESH_MAIN = (356, 179, 924, 620)   # the main window of a fresh start on a 1280x800 screen
WHITE = (255, 255, 255)
SCENARIOS = {}


def scenario(name, quick, about):
    def register(fn):
        SCENARIOS[name] = (fn, quick, about)
        return fn
    return register


class Failed(Exception):
    pass


class Run:
    """One scenario: its program, its checks and what failed."""

    def __init__(self, name):
        self.name = name
        self.failures = []
        self.steps = 0
        self.program = None
        self.background = None
        self.evidence_left = 6   # failures that save screenshots; the rest are only counted

    # -- the program ---------------------------------------------------------------------------

    def start(self, exe="FennickNotizen.exe", *args, ready=None):
        self.program = Program(exe, *args, log=OUT / f"{self.name}-{exe}.log")
        ready = ready or (lambda s: s.main() is not None and len(s.mdis) >= 1)
        scene = self.program.wait_for(ready, bound=40)
        if scene is None:
            raise Failed(f"{exe} showed no window within 40 s")
        sc.set_root_magenta()   # Wine sets the root's background when it starts its desktop
        sc.settled_shot()
        return self.program.scene()

    def start_notes(self):
        """A fresh start of the program, its windows where a fresh start puts them; notes the
        documents' area colour beside the first note."""
        scene = self.start()
        if scene.main().rect != FRESH_MAIN:
            raise Failed(f"fresh start put the main window at {scene.main().rect}, not {FRESH_MAIN}")
        data, _ = sc.settled_shot()
        self.background = sc.pixel(data, scene.client[0] + 5, scene.client[3] - 5)
        return scene

    def end(self):
        if self.program:
            self.program.end()
            self.program = None

    def scene(self):
        return self.program.scene()

    # -- failures ------------------------------------------------------------------------------

    def fail(self, label, message, *shots, second="redrawn"):
        self.failures.append(f"{label}: {message}")
        print(f"  FAIL {label}: {message}", flush=True)
        if self.evidence_left <= 0 or not shots:
            return
        self.evidence_left -= 1
        stem = OUT / f"{self.name}-{label}-{len(self.failures)}"
        paths = []
        for suffix, data in zip(("", "-" + second), shots):
            path = stem.with_name(stem.name + suffix + ".png")
            sc.save_png(data, path)
            paths.append(path)
        if len(paths) == 2:
            sc.save_diff(paths[0], paths[1], stem.with_name(stem.name + "-diff.png"))
        print(f"       see {paths[0]}" + (f" (and -{second}, -diff)" if len(paths) == 2 else ""), flush=True)

    # -- checks --------------------------------------------------------------------------------

    def check(self, label, background=True, white=True):
        """The invariants after a step: no desktop colour inside a window's region; the documents'
        area and the notes' text areas show their colours; a forced full redraw changes nothing."""
        self.steps += 1
        data, settled = sc.settled_shot()
        if not settled:
            self.fail(label, "the screen did not settle within 5 s", data)
        scene = self.scene()
        self.check_magenta(label, data, scene)
        if background and self.background and scene.client:
            self.check_background(label, data, scene)
        if white:
            self.check_text_areas(label, data, scene)
        self.check_redraw(label, data)
        return scene

    def check_magenta(self, label, data, scene):
        corner = [r for r in [(0, 0, 1, 1), (1279, 799, 1280, 800)]
                  if not any(sc.overlap(r, w.rect) for w in scene.tops)]
        if corner and sc.pixel(data, corner[0][0], corner[0][1]) != sc.MAGENTA:
            self.fail(label, "the desktop is not magenta: the check would be blind", data)
            return
        for w in scene.tops:
            found = sc.count_colour(data, w.shape(), sc.MAGENTA)
            if found.count:
                self.fail(label, f"desktop colour inside {w.cls} '{w.caption}' {w.rect}: {found}", data)
        for w in scene.mdis:
            shape = [r for r in (sc.clip(r, scene.client) for r in w.shape()) if r]
            found = sc.count_colour(data, shape, sc.MAGENTA)
            if found.count:
                self.fail(label, f"desktop colour inside note '{w.caption}' {w.rect}: {found}", data)

    def check_background(self, label, data, scene):
        free = [scene.client]
        for w in scene.mdis:
            free = sc.subtract(free, w.rect)
        for w in scene.tops:
            if w is not scene.main():
                free = sc.subtract(free, w.rect)
        found = sc.count_other(data, free, self.background)
        if found.count:
            self.fail(label, f"documents' area not its colour rgb{self.background}: {found}", data)

    def check_text_areas(self, label, data, scene):
        """The visible part of each note's empty text area is white (the caret aside)."""
        above = [w.rect for w in scene.tops if w is not scene.main()]
        caret = [sc.inflate(scene.caret, 1)] if scene.caret else []
        for w in scene.mdis:
            area = w.text_area()
            if area:
                visible = [area]
                for r in above:
                    visible = sc.subtract(visible, r)
                if scene.client:
                    visible = [r for r in (sc.clip(r, scene.client) for r in visible) if r]
                found = sc.count_other(data, visible, WHITE, exclude=caret)
                if found.count:
                    self.fail(label, f"text area of '{w.caption}' {area} not white: {found}; caret at {scene.caret}", data)
            above.append(w.rect)

    def check_redraw(self, label, before):
        self.program.redraw()
        after, _ = sc.settled_shot()
        diff = sc.differing(before, after)
        if diff.count:
            self.fail(label, f"stale pixels (a full redraw changed {diff})", before, after)

    def expect(self, label, condition, message):
        if not condition:
            data = sc.shot()
            self.fail(label, message, data)
        return condition


# -- scenarios -------------------------------------------------------------------------------------

def main_corner(scene):
    r = scene.main().rect
    return r[2] - 3, r[3] - 4


@scenario("corner_drag", True, "fault 1: a drag at the top-right corner runs the close button")
def corner_drag(run):
    run.start_notes()
    sc.drag(921, 616, 150, 100)
    scene = run.check("grown", background=False, white=False)
    run.expect("grown", scene.main().rect == (356, 179, 1074, 720), f"main window at {scene.main().rect}")
    sc.click(600, 400)
    sc.type_text("abc")
    sc.drag(1070, 182, 30, -20)
    scene = run.check("top-right-grown", background=False, white=False)
    run.expect("top-right-grown", scene.main().rect == (356, 159, 1104, 720),
               f"the top-right drag left the main window at {scene.main().rect}")
    sc.drag(1100, 162, -30, 20)
    time.sleep(0.5)
    if not run.expect("top-right-shrunk", run.program.running(), "the program ended: the drag ran Schließen"):
        return
    scene = run.scene()
    run.expect("top-right-shrunk", not scene.dialogs(),
               "a close query appeared: the drag ran Schließen (" +
               ", ".join(f"'{w.caption}'" for w in scene.dialogs()) + ")")
    run.expect("top-right-shrunk", scene.main().rect == (356, 179, 1074, 720),
               f"the drag back left the main window at {scene.main().rect}")


@scenario("grow_main", True, "fault 2: growing the main window leaves the documents' area unpainted")
def grow_main(run):
    run.start_notes()
    sc.drag(921, 616, 150, 100)
    run.check("grown")


@scenario("shrink_grow_main", True,
          "faults 2 and 11: the main window shrunk to its minimum (rounded there) and grown again")
def shrink_grow_main(run):
    run.start_notes()
    sc.drag(921, 616, -700, -600)
    scene = run.check("minimum", background=False, white=False)
    main = scene.main()
    run.expect("minimum", len(main.region) > 1,
               f"the main window at its minimum size {main.size} has no rounded outline (no region)")
    x, y = main_corner(scene)
    sc.drag(x, y, 600, 450)
    scene = run.check("regrown")
    run.expect("regrown", scene.main().size[0] > 600, f"the main window did not grow again: {scene.main().rect}")


@scenario("note_grow", True, "fault 3: a note grown by its edges is not repainted")
def note_grow(run):
    scene = run.start_notes()
    note = scene.mdis[0].rect
    sc.drag(note[2] - 2, (note[1] + note[3]) // 2, 50, 0)
    scene = run.check("right-edge")
    note = scene.mdis[0].rect
    sc.drag((note[0] + note[2]) // 2, note[3] - 2, 0, 15)
    scene = run.check("bottom-edge")
    note = scene.mdis[0].rect
    sc.drag(note[2] - 3, note[3] - 3, -120, -80)
    scene = run.check("shrunk-corner")
    note = scene.mdis[0].rect
    sc.drag(note[2] - 3, note[3] - 3, 100, 60)
    run.check("grown-corner")


def caption_text(data, rect, start_dx, end_dx):
    """Where a caption's text ends (pixels from the window's left) and how many pixels it has: the
    caption bar is even along each row, so a pixel that differs from the row's first is text."""
    x0, x1 = rect[0] + start_dx, rect[2] - end_dx
    last, count = 0, 0
    for y in range(rect[1] + 6, rect[1] + 26):
        bg = sc.pixel(data, x0, y)
        for x in range(x0, x1):
            if sc.pixel(data, x, y) != bg:
                count += 1
                last = max(last, x - rect[0])
    return last, count


def check_caption(run, label, window, full, start_dx, end_dx):
    """The caption shows the whole text it showed at full width while the text fits."""
    data, _ = sc.settled_shot()
    end, count = caption_text(data, window.rect, start_dx, end_dx)
    room = window.size[0] - end_dx
    if room < full[0] + 10:
        run.fail(label, f"{window.size[0]} px leave no room for the text (ends at {full[0]}): pick a wider size")
        return
    run.expect(label, end == full[0] and abs(count - full[1]) <= full[1] // 20,
               f"caption '{window.caption}' cut at width {window.size[0]}: text ends at {end} px with {count} px "
               f"drawn, at full width at {full[0]} px with {full[1]} px; room up to {room} px")


@scenario("caption_fit", True, "fault 5: captions cut far too early (a narrow note, the main window at its minimum)")
def caption_fit(run):
    scene = run.start_notes()
    data, _ = sc.settled_shot()
    note, main = scene.mdis[0], scene.main()
    note_full = caption_text(data, note.rect, 6, 8)
    main_full = caption_text(data, main.rect, 30, 40)
    target = note_full[0] + 60
    sc.drag(note.rect[2] - 2, (note.rect[1] + note.rect[3]) // 2, -(note.size[0] - target), 0)
    scene = run.check("narrow-note", background=False, white=False)
    check_caption(run, "narrow-note", scene.mdis[0], note_full, 6, 8)
    sc.drag(921, 616, -700, -600)
    scene = run.check("main-minimum", background=False, white=False)
    check_caption(run, "main-minimum", scene.main(), main_full, 30, 40)


@scenario("mouse_menu", True, "fault 11: a menu opened with the mouse highlights its first item")
def mouse_menu(run):
    """A menu opened with the mouse shows no highlight; opened with the keyboard (Alt+D) its
    first item is highlighted, so the two must differ inside the menu."""
    run.start_notes()
    shots = []
    for how, opening in (("mouse", lambda: sc.click(437, 259)), ("keys", lambda: sc.key("alt+d"))):
        opening()
        scene = run.program.wait_for(lambda s: s.popups(), bound=3)
        if not run.expect(how, scene is not None, f"Datei opened with the {how} showed no skinned menu"):
            return
        data, _ = sc.settled_shot()
        shots.append((scene.popups()[0].rect, data))
        sc.key("Escape", "Escape")
        run.program.wait_for(lambda s: not s.popups(), bound=3)
        sc.xdotool("mousemove", 437, 259)   # the pointer rests on Datei both times
    (rect_mouse, by_mouse), (rect_keys, by_keys) = shots
    same = rect_mouse == rect_keys and sc.crop(by_mouse, rect_mouse) == sc.crop(by_keys, rect_keys)
    if same:
        run.fail("mouse", "Datei opened with the mouse looks as opened with Alt+D: its first item is highlighted",
                 by_mouse, by_keys, second="by-keys")


@scenario("note_shrink_steps", True, "fault 4: a note shrunk by its right edge in steps leaves corner pixels")
def note_shrink_steps(run):
    run.start_notes()
    for i in range(4):
        note = run.scene().mdis[0].rect
        sc.drag(note[2] - 2, (note[1] + note[3]) // 2, -40, 0)
        run.check(f"shrunk-{i + 1}")
    sc.key("ctrl+F4")
    run.program.wait_for(lambda s: not s.mdis, bound=5)
    run.check("closed")


def notes(run, count):
    """A fresh start with `count` notes (the first and count - 1 made by Ctrl+N)."""
    run.start_notes()
    sc.click(600, 400)
    for _ in range(count - 1):
        sc.key("ctrl+n")
    scene = run.program.wait_for(lambda s: len(s.mdis) == count, bound=30)
    if scene is None:
        raise Failed(f"Ctrl+N {count - 1} times did not make {count} notes")
    return scene


def six_notes(run):
    return notes(run, 6)


def fenster(run, item):
    """Fenster > item through the menu bar's chord (Alt+F) and the item's letter; a failure when
    the menu does not open (the letter would be typed into a note)."""
    sc.key("alt+f")
    if run.program.wait_for(lambda s: s.popups(), bound=3) is None:
        run.fail("fenster", "Alt+F opened no menu", sc.shot())
        sc.key("Escape")
        return
    sc.key(item)
    run.program.wait_for(lambda s: not s.popups(), bound=3)


def check_tiled(run, label, scene):
    inside = [w for w in scene.mdis if sc.clip(w.rect, scene.client) != w.rect]
    run.expect(label, not inside, "notes outside the documents' area: " +
               ", ".join(f"{w.rect}" for w in inside) + f" (area {scene.client})")
    pairs = [(a.rect, b.rect) for i, a in enumerate(scene.mdis) for b in scene.mdis[i + 1:]
             if sc.overlap(a.rect, b.rect)]
    run.expect(label, not pairs, f"tiled notes overlap: {pairs[:3]}")


@scenario("tile_cascade", True, "faults 3 and 6: six notes tiled (Nebeneinander) and cascaded (Untereinander)")
def tile_cascade(run):
    six_notes(run)
    run.check("six-notes")
    fenster(run, "n")
    scene = run.check("nebeneinander")
    check_tiled(run, "nebeneinander", scene)
    fenster(run, "u")
    run.check("untereinander")
    fenster(run, "n")
    run.check("nebeneinander-again")


@scenario("note_drag", False, "fault 3: a note dragged by its caption over another")
def note_drag(run):
    six_notes(run)
    fenster(run, "n")
    scene = run.check("tiled")
    front = scene.mdis[0].rect
    sc.drag(front[0] + 40, front[1] + 12, 120, 90)
    run.check("dragged")
    sc.drag(front[0] + 160, front[1] + 102, -60, -40)
    run.check("dragged-back")


@scenario("thirty_notes", False, "fault 3: thirty notes tiled and cascaded (stale captions inside other notes)")
def thirty_notes(run):
    notes(run, 30)
    run.check("thirty-notes")
    fenster(run, "n")
    run.check("nebeneinander")
    fenster(run, "u")
    run.check("untereinander")


def note_menu_opened(run, label, keys):
    run.start_notes()
    sc.click(600, 400)
    time.sleep(0.3)
    keys()
    scene = run.program.wait_for(lambda s: s.popups(), bound=3)
    run.expect(label, scene is not None, "no skinned popup menu appeared")
    if scene:
        datei = scene.popups()[0].rect
        run.expect(label, abs(datei[0] - 414) < 40, f"the menu that opened is not Datei's: {datei}")
        run.check(label + "-open", background=False, white=False)
        sc.key("Escape", "Escape")
        run.program.wait_for(lambda s: not s.popups(), bound=3)
    run.check(label + "-closed")   # a letter typed into the note shows in its text area


@scenario("alt_then_d", True, "fault 7: Alt pressed and released, then D, opens Datei")
def alt_then_d(run):
    note_menu_opened(run, "alt-d", lambda: (sc.tap("Alt_L"), time.sleep(0.2), sc.key("d")))


@scenario("f10_then_down", True, "fault 7: F10 then Down opens Datei")
def f10_then_down(run):
    note_menu_opened(run, "f10-down", lambda: (sc.tap("F10"), time.sleep(0.2), sc.key("Down")))


@scenario("gallery_watch", True, "fault 8: skingallery --watch repaints within a second after the skin changes")
def gallery_watch(run):
    folder = tempfile.mkdtemp(prefix="fn-watch-")
    try:
        skin = shutil.copytree(ROOT / "skins" / "fennick", f"{folder}/fennick")
        run.start("skingallery.exe", "--watch", skin, ready=lambda s: bool(s.tops))
        before, _ = sc.settled_shot()
        run.check("gallery", background=False, white=False)
        picture = f"{skin}/frame.bmp"
        negate(picture)
        changed_at = None
        start = time.monotonic()
        while time.monotonic() - start < 3.0:
            if sc.shot() != before:
                changed_at = time.monotonic() - start
                break
            time.sleep(0.05)
        if changed_at is None:
            run.fail("watch", "the screen did not change within 3 s of the skin's picture changing", sc.shot())
            run.end()   # the changed picture must show on a fresh start, or this check is blind
            run.start("skingallery.exe", "--watch", skin, ready=lambda s: bool(s.tops))
            after, _ = sc.settled_shot()
            run.expect("restarted", after != before, "the changed picture does not show even after a restart")
        elif changed_at > 1.0:
            run.fail("watch", f"the screen changed only after {changed_at:.2f} s")
        else:
            print(f"  repainted {changed_at:.2f} s after the change", flush=True)
            run.check("reloaded", background=False, white=False)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def negate(path):
    """Inverts a skin picture's colours, written beside it and then moved over it."""
    subprocess.run(["convert", path, "-negate", f"BMP3:{path}.new"], check=True, timeout=30)
    shutil.move(f"{path}.new", path)


# -- the long run ---------------------------------------------------------------------------------

KINDS = ["grow", "shrink", "tile", "cascade", "move_main", "drag_note", "size_note"]


def long_step(run, rng, kind, scene):
    """Does one step of the given kind; False when the scene leaves no place to do it."""
    main, area = scene.main(), scene.client
    x, y = main_corner(scene)
    if kind in ("grow", "shrink") and (x >= sc.WIDTH - 4 or y >= sc.HEIGHT - 4):
        kind = "move_main"   # the corner is off the screen: bring it back first
    if kind == "grow":
        sc.drag(x, y, min(rng.randint(20, 200), 1275 - x), min(rng.randint(20, 150), 795 - y))
    elif kind == "shrink":
        sc.drag(x, y, -rng.randint(20, 250), -rng.randint(20, 200))
    elif kind == "tile":
        fenster(run, "n")
    elif kind == "cascade":
        fenster(run, "u")
    elif kind == "move_main":
        r = main.rect   # by the caption, keeping the caption and the corner on the screen
        cx, cy = r[0] + 120, r[1] + 15
        sc.drag(cx, cy, max(10 - cx, min(rng.randint(-150, 150), sc.WIDTH - 5 - r[2])),
                max(5 - cy, min(rng.randint(-100, 100), sc.HEIGHT - 5 - r[3])))
    else:
        visible = [(i, w.rect, sc.clip(w.rect, area)) for i, w in enumerate(scene.mdis) if area]
        visible = [(i, note, v) for i, note, v in visible if v and v[2] - v[0] > 60 and v[3] - v[1] > 40]
        if not visible:
            return False
        i, note, v = rng.choice(visible)
        if kind == "drag_note":   # by its caption
            px, py = max(v[0] + 30, note[0] + 40), note[1] + 12
        else:                     # by its bottom-right corner
            px, py = note[2] - 3, note[3] - 3
        point = (px, py, px + 1, py + 1)
        if sc.clip(point, v) is None or any(sc.overlap(point, w.rect) for w in scene.mdis[:i]):
            return False          # that part is hidden: a press there would land in another note
        sc.drag(px, py, rng.randint(-120, 120), rng.randint(-80, 80))
    return True


def long_run(run, steps):
    """Growing, shrinking, tiling, cascading and dragging the main window and six notes: every
    seven steps do each kind once, in a seeded random order, checked after every step."""
    rng = random.Random(24)
    run.evidence_left = 40
    six_notes(run)
    done = {}
    plan = []
    for i in range(1, steps + 1):
        scene = run.scene()
        if not plan:
            plan = rng.sample(KINDS, len(KINDS))
        kind = plan.pop()
        if not long_step(run, rng, kind, scene):
            kind = "grow"   # nothing of that kind to reach: grow the main window instead
            long_step(run, rng, kind, scene)
        done[kind] = done.get(kind, 0) + 1
        before = len(run.failures)
        run.check(f"step{i:03d}-{kind}")
        print(f"step {i}/{steps} {kind}: {'ok' if len(run.failures) == before else 'FAILED'}", flush=True)
        if not run.program.running():
            run.fail(f"step{i:03d}", "the program ended")
            break
    failed_steps = len({f.split(":")[0] for f in run.failures})
    print(f"long run: {run.steps} steps ({', '.join(f'{k} {v}' for k, v in sorted(done.items()))}); "
          f"{failed_steps} with a failure, {len(run.failures)} failed checks")
    for what in ("desktop colour inside", "documents' area not its colour", "not white", "stale pixels",
                 "did not settle"):
        steps = sorted({f.split(":")[0] for f in run.failures if what in f})
        print(f"  {what}: {len(steps)} steps" + (f" (first {', '.join(steps[:5])})" if steps else ""))


# -- running ---------------------------------------------------------------------------------------

def run_one(name, fn, *args):
    run = Run(name)
    for old in OUT.glob(f"{name}-*"):   # screenshots of an earlier run of this scenario
        old.unlink()
    began = time.monotonic()
    print(f"scenario {name}", flush=True)
    try:
        fn(run, *args)
    except Failed as e:
        run.fail("setup", str(e))
    except Exception:
        run.fail("error", traceback.format_exc())
    finally:
        run.end()
    seconds = time.monotonic() - began
    verdict = "ok" if not run.failures else f"FAILED ({len(run.failures)})"
    print(f"scenario {name}: {verdict}, {run.steps} checked steps, {seconds:.1f} s", flush=True)
    return name, run, seconds


def main(argv):
    if "--list" in argv:
        for name, (_, quick, about) in SCENARIOS.items():
            print(f"{name:18} {'quick' if quick else 'full '}  {about}")
        return 0
    missing = [exe for exe in ("FennickNotizen.exe", "skingallery.exe", "visual_probe.exe") if not (BIN / exe).exists()]
    if missing:
        print(f"visual suite: {', '.join(missing)} missing in {BIN}: build the Windows configuration first")
        return 2
    OUT.mkdir(parents=True, exist_ok=True)
    if "--long" in argv:
        rest = [a for a in argv if a != "--long"]
        jobs = [("long_run", long_run, int(rest[0]) if rest else 200)]
    elif "--all" in argv:
        jobs = [(n, f) for n, (f, _, _) in SCENARIOS.items()]
    elif argv:
        unknown = [a for a in argv if a not in SCENARIOS]
        if unknown:
            print(f"unknown scenario(s): {' '.join(unknown)}; see --list")
            return 2
        jobs = [(n, SCENARIOS[n][0]) for n in argv]
    else:
        jobs = [(n, f) for n, (f, quick, _) in SCENARIOS.items() if quick]
    began = time.monotonic()
    with WineSession():
        results = [run_one(*job) for job in jobs]
    print("\nvisual summary:")
    for name, run, seconds in results:
        print(f"  {name:18} {'ok' if not run.failures else 'FAILED':6} {run.steps:3} steps {seconds:6.1f} s")
        for failure in run.failures[:8]:
            print(f"      {failure.splitlines()[0][:200]}")
        if len(run.failures) > 8:
            print(f"      ... and {len(run.failures) - 8} more")
    print(f"  total {time.monotonic() - began:.1f} s; screenshots of failures in {OUT}")
    return 0 if all(not run.failures for _, run, _ in results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
