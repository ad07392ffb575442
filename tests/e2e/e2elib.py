"""Shared helpers of the end-to-end tests: run the real game under the X server named
by DISPLAY, drive it with xdotool, read its console from a file and the pixels of its
window from screenshots, and find where scene points are drawn on the screen."""

import ctypes
import glob
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

# Where the game opens its window, in root coordinates.
WINDOW_X, WINDOW_Y, WINDOW_SIZE = 100, 100, 900
WINDOW_TITLE = "Slot Machine"
# Inside the window, over the black background: where the pointer rests while typing
# (with no window manager the keys go to the window under the pointer).
KEY_POINTER = (950, 150)


def _picture_files():
    """The pictures' files in the order the game loads them into their slots, from the
    game's table of them."""
    table = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "picture_table.h")
    with open(table, encoding="utf-8") as f:
        return re.findall(r'^PICTURE\(\s*\d+\s*,\s*\w+\s*,\s*"([^"]+)"\s*\)', f.read(), re.M)


# The nineteen pictures in the order the game loads them into slots 1 to 19.
PICTURES = _picture_files()


def _spin_steps():
    """The steps of one spin, the first of which moves the lever, from the constants of
    the steps in the game's record, counted as the logic tests' timeline() counts them:
    the lever's full pull, the right reel's run to its limit and the step it lands on,
    and the marquee's second turn."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app", "game_state.h")
    with open(header, encoding="utf-8") as f:
        text = f.read()

    def numbers(name):
        found = re.search(r"^constexpr float " + name + r"(?:\[\d+\])? = \{?([^;}]*)\}?;", text, re.M)
        return [float(n) for n in re.findall(r"-?\d+(?:\.\d*)?", found.group(1))]

    def one(name):
        return numbers(name)[0]

    pull = int(one("LeverFullPull") / one("LeverStep"))
    right_reel = int(numbers("ReelRunLimit")[-1] / one("ReelStep")) + 1
    second_turn = int((one("MarqueeFirstTurn") - one("MarqueeSecondTurn")) / one("MarqueeStep"))
    return pull + right_reel + second_turn


SPIN_STEPS = _spin_steps()


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(message, flush=True)


def wait_for(condition, timeout, what, poll=0.05):
    """Polls `condition` until it gives something true, which is returned."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(poll)


# ---------------------------------------------------------------------------------
# Where the scene is drawn
# ---------------------------------------------------------------------------------

# The display camera: the projection looks from z = 4 and the model-view from z = 3,
# so a scene point at depth z is 7 - z units in front of the eye. Perspective: fovy 50.
# Orthographic: half-height 2 at any depth. The width follows the window's aspect.
# `window` is (left, top, width, height) in root pixels, the game's usual one if None.
def project(x, y, z=0.0, view="persp", window=None):
    left, top, width, height = window or (WINDOW_X, WINDOW_Y, WINDOW_SIZE, WINDOW_SIZE)
    if view == "persp":
        half = (7.0 - z) * math.tan(math.radians(25.0))
    else:
        half = 2.0
    nx, ny = x / (half * width / height), y / half
    return (int(round(left + width / 2.0 * (1.0 + nx))), int(round(top + height / 2.0 * (1.0 - ny))))


def project_rect(x0, y0, x1, y1, z=0.0, view="persp"):
    """Window-clipped root rectangle (left, top, right, bottom) of a scene rectangle."""
    ax, ay = project(x0, y0, z, view)
    bx, by = project(x1, y1, z, view)
    left, right = max(min(ax, bx), WINDOW_X), min(max(ax, bx), WINDOW_X + WINDOW_SIZE - 1)
    top, bottom = max(min(ay, by), WINDOW_Y), min(max(ay, by), WINDOW_Y + WINDOW_SIZE - 1)
    return (left, top, right, bottom)


