"""A HiDPI desktop: a 3840 x 2160 Xvfb of its own whose X resources say Xft.dpi 192, as
GNOME and KDE set them at 200%. With no window manager (which could lend an icon of its
own) the window opens at 1800 x 1800 and carries its class and its icon at five sizes.
Under openbox the 1800 px window lies on screen, a click on BET 1 names 6, a held Space
pulls the lever once and prints nothing, F11 fills the screen, Escape gives the window
back and does nothing more, and Q ends the game with status 0."""

import sys
import time

from e2elib import (MACHINE_AREA, OwnDisplay, bar_shows, bet_one, check, geometry, log, on_screen_with_frame,
                    press_active, project, run, run_tool, start_ready)

STAGE = sys.argv[1]
SCREEN = (3840, 2160)
DPI = 192
SIDE = 900 * DPI // 96
ICON_SIZES = [16, 32, 48, 64, 128]
# Beyond the X server's key repeat delay (660 ms by default), so that a held key repeats.
HOLD_SECONDS = 2.0
games = []
display = OwnDisplay(*SCREEN)


def icon_sizes(game):
    """The sizes in _NET_WM_ICON, each checked to hold a shape: opaque and clear pixels."""
    code, out, err = run_tool("xprop", "-id", game.window, "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON")
    check(code == 0 and "=" in out, f"no _NET_WM_ICON on the window: {out.strip()} {err.strip()}")
    words = [int(v) for v in out.split("=", 1)[1].split(",")]
    sizes, at = [], 0
    while at < len(words):
        width, height = words[at], words[at + 1]
        pixels = words[at + 2:at + 2 + width * height]
        check(len(pixels) == width * height, f"the icon of {width} x {height} is cut short")
        alphas = {p >> 24 for p in pixels}
        check(255 in alphas and 0 in alphas, f"the icon of {width} x {height} has no shape: alphas {sorted(alphas)}")
        sizes.append(width if width == height else (width, height))
        at += 2 + width * height
    return sizes


def scene_rect(rect, window):
    """Root rectangle (left, top, right, bottom) where a scene rectangle is drawn."""
    (ax, ay), (bx, by) = project(rect[0], rect[1], window=window), project(rect[2], rect[3], window=window)
    return (min(ax, bx), min(ay, by), max(ax, bx), max(ay, by))


def test():
    number = display.start()
    code, _, err = run_tool("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                            f"Xft.dpi:\t{DPI}\n")
    check(code == 0, f"xprop could not set Xft.dpi: {err.strip()}")
    log(f"Xvfb {SCREEN[0]} x {SCREEN[1]} on :{number}, Xft.dpi {DPI}")

    # No window manager: what the window itself asks for and carries.
    game = start_ready(STAGE, games)
    window = geometry(game)
    check(window == (100, 100, SIDE, SIDE), f"window {window}, not {SIDE} x {SIDE} at (100, 100)")
    code, out, err = run_tool("xprop", "-id", game.window, "WM_CLASS")
    check(out.strip() == 'WM_CLASS(STRING) = "slot-machine", "slot-machine"', f"WM_CLASS: {out.strip()} {err.strip()}")
    sizes = icon_sizes(game)
    check(sizes == ICON_SIZES, f"the icon comes at {sizes}, not {ICON_SIZES}")
    log(f"no window manager: {SIDE} x {SIDE} at (100, 100), WM_CLASS slot-machine, the icon at {sizes} px")
    game.key("q")
    check(game.wait_exit() == 0, f"Q ended the game with status {game.status}")

    # Under openbox.
    display.start_openbox()
    game = start_ready(STAGE, games)
    window, frame, _ = on_screen_with_frame(game)
    check(window[2:] == (SIDE, SIDE), f"under openbox the window is {window[2]} x {window[3]}, not {SIDE} x {SIDE}")
    log(f"openbox: the window is {SIDE} x {SIDE} at {window[:2]} with frame {frame}, wholly on screen")

    bar_shows(game, 10, 0, "at start")
    bet_one(game, window)  # the run's first spin: a loss
    bar_shows(game, 9, 0, "after BET 1")
    log("a click on BET 1 names 6: a loss, 9 tokens")

    # Held Space: one pull of the lever at the last stake, the second spin of the run (a
    # pair); a pull at each of the server's key repeats would spin on and on.
    console = len(game.lines())
    before = game.shot()
    press_active(game, "keydown", "space")
    try:
        time.sleep(HOLD_SECONDS)
        moving = game.shot()
    finally:
        press_active(game, "keyup", "space")
    check(not moving.same(before, scene_rect(MACHINE_AREA, window)), "the machine did not move while Space was held")
    bar_shows(game, 8, 1, "after a held Space")
    check(game.lines()[console:] == [], f"Space printed {game.lines()[console:]}")
    log(f"Space held for {HOLD_SECONDS} s: the machine spun once, a pair: 8 tokens and a ticket; nothing printed")

    press_active(game, "key", "F11")
    game.wait_for(lambda: geometry(game) == (0, 0, *SCREEN), 20, "F11 to fill the screen")
    bar_shows(game, 8, 1, "fullscreen")
    press_active(game, "key", "Escape")
    game.wait_for(lambda: geometry(game) == window, 20, f"Escape to give back the window {window}")
    bar_shows(game, 8, 1, "back from fullscreen")
    press_active(game, "key", "Escape")
    time.sleep(1.0)
    check(geometry(game) == window, f"a second Escape moved the window to {geometry(game)}")
    printed = game.lines()[console:]
    check(set(printed) <= {"perspective"}, f"F11 and Escape printed {printed}")
    log(f"F11 fills the screen, {SCREEN[0]} x {SCREEN[1]}; Escape gives back {window}; a second Escape does nothing")

    press_active(game, "key", "q")
    check(game.wait_exit() == 0, f"Q ended the game with status {game.status}")


def main():
    try:
        run(test, games)
    finally:
        display.stop()


if __name__ == "__main__":
    main()
