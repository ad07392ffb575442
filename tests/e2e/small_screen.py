"""A laptop's screen under a real window manager: on a 1366 x 768 Xvfb of its own with
openbox, the window and its frame lie wholly on screen as the largest square that fits,
the status bar shows the tokens, a click hits the button drawn, and F11 fills the screen
(where a click still hits) and gives the window back, printing nothing but the
projection notice."""

import os
import re
import subprocess
import sys
import tempfile

from e2elib import BET_ONE, Game, check, log, run, run_tool, wait_for

STAGE = sys.argv[1]
SCREEN = (1366, 768)
games = []
servers = []


def start_server(argv, **kwargs):
    proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, **kwargs)
    servers.append(proc)
    return proc


def start_display():
    """Starts Xvfb on a display number it picks itself, and openbox on it."""
    read_end, write_end = os.pipe()
    # -noreset: a server whose last client leaves resets and refuses connections meanwhile.
    start_server(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten",
                  "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as answer:
        number = answer.readline().strip()
    check(number.isdigit(), "Xvfb did not tell its display number")
    os.environ["DISPLAY"] = f":{number}"
    # A private configuration folder: the test sees openbox's defaults, not a user's.
    config = tempfile.TemporaryDirectory(prefix="slot-openbox-")
    servers.append(config)
    start_server(["openbox", "--sm-disable"], env=dict(os.environ, XDG_CONFIG_HOME=config.name),
                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: "window id" in run_tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")[1], 20,
                  "openbox to manage the screen")
    log(f"Xvfb {SCREEN[0]} x {SCREEN[1]} on :{number} with openbox")


def cardinals(*argv):
    code, out, err = run_tool("xprop", *argv)
    check(code == 0 and "=" in out, f"xprop {' '.join(argv)}: {out.strip()} {err.strip()}")
    return [int(v) for v in out.split("=", 1)[1].split(",")]


def geometry(game):
    """(left, top, width, height) of the game's window in root pixels."""
    code, out, err = run_tool("xwininfo", "-id", game.window)
    check(code == 0, f"xwininfo: {err.strip()}")
    keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
    return tuple(int(re.search(rf"^\s*{key}:\s*(-?\d+)", out, re.M).group(1)) for key in keys)


def press(game, key):
    # Under a window manager the keys go to the active window, not to the one under the pointer.
    code, _, err = run_tool("xdotool", "windowactivate", "--sync", game.window, "key", key)
    check(code == 0, f"xdotool key {key}: {err.strip()}")


def bar_shows(game, coins, stubs, when):
    shown = game.wait_still().bar_counts()
    check(shown[:2] == (coins, stubs), f"{when}: the bar shows {shown[0]} coins and {shown[1]} stubs, not {coins} "
          f"and {stubs}: " + "; ".join(shown[2]))


def bet_one(game, window):
    lines = game.click_scene(BET_ONE, window=window)
    names = sorted(int(line.split(":", 1)[1]) for line in lines[1:])
    check(names == [-1, 6], f"a click on BET 1 in the window {window} printed {lines}")


def test():
    start_display()
    game = Game(STAGE)
    games.append(game)
    game.start()
    game.wait_ready()
    console = len(game.lines())

    window = geometry(game)
    left, top, width, height = window
    frame_left, frame_right, frame_top, frame_bottom = cardinals("-id", game.window, "_NET_FRAME_EXTENTS")
    area_x, area_y, area_width, area_height = cardinals("-root", "_NET_WORKAREA")[:4]
    check(frame_top > 0, f"openbox added no title bar: frame {frame_left, frame_right, frame_top, frame_bottom}")
    outer = (left - frame_left, top - frame_top, left + width + frame_right, top + height + frame_bottom)
    check(outer[0] >= area_x and outer[1] >= area_y and outer[2] <= area_x + area_width
          and outer[3] <= area_y + area_height,
          f"window {window} with frame {outer} is not inside the work area "
          f"{(area_x, area_y, area_width, area_height)}")
    largest = min(area_width - frame_left - frame_right, area_height - frame_top - frame_bottom)
    check(width == height == largest, f"window {width} x {height}, not the largest square that fits: {largest}")
    log(f"window {width} x {height} at ({left}, {top}), frame {outer}: on screen, the largest square")

    bar_shows(game, 10, 0, "at start")
    log("the status bar shows the ten tokens")

    # The first spin of a game is a loss, the second a pair.
    bet_one(game, window)
    bar_shows(game, 9, 0, "after the first spin")
    log("a click on BET 1 hits it: a loss, 9 tokens")

    console = len(game.lines())
    press(game, "F11")
    full = (0, 0, *SCREEN)
    game.wait_for(lambda: geometry(game) == full, 10, "F11 to fill the screen")
    bar_shows(game, 9, 0, "fullscreen")
    printed = game.lines()[console:]
    bet_one(game, full)
    bar_shows(game, 8, 1, "after the second spin")
    log(f"F11: the window fills the screen, {SCREEN[0]} x {SCREEN[1]}; a click on BET 1 hits it: a pair, "
        "8 tokens and a ticket")

    console = len(game.lines())
    press(game, "F11")
    game.wait_for(lambda: geometry(game) == window, 10, f"F11 again to give back the window {window}")
    bar_shows(game, 8, 1, "back from fullscreen")
    printed += game.lines()[console:]
    check(printed and set(printed) == {"perspective"}, f"the two F11 printed {printed}")
    log(f"F11 again: the window is back at {window}; the two printed {len(printed)} 'perspective' lines, no other")

    press(game, "q")
    check(game.wait_exit() == 0, f"Q ended the game with status {game.status}")


def main():
    try:
        run(test, games)
    finally:
        for server in reversed(servers):
            if isinstance(server, subprocess.Popen):
                # Terminated, not killed: Xvfb removes its socket and lock file on the way out.
                server.terminate()
                try:
                    server.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    server.kill()
                    server.wait()
            else:
                server.cleanup()


if __name__ == "__main__":
    main()
