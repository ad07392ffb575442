"""A desktop of two monitors, a laptop beside a larger monitor, on an Xvfb of its own
whose monitors are set with xrandr --setmonitor (the server reports them as RandR 1.5
monitors and as Xinerama heads). In four layouts, with no window manager and under
openbox, the window, frame included, lies wholly on the monitor that holds (100, 100),
or on the nearest, as large as fits there and no larger than the desktop's scale asks;
a click on BET 1 names 6; under openbox F11 fills that monitor and Escape gives the
window back. Last, on a server without RandR, the same place from Xinerama's heads."""

import re
import sys

from e2elib import (OwnDisplay, bet_one, check, geometry, intersection, log, on_screen_with_frame, press_active, run,
                    run_tool, start_ready)

STAGE = sys.argv[1]
ASKED = (100, 100)  # where the window asks to open
SIDE = 900  # its side at 96 dpi

# Each layout: its name, Xft.dpi, and its monitors (name, x, y, width, height); the
# window opens on the first of them.
LAYOUTS = [
    ("laptop left, tops aligned", 96, [("laptop", 0, 0, 1366, 768), ("monitor", 1366, 0, 1920, 1080)]),
    ("laptop left, bottoms aligned", 96, [("laptop", 0, 312, 1366, 768), ("monitor", 1366, 0, 1920, 1080)]),
    ("larger monitor left", 96, [("monitor", 0, 0, 1920, 1080), ("laptop", 1920, 0, 1366, 768)]),
    ("two monitors at 192 dpi", 192, [("laptop", 0, 0, 2732, 1536), ("monitor", 2732, 0, 3840, 2160)]),
]
games = []
displays = []


def new_display(width, height, server_args=()):
    display = OwnDisplay(width, height, server_args)
    displays.append(display)
    number = display.start()
    return display, number


def set_monitors(monitors, dpi):
    """Makes the monitors the server shows; the last one takes the place of the one RandR
    made for the whole screen."""
    for i, (name, x, y, width, height) in enumerate(monitors):
        millimetres = f"{width}/{round(width * 25.4 / dpi)}x{height}/{round(height * 25.4 / dpi)}+{x}+{y}"
        output = "screen" if i == len(monitors) - 1 else "none"
        code, _, err = run_tool("xrandr", "--setmonitor", name, millimetres, output)
        check(code == 0, f"xrandr --setmonitor {name}: {err.strip()}")


def check_fills(window, frame, area, scaled, where):
    """The window is as large a square as `area` holds with the frame, up to `scaled`."""
    largest = min(area[2] - frame[0] - frame[1], area[3] - frame[2] - frame[3])
    side = min(scaled, largest)
    check(window[2] == window[3] == side, f"{where}: the window is {window[2]} x {window[3]}, not {side} x {side}")


def quit_game(game, managed):
    if managed:
        press_active(game, "key", "q")
    else:
        code, _, err = run_tool("xdotool", "key", "q")  # the pointer is still on BET 1, in the window
        check(code == 0, f"xdotool key q: {err.strip()}")
    check(game.wait_exit() == 0, f"Q ended the game with status {game.status}")


def layout_test(name, dpi, monitors):
    rects = [tuple(m[1:]) for m in monitors]
    width = max(x + w for x, _, w, _ in rects)
    height = max(y + h for _, y, _, h in rects)
    display, number = new_display(width, height)
    set_monitors(monitors, dpi)
    if dpi != 96:
        code, _, err = run_tool("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                                f"Xft.dpi:\t{dpi}\n")
        check(code == 0, f"xprop could not set Xft.dpi: {err.strip()}")
    monitor = rects[0]
    scaled = SIDE * dpi // 96
    log(f"{name}: Xvfb {width} x {height} on :{number}, Xft.dpi {dpi}, monitors "
        + ", ".join(f"{m[0]} {m[3]} x {m[4]} at ({m[1]}, {m[2]})" for m in monitors))

    game = start_ready(STAGE, games)
    window = geometry(game)
    check(intersection(window, monitor) == window, f"no window manager: the window {window} is not wholly on the "
          f"{monitors[0][0]} {monitor}")
    check_fills(window, (0, 0, 0, 0), monitor, scaled, "no window manager")
    bet_one(game, window)
    log(f"  no window manager: {window[2]} x {window[3]} at {window[:2]}, on the {monitors[0][0]}; BET 1 names 6")
    quit_game(game, managed=False)

    display.start_openbox()
    game = start_ready(STAGE, games)
    window, frame, area = on_screen_with_frame(game, monitor)
    check_fills(window, frame, area, scaled, "openbox")
    bet_one(game, window)
    press_active(game, "key", "F11")
    game.wait_for(lambda: geometry(game) == monitor, 20, f"F11 to fill the {monitors[0][0]} {monitor}")
    press_active(game, "key", "Escape")
    game.wait_for(lambda: geometry(game) == window, 20, f"Escape to give back the window {window}")
    log(f"  openbox: {window[2]} x {window[3]} at {window[:2]} with frame {frame}, on the {monitors[0][0]}; "
        "BET 1 names 6; F11 fills it, Escape gives the window back")
    quit_game(game, managed=True)
    display.stop()


def xinerama_test():
    # Xvfb lays its two screens out as one Xinerama screen; no RandR to list monitors.
    display, number = new_display(1366, 768, ["+xinerama", "-extension", "RANDR", "-screen", "1", "1920x1080x24"])
    code, out, err = run_tool("xdpyinfo", "-ext", "XINERAMA")
    check(code == 0 and "RANDR" not in out, f"xdpyinfo: RandR offered or no answer: {err.strip()}")
    heads = [tuple(int(v) for v in m) for m in re.findall(r"head #\d+: (\d+)x(\d+) @ (\d+),(\d+)", out)]
    heads = [(x, y, w, h) for w, h, x, y in heads]
    check(len(heads) == 2, f"Xinerama shows the heads {heads}, not two")
    holding = [h for h in heads if intersection((*ASKED, 1, 1), h)]
    check(holding, f"no head holds {ASKED}: {heads}")
    log(f"no RandR: Xvfb on :{number}, Xinerama heads {heads}")
    game = start_ready(STAGE, games)
    window = geometry(game)
    check(intersection(window, holding[0]) == window, f"the window {window} is not wholly on the head {holding[0]}")
    check_fills(window, (0, 0, 0, 0), holding[0], SIDE, "Xinerama")
    log(f"  no window manager: {window[2]} x {window[3]} at {window[:2]}, on the head {holding[0]}")
    bet_one(game, window)
    quit_game(game, managed=False)
    display.stop()


def test():
    for layout in LAYOUTS:
        layout_test(*layout)
    xinerama_test()


def main():
    try:
        run(test, games)
    finally:
        for display in displays:
            display.stop()


if __name__ == "__main__":
    main()
