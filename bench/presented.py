#!/usr/bin/env python3
"""What a spin costs the game, seen from outside it: the X server's damage reports on
its window (XDamage) give the pixels each frame put on the window, the process's
threads (llvmpipe's too) the processor time, at windows of 900, 1800 and 2700 pixels
(Xft.dpi 96, 192 and 288). Builds given on one command line are measured interleaved,
size by size and round by round, on one Xvfb of the bench's own; the first build is
the one the others are judged against, with the targets beside them.

A game starts fresh with no sound device, plays a spin with BET 1 to rest (a loss),
and then the spin that is measured, pulled with Space (a pair): from the key to the
last pixel the spin put on the window (the winnings landing in the bar), its frames,
the pixels they presented and the processor time it took. The frames are told apart in
the damage reports: the rectangles of one frame are apart from one another, and come
at once; a rectangle that overlaps one of the frame's, or comes later, begins the next.

Usage (python-xlib and Xvfb needed; LP_NUM_THREADS is 2 unless set):
  bench/presented.py [--sizes 900,1800,2700] [--rounds 2] [--display N] [NAME=]STAGE [[NAME=]STAGE ...]
These are figures, not a test: the script exits 0 once it has measured."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    from Xlib import X, XK, Xatom
    from Xlib import display as xdisplay
    from Xlib.ext import damage, xtest
except ImportError:
    sys.exit("presented.py needs python-xlib (apt-get install python3-xlib), in the Python that runs it")

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2elib import (BET_ONE, SPIN_STEPS, WINDOW_SIZE, WINDOW_TITLE, WINDOW_X, WINDOW_Y, project,  # noqa: E402
                    threads_cpu_seconds)

SCREEN = (5120, 2880)  # room for a window of 2700 where the game opens it, at (100, 100)
BASE_DPI = 96  # at which the window is WINDOW_SIZE pixels
FRAMES_SHOWN = SPIN_STEPS + 1  # the key's own frame (the stake leaves the bar), then one a step
QUIET_SECONDS = 1.5  # nothing presented for this long: the spin is over
SAME_FRAME_MS = 2  # rectangles of one frame reach the server within this many milliseconds
# The targets, against the first build at the same size: processor per spin, by size.
CPU_TARGETS = {900: 0.35, 1800: 0.25}
PIXEL_TARGET = 1 / 5  # of a whole window for each of the spin's steps
FRAMES_AT = 2700  # where every step must still be shown, with llvmpipe's two threads


def start_xvfb(number):
    """An Xvfb of the bench's own on the display number given, or the first free one
    from 120 on; returns (process, name)."""
    numbers = [number] if number is not None else range(120, 200)
    for n in numbers:
        if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp",
                                 "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                with open(f"/tmp/.X{n}-lock") as f:
                    if f.read().strip() == str(proc.pid) and os.path.exists(f"/tmp/.X11-unix/X{n}"):
                        return proc, f":{n}"
            except FileNotFoundError:
                pass
            if proc.poll() is not None:
                break
            time.sleep(0.05)
        proc.kill()
        proc.wait()
    sys.exit("presented.py: no X display of its own could be started")


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


class Damage:
    """The damage reports on one window: each frame's rectangles, as the server saw them."""

    def __init__(self, x, window, size):
        self.x, self.size = x, size
        self.frames = []  # [(server ms, [(x, y, w, h), ...]), ...]
        self.last_seen = None  # monotonic time of the latest report
        self.damage = window.damage_create(damage.DamageReportRawRectangles)
        x.sync()

    def read(self, on_report=None):
        """Takes in the reports that have come."""
        while self.x.pending_events():
            event = self.x.next_event()
            if event.type != self.x.extension_event.DamageNotify:
                continue
            a = event.area
            left, top = max(a.x, 0), max(a.y, 0)
            rect = (left, top, min(a.x + a.width, self.size) - left, min(a.y + a.height, self.size) - top)
            if rect[2] <= 0 or rect[3] <= 0:
                continue
            stamp = event.timestamp
            frame = self.frames[-1] if self.frames else None
            if frame is None or stamp - frame[0] > SAME_FRAME_MS or any(overlaps(rect, r) for r in frame[1]):
                self.frames.append((stamp, [rect]))
            else:
                frame[1].append(rect)
            self.last_seen = time.monotonic()
            if on_report:
                on_report()

    def wait_quiet(self, timeout=120):
        start = time.monotonic()
        while time.monotonic() < start + timeout:
            time.sleep(0.02)
            self.read()
            if time.monotonic() - max(self.last_seen or start, start) >= QUIET_SECONDS:
                return
        raise RuntimeError("the window never came to rest")