# Parts of the machine screen (scene units, z = 0 unless given).
BET_ONE = (0.65, -0.8, 0.0)
BET_FIVE = (1.15, -0.8, 0.0)
LEVER_KNOB = (2.025, 1.275, 0.0)  # the knob at rest: lever frame scale 1.5, translate (1.35, -0.65)
BACKDROP_ONLY = (-0.9, 1.6, 0.0)  # on the backdrop, left of the marquee, above the reel window
MACHINE_AREA = (-1.375, -1.375, 2.375, 2.375)  # the backdrop, which holds every moving part
# Token counter: the one-dollar and five-dollar coins.
DOLLAR_ONE = (-0.3, 1.0, 0.0)
DOLLAR_FIVE = (-0.3, -0.5, 0.0)
# Prize counter: the verdict sign and the column the ball bounces in are drawn at z = 1;
# left of them, at z = 0, only the counter's backdrop.
SIGN_AREA = (0.5 - 0.5625, -0.625, 0.5 + 0.5625, -0.0625)
BALL_AREA = (0.05, 0.05, 0.95, 2.65)
PRIZE_Z = 1.0
PRIZE_BACKDROP_AREA = (-1.6, -1.5, -0.3, 2.5)

# Status bar: the strips lie at z = 0 (white over x -3 .. 0.5, yellow from 0.5 on, both
# y -3.75 .. -2.15), coins and stubs at z = 0.5. Coin k is centred at (-2.5 + 0.3 k,
# -2.5), radius 0.2, and overlaps its neighbours by 0.1, so it is sampled 0.05 off its
# centre and below it, where no neighbour reaches: left for the coins in front of the
# white strip, right for coin 10, which straddles the strips' border, and the one
# after it. Stub k spans x 0.5 + 0.25 k .. + 0.1875 and y -2.5 .. -2.125; the window
# shows the first ten of the thirteen stub places.
BAR_Z = 0.5
COIN_SLOTS = 12  # one past the eleven the bar can show
STUB_SLOTS = 10


def coin_point(k):
    return (-2.5 + 0.3 * k + (-0.05 if k < 10 else 0.05), -2.6, BAR_Z)


def coin_background(k):
    return "white" if k < 10 else "yellow"


def stub_point(k):
    return (0.5 + 0.25 * k + 0.09375, -2.3125, BAR_Z)


WHITE_STRIP_POINT = (-1.0, -2.25, 0.0)  # above the coins
YELLOW_STRIP_POINT = (2.0, -2.7, 0.0)  # below the stubs, right of the coins


def classify(rgb):
    r, g, b = rgb
    if r >= 235 and g >= 235 and b >= 235:
        return "white"
    if r >= 235 and g >= 235 and b <= 40:
        return "yellow"
    return "other"


def is_stub_colour(rgb):
    # Stubs are drawn unlit in colour (0, 0.5, 1) times their picture: no red at all.
    r, g, b = rgb
    return r < 60 and b >= 60


# ---------------------------------------------------------------------------------
# Screenshots
# ---------------------------------------------------------------------------------


