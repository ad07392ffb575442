"""A game played as a person would: bet, watch the status bar's coins and stubs, buy
tokens at the token counter, visit the prize counter as a loser and as a winner, and
quit. Writes screenshots of the three screens into the folder given (for docs/)."""

import os
import sys
import time

from e2elib import (BALL_AREA, BET_ONE, DOLLAR_FIVE, MACHINE_AREA, PRIZE_BACKDROP_AREA, PRIZE_Z, SIGN_AREA,
                    Failure, Game, check, log, project_rect, run)

STAGE = sys.argv[1]
DOCS = sys.argv[2] if len(sys.argv) > 2 else None
games = []

MACHINE_RECT = project_rect(*MACHINE_AREA)
SIGN_RECT = project_rect(*SIGN_AREA, z=PRIZE_Z)
BALL_RECT = project_rect(*BALL_AREA, z=PRIZE_Z)
PRIZE_BACKDROP_RECT = project_rect(*PRIZE_BACKDROP_AREA)


def counts(shot):
    coins, stubs, _ = shot.bar_counts()
    return coins, stubs


def describe(shot):
    return "; ".join(shot.bar_counts()[2])


def save(shot, name):
    if DOCS:
        shot.write_png(os.path.join(DOCS, name))
        log(f"wrote {os.path.join(DOCS, name)}")


def switch_screen(game, key, away_from):
    """Presses a screen key and waits until the picture is no longer `away_from`."""
    game.key(key)
    return game.wait_for(lambda: (lambda s: s if not s.same(away_from) else None)(game.shot()), 10,
                         f"the screen of key {key!r} to be drawn")


def bet_one(game, label, after_stake, settled):
    """Plays one spin with bet-one. The stake must leave the bar at once, while the
    machine still moves; the winnings may show only once it has come to rest."""
    lines = game.click_scene(BET_ONE)
    check(any(line.endswith(" 6 ") for line in lines[1:]), f"{label}: the click on bet-one printed {lines}")

    def stake_shown():
        shot = game.shot()
        return shot if counts(shot) == after_stake else None

    try:
        game.wait_for(stake_shown, 2, "the stake to leave the bar")
    except Failure:
        shot = game.last_shot
        raise Failure(f"{label}: 2 s after the click the bar shows {counts(shot)} (coins, stubs), expected "
                      f"{after_stake} at once: {describe(shot)}")

    moving = []

    def watch(previous, shot):
        if previous.same(shot, MACHINE_RECT):
            return
        moving.append(previous)
        # The machine moved after `previous` was taken: the spin was still running then.
        shown = counts(previous)
        check(shown == after_stake, f"{label}: while the machine moved the bar showed {shown[0]} coins and "
              f"{shown[1]} stubs, expected {after_stake}: {describe(previous)}")

    rest = game.wait_still(on_shot=watch)
    check(moving, f"{label}: the machine did not move after the stake left the bar")
    shown = counts(rest)
    check(shown == settled, f"{label}: at rest the bar shows {shown[0]} coins and {shown[1]} stubs, expected "
          f"{settled}: {describe(rest)}")
    log(f"{label}: stake shown at once as {after_stake} (coins, stubs), held during {len(moving)} moving "
        f"shots, {settled} at rest")
    return rest


def prize_screen(game, away_from):
    """Switches to the prize counter and waits until its backdrop is drawn."""
    game.key("s")
    return game.wait_for(lambda: (lambda s: s if not s.same(away_from, PRIZE_BACKDROP_RECT) else None)(game.shot()),
                         10, "the prize counter to be drawn")


