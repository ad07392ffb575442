"""The frames the real game draws, counted by a preloaded log of the frames it shows:
none at rest after a spin, on a loser's prize counter or on the token counter after the
prize counter, and no more than one a step while a spin moves; an expose after a spin
redraws the very same picture; a token bought after a visit to the prize counter shows
in the bar at once."""

import os
import sys
import time

from Xlib import X
from Xlib import display as xdisplay

from e2elib import (BET_ONE, DOLLAR_ONE, PRIZE_BACKDROP_AREA, WINDOW_SIZE, WINDOW_X, WINDOW_Y, Game, check,
                    game_environment, log, project_rect, run, wait_for)

STAGE = sys.argv[1]
SHIM = os.path.abspath(sys.argv[2])
games = []

QUIET_SECONDS = 3.0
# A process that only waits for its timers uses next to nothing; an idle callback that
# spins takes the whole of a core. The bound lies far from both.
BUSY_CPU_SECONDS = 0.3 * QUIET_SECONDS
SPIN_STEPS = 432  # the steps of one spin, the first of which moves the lever
PRIZE_BACKDROP_RECT = project_rect(*PRIZE_BACKDROP_AREA)


def frames(path):
    """The number of the last swap the log holds whole; 0 before the first."""
    if not os.path.exists(path):
        return 0
    with open(path) as f:
        lines = [line.split() for line in f.read().split("\n")[:-1]]
    return int(lines[-1][1]) if lines else 0


def cpu_seconds(pid):
    """User and system time of the process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def at_rest(game, count_path, label):
    """Watches the game for a few seconds in which nobody does anything: it must draw
    no frame and keep the processor free."""
    time.sleep(0.5)  # the frame asked for by the last key or press
    frames_before, cpu_before = frames(count_path), cpu_seconds(game.proc.pid)
    time.sleep(QUIET_SECONDS)
    drawn, cpu = frames(count_path) - frames_before, cpu_seconds(game.proc.pid) - cpu_before
    check(drawn == 0, f"{label}: {drawn} frames drawn in {QUIET_SECONDS} s while nothing moved")
    check(cpu < BUSY_CPU_SECONDS, f"{label}: {cpu:.2f} s of processor time in {QUIET_SECONDS} s at rest")
    log(f"{label}: no frame and {cpu:.2f} s of processor time in {QUIET_SECONDS} s")


COVER_COLOUR = (255, 0, 255)  # a colour the game never shows


def expose(game):
    """Lays a window of its own over the game's and takes it away again: the game's window
    is exposed, and nothing is left there of its picture until the game draws it anew."""
    x = xdisplay.Display()
    try:
        screen = x.screen()
        cover = screen.root.create_window(WINDOW_X, WINDOW_Y, WINDOW_SIZE, WINDOW_SIZE, 0, screen.root_depth,
                                          X.InputOutput, X.CopyFromParent, override_redirect=True,
                                          background_pixel=0xFF00FF)
        cover.map()
        x.sync()
        centre = WINDOW_X + WINDOW_SIZE // 2, WINDOW_Y + WINDOW_SIZE // 2

        def covered():
            pixel = screen.root.get_image(*centre, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
            return tuple(pixel[2::-1]) == COVER_COLOUR  # blue, green, red, pad

        wait_for(covered, 10, "the cover over the game's window")
        cover.destroy()
        x.sync()
    finally:
        x.close()


def changed_from(game, before, rect, what):
    return game.wait_for(lambda: (lambda s: s if not s.same(before, rect) else None)(game.shot()), 10, what)


def test():
    game = Game(STAGE)
    games.append(game)
    count_path = os.path.join(game.dir, "swaps.log")
    game.env["LD_PRELOAD"] = ":".join(filter(None, [SHIM, game_environment().get("LD_PRELOAD")]))
    game.env["SLOT_SWAP_LOG"] = count_path
    game.start()
    start = game.wait_ready()
    check(frames(count_path) > 0, "the frame counter saw no frame: is it preloaded?")
    coins, _, _ = start.bar_counts()
    check(coins == 10, f"a new game shows {coins} coins")

    # A spin (a loss): frames while it moves, at most one a step, then none.
    before = frames(count_path)
    game.click_scene(BET_ONE)
    rest = game.wait_still()
    drawn = frames(count_path) - before
    check(0 < drawn <= SPIN_STEPS + 1,
          f"a spin of {SPIN_STEPS} steps drew {drawn} frames (the press's own and at most one a step)")
    log(f"a spin: {drawn} frames for {SPIN_STEPS} steps")
    at_rest(game, count_path, "at rest after a spin")

    # An expose: the window is drawn whole again, the very same picture, in one frame.
    before = frames(count_path)
    expose(game)
    game.wait_for(lambda: game.shot().same(rest), 10, "the picture of the spin drawn again after an expose")
    check(frames(count_path) == before + 1,
          f"the expose was answered with {frames(count_path) - before} frames, not one")
    at_rest(game, count_path, "at rest after an expose")
    log("an expose after a spin: the same picture, drawn in one frame")

    # Fewer than five tickets: the loser's counter, where nothing is drawn to move.
    game.key("s")
    prize = changed_from(game, rest, PRIZE_BACKDROP_RECT, "the prize counter to be drawn")
    at_rest(game, count_path, "on a loser's prize counter")

    # The token counter after the prize counter, which leaves an animation flagged.
    game.key("t")
    tokens = changed_from(game, prize, PRIZE_BACKDROP_RECT, "the token counter to be drawn")
    at_rest(game, count_path, "on the token counter after the prize counter")

    # A token bought there shows in the bar at once, without a return to the machine.
    coins, _, _ = tokens.bar_counts()
    check(coins == 9, f"after a lost spin the bar shows {coins} coins")
    lines = game.click_scene(DOLLAR_ONE)
    check(any(line.endswith(" 8 ") for line in lines[1:]), f"the click on the one-dollar coin printed {lines}")
    game.wait_for(lambda: game.shot().bar_counts()[0] == 10, 5, "ten coins in the bar after buying one token")
    at_rest(game, count_path, "after the purchase")
    check(game.shot().bar_counts()[0] == 10, "the bought token left the bar again")
    log("a token bought after the prize counter shows in the bar at once: 10 coins")

    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")


run(test, games)