class Shot:
    """One capture of the game window (an XWD dump), addressed in root coordinates."""

    def __init__(self, data, taken):
        header = struct.unpack(">25I", data[:100])
        (header_size, _version, _format, _depth, width, height, _xoff, byte_order, _unit, _bit_order, _pad,
         bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask, blue_mask, _bits_rgb, _cmap_entries,
         ncolors, _ww, _wh, window_x, window_y, _border) = header
        self.taken = taken
        self.width, self.height = width, height
        self.origin = (window_x, window_y)
        self.stride = bytes_per_line
        self.pixel_bytes = bytes_per_line // width if bits_per_pixel == 24 else bits_per_pixel // 8
        self.little = byte_order == 0
        self.masks = (red_mask, green_mask, blue_mask)
        start = header_size + 12 * ncolors
        self.pixels = data[start:start + bytes_per_line * height]
        check(len(self.pixels) == bytes_per_line * height, "short screenshot")
        # A 24-bit picture in 32-bit pixels: the fourth byte is no colour, and the server
        # keeps whatever the image put there held (the game's alpha, where it copies part
        # of a frame). It is zeroed, so that shots of one picture are the same bytes.
        if self.pixel_bytes == 4 and red_mask | green_mask | blue_mask == 0xFFFFFF and bytes_per_line == 4 * width:
            unused = bytearray(self.pixels)
            unused[3 if self.little else 0::4] = bytes(len(unused) // 4)
            self.pixels = bytes(unused)

    def _value(self, col, row):
        at = row * self.stride + col * self.pixel_bytes
        return int.from_bytes(self.pixels[at:at + self.pixel_bytes], "little" if self.little else "big")

    def rgb(self, px, py):
        col, row = px - self.origin[0], py - self.origin[1]
        check(0 <= col < self.width and 0 <= row < self.height, f"pixel ({px}, {py}) outside the window")
        value = self._value(col, row)
        out = []
        for mask in self.masks:
            shift = (mask & -mask).bit_length() - 1
            out.append(((value & mask) >> shift) * 255 // (mask >> shift))
        return tuple(out)

    def at(self, point, view="persp"):
        """The colour where a scene point is drawn in the window shot."""
        return self.rgb(*project(*point, view=view, window=(*self.origin, self.width, self.height)))

    def _rows(self, rect):
        left, top, right, bottom = rect
        ox, oy = self.origin
        for py in range(top, bottom + 1):
            row = py - oy
            a = row * self.stride + (left - ox) * self.pixel_bytes
            yield self.pixels[a:a + (right - left + 1) * self.pixel_bytes]

    def differing(self, other, rect):
        """How many pixels of the root rectangle differ between two shots."""
        count = 0
        n = self.pixel_bytes
        for mine, theirs in zip(self._rows(rect), other._rows(rect)):
            if mine != theirs:
                count += sum(1 for i in range(0, len(mine), n) if mine[i:i + n] != theirs[i:i + n])
        return count

    def same(self, other, rect=None):
        if rect is None:
            return self.pixels == other.pixels
        return all(mine == theirs for mine, theirs in zip(self._rows(rect), other._rows(rect)))

    def write_png(self, path):
        """Writes the whole window as an RGB PNG."""
        raw = bytearray()
        n = self.pixel_bytes
        fast = self.little and n == 4 and self.masks == (0xFF0000, 0xFF00, 0xFF)
        for row in range(self.height):
            raw.append(0)
            if fast:  # stored as blue, green, red, pad
                line = self.pixels[row * self.stride:row * self.stride + self.width * n]
                rgb = bytearray(self.width * 3)
                rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
                raw.extend(rgb)
            else:
                for col in range(self.width):
                    raw.extend(self.rgb(self.origin[0] + col, self.origin[1] + row))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png)

    # --- the status bar -------------------------------------------------------------

    def bar_counts(self):
        """(coins, stubs, samples): the counts the status bar shows and what was sampled."""
        samples = []
        white = self.at(WHITE_STRIP_POINT)
        yellow = self.at(YELLOW_STRIP_POINT)
        samples.append(f"white strip {white}, yellow strip {yellow}")
        check(classify(white) == "white" and classify(yellow) == "yellow",
              f"status bar strips are not white and yellow: {samples[0]}")
        coins = []
        for k in range(COIN_SLOTS):
            colour = self.at(coin_point(k))
            empty = coin_background(k)
            kind = classify(colour)
            coins.append(kind != empty)
            samples.append(f"coin {k}: {colour} {'coin' if kind != empty else 'empty'}")
            check(kind in (empty, "other"), f"coin slot {k} shows {colour}: neither a coin nor its strip")
        stubs = []
        for k in range(STUB_SLOTS):
            colour = self.at(stub_point(k))
            present = is_stub_colour(colour)
            stubs.append(present)
            samples.append(f"stub {k}: {colour} {'stub' if present else 'empty'}")
            check(present or classify(colour) == "yellow", f"stub slot {k} shows {colour}: neither a stub nor yellow")
        coin_count = sum(coins)
        stub_count = sum(stubs)
        # Rows fill from the left: a gap means the counting went wrong, not the game.
        check(coins == [True] * coin_count + [False] * (COIN_SLOTS - coin_count),
              "coins not drawn from the left: " + "; ".join(samples))
        check(stubs == [True] * stub_count + [False] * (STUB_SLOTS - stub_count),
              "stubs not drawn from the left: " + "; ".join(samples))
        return coin_count, stub_count, samples


def gl_area(left, top, width, height):
    """A root-pixel rectangle of the game window as GL window coordinates x, y, w, h."""
    return (left - WINDOW_X, WINDOW_SIZE - (top - WINDOW_Y) - height, width, height)


# ---------------------------------------------------------------------------------
# The frames shown, logged by libslot-swap-log.so
# ---------------------------------------------------------------------------------


class SwapLog:
    """The log of the preloaded swap logger: (seconds, swap number, hashes) per swap, the
    hashes those of the watched regions (root-pixel rectangles) in the frame shown."""

    def __init__(self, path):
        self.path = path

    def preload(self, game, shim, watched=(), refresh_hz=None):
        """Preloads the logger into the game, watching `watched`, its swaps held to an
        emulated refresh of `refresh_hz` (none when None)."""
        game.env.update({
            "LD_PRELOAD": ":".join(filter(None, [os.path.abspath(shim), game_environment().get("LD_PRELOAD")])),
            "SLOT_SWAP_LOG": self.path,
            "SLOT_REFRESH_HZ": str(refresh_hz or 0),
            "SLOT_WATCH": ";".join(",".join(str(v) for v in gl_area(*area)) for area in watched),
        })

    def swaps(self):
        if not os.path.exists(self.path):
            return []
        out = []
        with open(self.path) as f:
            for line in f:
                parts = line.split()
                if len(parts) >= 2 and line.endswith("\n"):
                    out.append((int(parts[0]) / 1e6, int(parts[1]), tuple(parts[2:])))
        return out

    def count(self):
        """The number of the last swap the log holds whole; 0 before the first."""
        swaps = self.swaps()
        return swaps[-1][1] if swaps else 0


def cpu_seconds(pid):
    """User and system time of the process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def threads_cpu_seconds(pid):
    """Time on a processor of all the process's threads (llvmpipe's too), to the nanosecond:
    for the benches, finer than cpu_seconds' clock ticks."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended between the listing and the read
    return total / 1e9