def test():
    game = Game(STAGE)
    games.append(game)
    game.start()
    start = game.wait_ready()
    check(counts(start) == (10, 0), f"a new game shows {counts(start)} (coins, stubs): {describe(start)}")
    log("start: 10 coins, no stub")

    # The first spins of a new game: no win, a pair (1 ticket), a triple (2 tickets, 2 tokens).
    bet_one(game, "spin 1", (9, 0), (9, 0))
    bet_one(game, "spin 2", (8, 0), (8, 1))
    machine = bet_one(game, "spin 3", (7, 1), (9, 3))
    save(machine, "machine.png")

    # Token counter: five more tokens; the bar shows eleven coins at most.
    switch_screen(game, "t", machine)
    tokens = game.wait_still()
    check(counts(tokens) == (9, 3), f"the token counter's bar shows {counts(tokens)}: {describe(tokens)}")
    lines = game.click_scene(DOLLAR_FIVE)
    check(any(line.endswith(" 10 ") for line in lines[1:]), f"the click on the five-dollar coin printed {lines}")
    tokens = game.wait_for(lambda: (lambda s: s if counts(s) == (11, 3) else None)(game.shot()), 5,
                           "eleven coins after buying five tokens")
    tokens = game.wait_still()
    check(counts(tokens) == (11, 3), f"after buying the bar shows {counts(tokens)}: {describe(tokens)}")
    save(tokens, "tokens.png")
    log("token counter: the five-dollar coin buys, the bar shows 11 coins")

    # Prize counter with three tickets: the loser's sign, and no ball bounces there.
    prize_screen(game, tokens)
    loser = game.wait_still()
    check(counts(loser) == (11, 3), f"the prize counter's bar shows {counts(loser)}: {describe(loser)}")
    log("prize counter with 3 tickets: the picture stands still (no ball)")

    # Back to the machine as it was left, then two pairs make five tickets.
    switch_screen(game, "p", loser)
    back = game.wait_still()
    check(back.same(machine, MACHINE_RECT), "P does not show the machine as it was left")
    log("P: the machine as it was left")
    bet_one(game, "spin 4", (11, 3), (11, 4))
    rest = bet_one(game, "spin 5", (11, 4), (11, 5))

    # Prize counter with five tickets: another sign, and the ball bounces.
    prize_screen(game, rest)
    # The ball is back at the same height after every bounce, which lasts a fixed number
    # of the clock's steps (24, a fifth of a second): shots taken at a steady pace near a
    # whole number of bounces (a pause and a shot's capture on a busy machine) can all
    # catch it at one height. The pauses differ by more than a step, so that the shots
    # fall on different moments of the bounce.
    shots = [game.shot()]
    for k in range(12):
        time.sleep(0.1 + 0.07 * (k % 4))
        shots.append(game.shot())
    ball_moves = sum(1 for a, b in zip(shots, shots[1:]) if not a.same(b, BALL_RECT))
    check(ball_moves > 0, f"no motion in the ball's column over {len(shots)} shots of the winner's prize counter")
    sign_steady = all(a.same(b, SIGN_RECT) for a, b in zip(shots, shots[1:]))
    check(sign_steady, "the verdict sign changes while the ball bounces")
    winner = shots[-1]
    area = (SIGN_RECT[2] - SIGN_RECT[0] + 1) * (SIGN_RECT[3] - SIGN_RECT[1] + 1)
    changed = winner.differing(loser, SIGN_RECT)
    check(changed > area // 10, f"the winner's sign differs from the loser's in {changed} of {area} pixels")
    check(counts(winner) == (11, 5), f"the winner's bar shows {counts(winner)}: {describe(winner)}")
    # For the picture, the moment the ball covers least of the counter's title.
    top = project_rect(BALL_AREA[0], 1.9, BALL_AREA[2], BALL_AREA[3], z=PRIZE_Z)
    save(min(shots, key=lambda shot: shot.differing(loser, top)), "prize.png")
    log(f"prize counter with 5 tickets: the ball moved in {ball_moves} of {len(shots) - 1} shot pairs, the sign "
        f"differs from the loser's in {changed} of {area} pixels")

    switch_screen(game, "p", winner)
    game.wait_for(lambda: game.shot().same(rest, MACHINE_RECT), 10, "P to show the machine again")
    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")
    log("q: exit status 0")


run(test, games)
