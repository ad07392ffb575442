"""The frames the real game draws, counted by a preloaded log of the frames it shows:
none at rest after a spin, on a loser's prize counter or on the token counter after the
prize counter, and no more than one a step while a spin moves; an expose after a spin
redraws the very same picture; a token bought after a visit to the prize counter shows
in the bar at once."""

import sys

from Xlib import X
from Xlib import display as xdisplay

from e2elib import (BET_ONE, DOLLAR_ONE, PRIZE_BACKDROP_AREA, SPIN_STEPS, WINDOW_SIZE, WINDOW_X, WINDOW_Y, check,
                    check_at_rest, log, project_rect, run, start_logged, wait_for)

STAGE = sys.argv[1]
SHIM = sys.argv[2]
games = []

PRIZE_BACKDROP_RECT = project_rect(*PRIZE_BACKDROP_AREA)


COVER_COLOUR = (255, 0, 255)  # a colour the game never shows


def expose(game):
    """Lays a window of its own over the game's and takes it away again: the game's window
    is exposed, and nothing is left there of its picture until the game draws it anew."""
    x = xdisplay.Display()
    try:
        screen = x.screen()
        cover = screen.root.create_window(WINDOW_X, WINDOW_Y, WINDOW_SIZE, WINDOW_SIZE, 0, screen.root_depth,
                                          X.InputOutput, X.CopyFromParent, override_redirect=True,
                                          background_pixel=int.from_bytes(bytes(COVER_COLOUR), "big"))
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
    game, swap_log = start_logged(STAGE, games, SHIM)
    start = game.last_shot
    check(swap_log.count() > 0, "the frame counter saw no frame: is it preloaded?")
    coins, _, _ = start.bar_counts()
    check(coins == 10, f"a new game shows {coins} coins")

    # A spin (a loss): frames while it moves, at most one a step, then none.
    before = swap_log.count()
    game.click_scene(BET_ONE)
    rest = game.wait_still()
    drawn = swap_log.count() - before
    check(0 < drawn <= SPIN_STEPS + 1,
          f"a spin of {SPIN_STEPS} steps drew {drawn} frames (the press's own and at most one a step)")
    log(f"a spin: {drawn} frames for {SPIN_STEPS} steps")
    check_at_rest(game, swap_log, "at rest after a spin")

    # An expose: the window is drawn whole again, the very same picture, in one frame.
    before = swap_log.count()
    expose(game)
    game.wait_for(lambda: game.shot().same(rest), 10, "the picture of the spin drawn again after an expose")
    check(swap_log.count() == before + 1, f"the expose was answered with {swap_log.count() - before} frames, not one")
    check_at_rest(game, swap_log, "at rest after an expose")
    log("an expose after a spin: the same picture, drawn in one frame")

    # Fewer than five tickets: the loser's counter, where nothing is drawn to move.
    game.key("s")
    prize = changed_from(game, rest, PRIZE_BACKDROP_RECT, "the prize counter to be drawn")
    check_at_rest(game, swap_log, "on a loser's prize counter")

    # The token counter after the prize counter, which leaves an animation flagged.
    game.key("t")
    tokens = changed_from(game, prize, PRIZE_BACKDROP_RECT, "the token counter to be drawn")
    check_at_rest(game, swap_log, "on the token counter after the prize counter")

    # A token bought there shows in the bar at once, without a return to the machine.
    coins, _, _ = tokens.bar_counts()
    check(coins == 9, f"after a lost spin the bar shows {coins} coins")
    lines = game.click_scene(DOLLAR_ONE)
    check(any(line.endswith(" 8 ") for line in lines[1:]), f"the click on the one-dollar coin printed {lines}")
    game.wait_for(lambda: game.shot().bar_counts()[0] == 10, 5, "ten coins in the bar after buying one token")
    check_at_rest(game, swap_log, "after the purchase")
    check(game.shot().bar_counts()[0] == 10, "the bought token left the bar again")
    log("a token bought after the prize counter shows in the bar at once: 10 coins")

    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")


run(test, games)