QUIET_SECONDS = 3.0
# A process that only waits for its timers uses next to nothing; an idle callback that
# spins takes the whole of a core. The bound lies far from both.
BUSY_CPU_SECONDS = 0.3 * QUIET_SECONDS


def check_at_rest(game, swap_log, label):
    """Watches the game for a few seconds in which nobody does anything: it must draw
    no frame and keep the processor free."""
    time.sleep(0.5)  # the frame asked for by the last key or press
    frames_before, cpu_before = swap_log.count(), cpu_seconds(game.proc.pid)
    time.sleep(QUIET_SECONDS)
    drawn, cpu = swap_log.count() - frames_before, cpu_seconds(game.proc.pid) - cpu_before
    check(drawn == 0, f"{label}: {drawn} frames drawn in {QUIET_SECONDS} s while nothing moved")
    check(cpu < BUSY_CPU_SECONDS, f"{label}: {cpu:.2f} s of processor time in {QUIET_SECONDS} s at rest")
    log(f"{label}: no frame and {cpu:.2f} s of processor time in {QUIET_SECONDS} s")


# ---------------------------------------------------------------------------------
# The game process
# ---------------------------------------------------------------------------------


def _die_with_parent():
    # The game must not outlive the test, even when the test itself is killed.
    libc = ctypes.CDLL("libc.so.6", use_errno=True)
    libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def game_environment():
    """The environment of the game. In a sanitizer run (ASAN_OPTIONS set) Mesa's
    software driver is preloaded: Mesa unloads it at exit before the leak check, and
    the leaks of a module that is gone can neither be told apart from ours nor be
    suppressed by its name. Loaded for good, its leaks match the suppressions."""
    env = dict(os.environ)
    if "ASAN_OPTIONS" in env:
        drivers = sorted(glob.glob("/usr/lib/*/dri/swrast_dri.so"))
        if drivers:
            env["LD_PRELOAD"] = ":".join(filter(None, [drivers[0], env.get("LD_PRELOAD")]))
            # The preloaded driver comes before the sanitizer runtime in the link order.
            env["ASAN_OPTIONS"] += ":verify_asan_link_order=0"
    return env


