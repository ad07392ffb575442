"""The frames the real game draws, counted by a preloaded buffer-swap log: none at
rest after a spin, on a loser's prize counter or on the token counter after the prize
counter, and no more than one a step while a spin moves; a token bought after a visit
to the prize counter shows in the bar at once."""

import sys

from e2elib import (BET_ONE, DOLLAR_ONE, PRIZE_BACKDROP_AREA, check, check_at_rest, log, project_rect, run,
                    start_logged)

STAGE = sys.argv[1]
SHIM = sys.argv[2]
games = []

SPIN_STEPS = 432  # the steps of one spin, the first of which moves the lever
PRIZE_BACKDROP_RECT = project_rect(*PRIZE_BACKDROP_AREA)


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