def find_window(x, pid, timeout=30):
    """The game's top-level window: the one with the game's title."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for child in x.screen().root.query_tree().children:
            try:
                if child.get_wm_name() == WINDOW_TITLE and child.get_attributes().map_state == X.IsViewable:
                    return child
            except Exception:  # a window gone while it was looked at
                pass
        time.sleep(0.05)
    raise RuntimeError(f"no window of the game {pid}")


def key(x, name):
    code = x.keysym_to_keycode(XK.string_to_keysym(name))
    xtest.fake_input(x, X.KeyPress, code)
    xtest.fake_input(x, X.KeyRelease, code)
    x.sync()


def click(x, px, py):
    xtest.fake_input(x, X.MotionNotify, x=px, y=py)
    xtest.fake_input(x, X.ButtonPress, 1)
    xtest.fake_input(x, X.ButtonRelease, 1)
    x.sync()


def measure(x, stage, size):
    dpi = BASE_DPI * size // WINDOW_SIZE
    root = x.screen().root
    root.change_property(x.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8, f"Xft.dpi:\t{dpi}\n".encode())
    x.sync()
    folder = tempfile.mkdtemp(prefix="slot-presented-")
    for name in os.listdir(stage):
        if os.path.isfile(os.path.join(stage, name)):
            shutil.copy2(os.path.join(stage, name), folder)
    audio = os.path.join(folder, "openal-bench.conf")
    with open(audio, "w") as f:
        f.write("drivers = alsa\n[alsa]\ndevice = slot-machine-no-such-device\n")
    env = dict(os.environ, DISPLAY=x.get_display_name(), ALSOFT_CONF=audio,
               LP_NUM_THREADS=os.environ.get("LP_NUM_THREADS", "2"))
    game = subprocess.Popen(["./slot-machine"], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = find_window(x, game.pid)
        geometry = window.get_geometry()
        if (geometry.width, geometry.height) != (size, size):
            raise RuntimeError(f"the window is {geometry.width}x{geometry.height}, not {size}x{size}")
        reports = Damage(x, window, size)
        reports.wait_quiet()

        # A loss with BET 1, to rest: Space then plays again at a stake of one.
        click(x, *project(*BET_ONE, window=(WINDOW_X, WINDOW_Y, size, size)))
        reports.wait_quiet()

        before = len(reports.frames)
        spin_cpu = [threads_cpu_seconds(game.pid), None]
        xtest.fake_input(x, X.MotionNotify, x=WINDOW_X + size - 20, y=WINDOW_Y + 20)  # keys go to the window under the pointer
        pressed = time.monotonic()
        key(x, "space")

        def note_cpu():
            spin_cpu[1] = threads_cpu_seconds(game.pid)

        end = time.monotonic() + 60
        while time.monotonic() < end:
            time.sleep(0.005)
            reports.read(note_cpu)
            if len(reports.frames) > before and time.monotonic() - reports.last_seen >= QUIET_SECONDS:
                break
        frames = reports.frames[before:]
        if not frames:
            raise RuntimeError("the spin presented nothing")
        result = {
            "frames": len(frames),
            "pixels": sum(w * h for _, rects in frames for _, _, w, h in rects),
            "cpu": spin_cpu[1] - spin_cpu[0],
            "wall": reports.last_seen - pressed,
        }
        key(x, "q")
        game.wait(timeout=20)
        return result
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
        shutil.rmtree(folder, ignore_errors=True)


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    return ordered[middle] if len(ordered) % 2 else (ordered[middle - 1] + ordered[middle]) / 2


def per_frame(rs):
    """Processor seconds per frame shown, over a build's rounds at one size."""
    return sum(r["cpu"] for r in rs) / sum(r["frames"] for r in rs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sizes", default="900,1800,2700")
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--display", type=int, default=None, help="the number of the Xvfb to start")
    parser.add_argument("stages", nargs="+", metavar="[NAME=]STAGE")
    args = parser.parse_args()
    builds = []
    for given in args.stages:
        name, _, path = given.rpartition("=")
        path = os.path.abspath(path)
        if not os.path.isfile(os.path.join(path, "slot-machine")):
            sys.exit(f"presented.py: no slot-machine in {path}")
        builds.append((name or os.path.basename(os.path.dirname(os.path.dirname(path))), path))
    sizes = [int(s) for s in args.sizes.split(",")]

    server, name = start_xvfb(args.display)
    results = {}  # (size, build) -> [result, ...]
    try:
        x = xdisplay.Display(name)
        if not x.has_extension("DAMAGE") or not x.has_extension("XTEST"):
            sys.exit("presented.py: the X server has no DAMAGE or XTEST extension")
        x.damage_query_version()
        for round_ in range(args.rounds):
            for size in sizes:
                for build, stage in builds:
                    r = measure(x, stage, size)
                    results.setdefault((size, build), []).append(r)
                    print(f"{build} {size} px, round {round_ + 1}: {r['frames']} frames, {r['pixels'] / 1e6:.1f} M "
                          f"pixels, {r['cpu']:.2f} s processor, {r['wall']:.2f} s", file=sys.stderr, flush=True)
        x.close()
    finally:
        server.terminate()
        server.wait()

    threads = os.environ.get("LP_NUM_THREADS", "2")
    print(f"A spin of {SPIN_STEPS} steps pulled with Space, llvmpipe on {threads} threads; median of "
          f"{args.rounds} rounds (the range in brackets)")
    print()
    print(f"| window | build | pixels presented per spin | of {SPIN_STEPS} whole windows | processor s per spin "
          "| processor ms per frame | frames per spin | spin s |")
    print("| --- | --- | --- | --- | --- | --- | --- | --- |")
    for size in sizes:
        for build, _ in builds:
            rs = results[(size, build)]
            pixels = median([r["pixels"] for r in rs])
            cpu = [r["cpu"] for r in rs]
            frames = [r["frames"] for r in rs]
            print(f"| {size} x {size} | {build} | {pixels / 1e6:.1f} M | {pixels / (SPIN_STEPS * size * size):.3f} "
                  f"| {median(cpu):.2f} ({min(cpu):.2f} - {max(cpu):.2f}) | {1000 * per_frame(rs):.2f} "
                  f"| {median(frames):g} "
                  f"({min(frames)} - {max(frames)}) | {median([r['wall'] for r in rs]):.2f} |")
    print()
    print("| target | window | build | figure | result |")
    print("| --- | --- | --- | --- | --- |")
    first = builds[0][0]
    for build, _ in builds[1:]:
        for size in sizes:
            rs = results[(size, build)]
            if size in CPU_TARGETS:
                # A build that cannot keep up shows fewer frames and so spends less on a spin than its
                # whole spin would cost: spins are compared as all their frames, each at its build's cost.
                ratio = per_frame(rs) / per_frame(results[(size, first)])
                verdict = "ok" if ratio <= CPU_TARGETS[size] else "MISSED"
                print(f"| processor of a spin's {FRAMES_SHOWN} frames at most {CPU_TARGETS[size]} x {first}'s "
                      f"| {size} | {build} | {ratio:.3f} | {verdict} |")
            share = median([r["pixels"] for r in rs]) / (SPIN_STEPS * size * size)
            print(f"| pixels at most {PIXEL_TARGET:g} of {SPIN_STEPS} whole windows | {size} | {build} | {share:.3f} "
                  f"| {'ok' if share <= PIXEL_TARGET else 'MISSED'} |")
            if size == FRAMES_AT:
                fewest = min(r["frames"] for r in rs)
                print(f"| every step shown: {FRAMES_SHOWN} frames (the key's and one a step) | {size} | {build} "
                      f"| {fewest} at fewest | {'ok' if fewest >= FRAMES_SHOWN else 'MISSED'} |")


if __name__ == "__main__":
    main()