def run_tool(*argv, timeout=20, env=None):
    result = subprocess.run(list(argv), stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout, env=env)
    return result.returncode, result.stdout.decode(errors="replace"), result.stderr.decode(errors="replace")


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def close_window(window):
    """Sends the window (an id as xdotool prints it) WM_DELETE_WINDOW through Xlib."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    check(display, "Xlib cannot open the display")
    event = _XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    sent = x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)
    check(sent, "XSendEvent failed")


class Game:
    """The real game, started in a private copy of the stage folder."""

    def __init__(self, stage, leave_out=(), env=None):
        check(os.environ.get("DISPLAY"), "DISPLAY is not set: the end-to-end tests need an X server")
        check(os.path.isfile(os.path.join(stage, "slot-machine")), f"no slot-machine in {stage}")
        self.dir = tempfile.mkdtemp(prefix="slot-e2e-")
        for name in os.listdir(stage):
            source = os.path.join(stage, name)
            if name in leave_out or not os.path.isfile(source):
                continue
            shutil.copy2(source, os.path.join(self.dir, name))
        self.console_path = os.path.join(self.dir, "console.log")
        self.env = dict(env or {})  # added to the environment of the game
        self.proc = None
        self.window = None
        self.status = None
        self.last_shot = None

    # --- process ------------------------------------------------------------------

    def start(self):
        with open(self.console_path, "wb") as out:
            self.proc = subprocess.Popen(["./slot-machine"], cwd=self.dir, env={**game_environment(), **self.env},
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                         preexec_fn=_die_with_parent)

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=20):
        try:
            self.status = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the game did not exit within {timeout} s")
        return self.status

    def stop(self):
        if self.running():
            self.proc.kill()
            self.proc.wait()

    def cleanup(self, keep):
        self.stop()
        if not keep:
            shutil.rmtree(self.dir, ignore_errors=True)

    # --- console ------------------------------------------------------------------

    def console(self):
        with open(self.console_path, "rb") as f:
            return f.read().decode(errors="replace")

    def lines(self):
        return self.console().splitlines()

    def wait_for(self, condition, timeout, what, poll=0.05):
        return wait_for(condition, timeout, what, poll)

    def wait_lines(self, count, timeout=10, what=None):
        """Waits until the console holds at least `count` lines, returns them all."""
        return self.wait_for(lambda: (lambda ls: ls if len(ls) >= count else None)(self.lines()), timeout,
                             what or f"{count} console lines")

    # --- window -------------------------------------------------------------------

    def find_window(self, timeout=30):
        # The window of a game that has just been killed can linger for a moment, so
        # wait until exactly one window has the title.
        def look():
            check(self.running(), f"the game ended with status {self.proc.poll()} before its window appeared")
            code, out, _ = run_tool("xdotool", "search", "--name", f"^{WINDOW_TITLE}$")
            ids = out.split()
            return ids[0] if code == 0 and len(ids) == 1 else None

        self.window = self.wait_for(look, timeout, f"exactly one window titled {WINDOW_TITLE!r}", poll=0.1)
        return self.window

    def wait_ready(self, timeout=60):
        """Waits for the first reshape's line, the window and a drawn status bar."""
        # Nothing else connects to the X server until the game has its window: two
        # connections being set up at once are sometimes refused by the server.
        def reshaped():
            check(self.running(), f"the game ended with status {self.proc.poll()} before its first reshape")
            return "perspective" in self.lines()

        self.wait_for(reshaped, timeout, "the first 'perspective' line")
        self.find_window(timeout)

        def drawn():
            shot = self.shot()
            return classify(shot.at(WHITE_STRIP_POINT)) == "white"

        self.wait_for(drawn, timeout, "the first frame", poll=0.1)
        return self.wait_still()

    def shot(self):
        for attempt in range(3):
            check(self.running(), f"the game ended with status {self.proc.poll()}")
            result = subprocess.run(["xwd", "-silent", "-id", self.window], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=20)
            if result.returncode == 0:
                break
            # A lingering window of an earlier game was found first: look again.
            self.find_window()
        check(result.returncode == 0, "xwd failed: " + result.stderr.decode(errors="replace"))
        self.last_shot = Shot(result.stdout, time.monotonic())
        return self.last_shot

    # --- input ------------------------------------------------------------------------

    def key(self, name):
        # No --sync: moving where the pointer already is would wait for a motion event.
        code, _, err = run_tool("xdotool", "mousemove", str(KEY_POINTER[0]), str(KEY_POINTER[1]), "key", name)
        check(code == 0, "xdotool key failed: " + err)

    def click(self, px, py):
        code, _, err = run_tool("xdotool", "mousemove", str(px), str(py), "click", "1")
        check(code == 0, "xdotool click failed: " + err)

    def close(self):
        """Asks the window to close as a window manager's close button does: the
        WM_DELETE_WINDOW message of the WM_PROTOCOLS the window takes part in."""
        close_window(self.window)

    def click_scene(self, point, view="persp", window=None):
        """Left-clicks where a scene point is drawn; returns the console lines it printed."""
        before = len(self.lines())
        self.click(*project(*point, view=view, window=window))
        lines = self.wait_lines(before + 1, what="the hit count after a click")
        first = lines[before]
        check(first.startswith("number of hits "), f"after a click the console printed {first!r}")
        hits = int(first.split()[-1])
        lines = self.wait_lines(before + 1 + hits, what=f"{hits} hit records")
        return lines[before:before + 1 + hits]

    # --- motion -----------------------------------------------------------------------

    def wait_still(self, timeout=120, quiet=1.0, gap=0.25, on_shot=None):
        """Takes shots until nothing has changed for `quiet` seconds; returns the last.
        `on_shot(previous, shot)` sees every consecutive pair on the way."""
        end = time.monotonic() + timeout
        previous = self.shot()
        still_since = previous.taken
        while True:
            time.sleep(gap)
            shot = self.shot()
            if on_shot:
                on_shot(previous, shot)
            if not shot.same(previous):
                still_since = shot.taken
            elif shot.taken - still_since >= quiet:
                return shot
            if time.monotonic() > end:
                raise Failure(f"the screen did not come to rest within {timeout} s")
            previous = shot


def start_ready(stage, games, prepare=None):
    """Starts the game from `stage`, puts it in the list `games` that run() ends, and
    waits until its first frame is drawn and still; returns it. `prepare(game)` may set
    the game up before it starts."""
    game = Game(stage)
    games.append(game)
    if prepare:
        prepare(game)
    game.start()
    game.wait_ready()
    return game


def start_logged(stage, games, shim, watched=()):
    """start_ready with the swap logger `shim` preloaded, watching `watched`; returns the
    game and its SwapLog."""
    logs = []

    def preload(game):
        logs.append(SwapLog(os.path.join(game.dir, "swaps.log")))
        logs[0].preload(game, shim, watched)

    game = start_ready(stage, games, preload)
    return game, logs[0]


# ---------------------------------------------------------------------------------
# Playing
# ---------------------------------------------------------------------------------


def bar_shows(game, coins, stubs, when):
    """Waits for the screen to rest and checks the status bar's counts."""
    shown = game.wait_still().bar_counts()
    check(shown[:2] == (coins, stubs), f"{when}: the bar shows {shown[0]} coins and {shown[1]} stubs, not {coins} "
          f"and {stubs}: " + "; ".join(shown[2]))


def bet_one(game, window):
    """Clicks BET 1 in the window (left, top, width, height); it must name 6, in front of
    the backdrop (-1)."""
    lines = game.click_scene(BET_ONE, window=window)
    names = sorted(int(line.split(":", 1)[1]) for line in lines[1:])
    check(names == [-1, 6], f"a click on BET 1 in the window {window} printed {lines}")


# ---------------------------------------------------------------------------------
# An X server of a test's own
# ---------------------------------------------------------------------------------


class OwnDisplay:
    """An Xvfb of the test's own, on a display number it picks itself, and optionally a
    window manager on it; DISPLAY names it from start() on. stop() ends them all."""

    def __init__(self, width, height, server_args=()):
        self.size = (width, height)
        self.server_args = list(server_args)  # more of Xvfb's options: screens, extensions
        self.procs = []
        self.config = None

    def _start(self, argv, **kwargs):
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                **kwargs)
        self.procs.append(proc)
        return proc

    def start(self):
        read_end, write_end = os.pipe()
        # -noreset: a server whose last client leaves resets and refuses connections meanwhile.
        self._start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
                     "-nolisten", "tcp", "-noreset", *self.server_args], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as answer:
            number = answer.readline().strip()
        check(number.isdigit(), "Xvfb did not tell its display number")
        os.environ["DISPLAY"] = f":{number}"
        return number

    def start_openbox(self):
        # A private configuration folder: the test sees openbox's defaults, not a user's.
        self.config = tempfile.TemporaryDirectory(prefix="slot-openbox-")
        self._start(["openbox", "--sm-disable"], env=dict(os.environ, XDG_CONFIG_HOME=self.config.name))
        wait_for(lambda: "window id" in run_tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")[1], 20,
                 "openbox to manage the screen")

    def stop(self):
        for proc in reversed(self.procs):
            # Terminated, not killed: Xvfb removes its socket and lock file on the way out.
            proc.terminate()
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        self.procs = []
        if self.config is not None:
            self.config.cleanup()
            self.config = None


def cardinals(*argv):
    """The numbers of a CARDINAL property, as xprop prints them."""
    code, out, err = run_tool("xprop", *argv)
    check(code == 0 and "=" in out, f"xprop {' '.join(argv)}: {out.strip()} {err.strip()}")
    return [int(v) for v in out.split("=", 1)[1].split(",")]


def geometry(game):
    """(left, top, width, height) of the game's window in root pixels."""
    code, out, err = run_tool("xwininfo", "-id", game.window)
    check(code == 0, f"xwininfo: {err.strip()}")
    keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
    return tuple(int(re.search(rf"^\s*{key}:\s*(-?\d+)", out, re.M).group(1)) for key in keys)


def intersection(a, b):
    """The part of rectangle a (x, y, width, height) inside b; None where none is."""
    left, top = max(a[0], b[0]), max(a[1], b[1])
    right, bottom = min(a[0] + a[2], b[0] + b[2]), min(a[1] + a[3], b[1] + b[3])
    return (left, top, right - left, bottom - top) if right > left and bottom > top else None


def on_screen_with_frame(game, monitor=None):
    """The window's geometry, checked to lie with its window manager's frame inside the
    work area, and inside `monitor` (x, y, width, height) where one is given; returns
    (window, frame extents, the area it lies in)."""
    window = geometry(game)
    left, top, width, height = window
    frame_left, frame_right, frame_top, frame_bottom = cardinals("-id", game.window, "_NET_FRAME_EXTENTS")
    area = tuple(cardinals("-root", "_NET_WORKAREA")[:4])
    check(frame_top > 0, f"the window manager added no title bar: frame {frame_left, frame_right, frame_top, frame_bottom}")
    if monitor is not None:
        share = intersection(area, monitor)
        check(share is not None, f"the work area {area} leaves nothing of the monitor {monitor}")
        area = share
    area_x, area_y, area_width, area_height = area
    outer = (left - frame_left, top - frame_top, left + width + frame_right, top + height + frame_bottom)
    check(outer[0] >= area_x and outer[1] >= area_y and outer[2] <= area_x + area_width
          and outer[3] <= area_y + area_height,
          f"window {window} with frame {outer} is not inside {'the monitor' if monitor else 'the work area'} {area}")
    return window, (frame_left, frame_right, frame_top, frame_bottom), area


def press_active(game, *command):
    """An xdotool key command ("key", "F11" or "keyup", "space") to the game's window, made
    active first: under a window manager keys go to the active window, not to the one
    under the pointer."""
    code, _, err = run_tool("xdotool", "windowactivate", "--sync", game.window, *command)
    check(code == 0, f"xdotool {' '.join(command)}: {err.strip()}")


# ---------------------------------------------------------------------------------
# Test runner
# ---------------------------------------------------------------------------------


def run(test, games):
    """Runs `test()`; on a failure prints what was seen and exits 1. Every game in the
    list `games` (filled by the test as it starts them) is killed at the end."""
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(3))
    started = time.monotonic()
    failed = True
    try:
        test()
        failed = False
        log(f"{name}: passed in {time.monotonic() - started:.1f} s")
    except Failure as failure:
        log(f"{name}: FAILED: {failure}")
    finally:
        for game in games:
            if failed:
                log(f"--- console of the game in {game.dir} ---")
                try:
                    log(game.console().rstrip("\n"))
                except OSError:
                    pass
                log("--- end of console ---")
                if game.last_shot is not None:
                    path = os.path.abspath(f"{name}-failure.png")
                    try:
                        game.last_shot.write_png(path)
                        log(f"last screenshot: {path}")
                    except Exception as error:  # the report must not hide the failure
                        log(f"could not write the last screenshot: {error}")
            game.cleanup(keep=False)
    sys.exit(1 if failed else 0)
