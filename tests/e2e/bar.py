"""What the machine tells a player of where they stand, seen in the real game's window:
a bet placed while a won spin finishes shows the win in the bar in the frame of the
press; the bet buttons dim when the tokens shown cannot pay their stakes, the bar
points to the token counter at none, and a purchase lights them again, with no frame
drawn at rest; the counts written in the bar read back (tesseract) as the counts."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from e2elib import (BAR_Z, BET_FIVE, BET_ONE, DOLLAR_FIVE, DOLLAR_ONE, check, check_at_rest, coin_point, log,
                    project, project_rect, run, start_logged, stub_point)

STAGE = sys.argv[1]
SHIM = sys.argv[2]
games = []

# Where the counts are written: below the coin row and below the stubs, down to the
# window's edge (scene units at the rows' depth), clear of the coins and the stubs.
TOKEN_COUNT_AREA = (-2.75, -3.02, -2.05, -2.715)
TICKET_COUNT_AREA = (0.52, -3.02, 1.3, -2.6)
POINTER_AREA = (-2.6, -3.02, -1.2, -2.72)  # after a count of one digit
KEY_CAP_FACE = (255, 242, 204)
BUTTON_FRONT_Z = 0.2  # the bet buttons are spheres of radius 0.2 about z = 0

# The first spins of a fresh run: a loss, a pair, three of a kind, a pair. The first
# step comes within a timer period (0.166 s) of the press; the right reel lands 251
# steps later at 120 a second, by 2.27 s, and the spin is over 180 steps after that, at
# 3.6 s or later: in between its result shows and its winnings wait.
WAITING = 2.6


def spot(point, z):
    return project(point[0], point[1], z)


def window_rect(area, z=BAR_Z):
    left, top, right, bottom = project_rect(*area, z=z)
    return (left, top, right - left + 1, bottom - top + 1)


def swap_spot(point):
    """A 5-pixel square at a scene point of the bar, for the swap log to watch."""
    x, y = spot(point, BAR_Z)
    return (x - 2, y - 2, 5, 5)


def brightness(shot, point):
    """The mean of the channels over a 9-pixel square at a bet button's front."""
    x, y = spot(point, BUTTON_FRONT_Z)
    values = [sum(shot.rgb(x + dx, y + dy)) / 3 for dx in range(-4, 5) for dy in range(-4, 5)]
    return sum(values) / len(values)


def buttons(shot, lit):
    """(BET 1 lit, BET 5 lit) against their brightness when lit: dimmed is at most
    two thirds of it, lit within a tenth."""
    out = []
    for point, full in zip((BET_ONE, BET_FIVE), lit):
        seen = brightness(shot, point)
        check(seen <= 0.67 * full or seen >= 0.9 * full,
              f"a bet button neither lit nor dimmed: {seen:.0f} of {full:.0f}")
        out.append(seen >= 0.9 * full)
    return tuple(out)


def pointer_shown(shot):
    left, top, width, height = window_rect(POINTER_AREA)
    face = 0
    for y in range(top, top + height):
        for x in range(left, left + width):
            face += max(abs(a - b) for a, b in zip(shot.rgb(x, y), KEY_CAP_FACE)) <= 8
    return face > 50


def read_number(shot, area):
    """The number tesseract reads in a count's area: its dark pixels, cut out with a
    margin, black on white and doubled in size, as one line of digits."""
    left, top, width, height = window_rect(area)
    ink = [(x, y) for y in range(height) for x in range(width) if max(shot.rgb(left + x, top + y)) < 110]
    if not ink:
        return ""
    x0, y0 = min(x for x, _ in ink), min(y for _, y in ink)
    x1, y1 = max(x for x, _ in ink), max(y for _, y in ink)
    pad, scale = 12, 2
    w, h = (x1 - x0 + 1) * scale + 2 * pad, (y1 - y0 + 1) * scale + 2 * pad
    image = bytearray(b"\xff" * (w * h))
    for x, y in ink:
        for sy in range(scale):
            row = (pad + (y - y0) * scale + sy) * w + pad + (x - x0) * scale
            image[row:row + scale] = b"\x00" * scale
    with tempfile.TemporaryDirectory(prefix="slot-ocr-") as folder:
        path = os.path.join(folder, "count.pgm")
        with open(path, "wb") as f:
            f.write(b"P5\n%d %d\n255\n" % (w, h) + bytes(image))
        result = subprocess.run(["tesseract", path, "stdout", "--psm", "7", "-c", "tessedit_char_whitelist=0123456789"],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    check(result.returncode == 0, "tesseract failed: " + result.stderr.decode(errors="replace"))
    return result.stdout.decode().strip()


def expect_counts(shot, tokens, tickets, when):
    """Reads both counts; with `tokens` None only the tickets (at no token the pointer
    follows the token count closely)."""
    read = (read_number(shot, TOKEN_COUNT_AREA) if tokens is not None else None, read_number(shot, TICKET_COUNT_AREA))
    wanted = (str(tokens) if tokens is not None else None, str(tickets))
    check(read == wanted, f"{when}: the bar reads {read} (tokens, tickets), not {wanted}")
    log(f"{when}: the bar reads {read[0]} tokens and {read[1]} tickets")


def spin(game, point, coins, stubs, what):
    game.click_scene(point)
    shown = game.wait_still().bar_counts()[:2]
    check(shown == (coins, stubs), f"{what}: at rest the bar shows {shown} (coins, stubs), not {(coins, stubs)}")


def test_win_shown_at_the_next_press(game, swap_log):
    """The pair's five tickets wait for the end of its spin; BET 1 before then shows them,
    and the stake it takes, in the frame drawn for the press."""
    game.click_scene(BET_FIVE)  # the pair: 4 tokens left, five tickets to come
    time.sleep(WAITING)
    before = swap_log.swaps()
    check(before and before[-1][2][0] == before[0][2][0], "the pair's ticket showed before its spin was over")
    stub_before, coin_before = before[-1][2]
    pressed = time.monotonic()
    check(before[-1][0] > pressed - 0.5, "the pair's spin had stopped drawing before the press: too late")
    game.click_scene(BET_ONE)  # three of a kind, which takes its stake at once

    # The stake leaves the bar at the press and only then: the first frame without the
    # fourth coin is the frame of the press.
    def stake_shown():
        return next((s for s in swap_log.swaps()[len(before):] if s[2][1] != coin_before), None)

    first = game.wait_for(stake_shown, 5, "the frame of the press")
    early = [s for s in swap_log.swaps()[len(before):] if s[1] < first[1] and s[2][0] != stub_before]
    check(not early, "the pair's ticket showed before the press was taken: the press came too late to test")
    check(first[2][0] != stub_before, "the frame of the press does not show the pair's ticket")
    shown = game.shot().bar_counts()[:2]
    check(shown == (3, 5), f"while three of a kind spins the bar shows {shown} (coins, stubs), not (3, 5)")
    log(f"a bet {WAITING} s into a won spin: its five tickets and the new stake in the frame of the press "
        f"({(first[0] - pressed) * 1000:.0f} ms after it was sent)")
    shown = game.wait_still().bar_counts()[:2]
    check(shown == (5, 7), f"after three of a kind the bar shows {shown}, not (5, 7)")


def test():
    check(shutil.which("tesseract"), "tesseract is not installed")
    # Game 1: the swap log watches the first stub and the fourth coin.
    game, swap_log = start_logged(STAGE, games, SHIM, [swap_spot(stub_point(0)), swap_spot(coin_point(3))])
    shot = game.last_shot
    lit = (brightness(shot, BET_ONE), brightness(shot, BET_FIVE))
    check(buttons(shot, lit) == (True, True), "with ten tokens a bet button is dimmed")
    expect_counts(shot, 10, 0, "a new game")
    spin(game, BET_ONE, 9, 0, "a loss")
    test_win_shown_at_the_next_press(game, swap_log)

    spin(game, BET_ONE, 4, 8, "a pair")  # 4 tokens: not enough for BET 5
    shot = game.shot()
    check(buttons(shot, lit) == (True, False), f"with four tokens (BET 1, BET 5) lit: {buttons(shot, lit)}")
    check(not pointer_shown(shot), "with four tokens the bar points to the token counter")
    check_at_rest(game, swap_log, "four tokens, BET 5 dimmed")
    game.key("t")
    game.wait_still()
    for _ in range(2):
        game.click_scene(DOLLAR_FIVE)
    game.key("p")
    shot = game.wait_for(lambda: (lambda s: s if s.bar_counts()[0] == 11 else None)(game.wait_still()), 10,
                         "the machine with the tokens bought")
    check(buttons(shot, lit) == (True, True), f"with 14 tokens (BET 1, BET 5) lit: {buttons(shot, lit)}")
    check_at_rest(game, swap_log, "fourteen tokens, both lit")
    expect_counts(shot, 14, 8, "14 tokens and 8 tickets")
    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")

    # Game 2: down to no token with two bets of five, then one bought.
    game, swap_log = start_logged(STAGE, games, SHIM)
    spin(game, BET_FIVE, 5, 0, "a loss at five")
    spin(game, BET_FIVE, 0, 5, "a pair at five")
    shot = game.shot()
    check(buttons(shot, lit) == (False, False), f"with no token (BET 1, BET 5) lit: {buttons(shot, lit)}")
    check(pointer_shown(shot), "with no token the bar does not point to the token counter")
    expect_counts(shot, None, 5, "no token")
    check_at_rest(game, swap_log, "no token, both dimmed")
    game.key("t")
    game.wait_still()
    game.click_scene(DOLLAR_ONE)
    game.key("p")
    shot = game.wait_for(lambda: (lambda s: s if s.bar_counts()[0] == 1 else None)(game.wait_still()), 10,
                         "the machine with the token bought")
    check(buttons(shot, lit) == (True, False), f"with one token bought (BET 1, BET 5) lit: {buttons(shot, lit)}")
    check(not pointer_shown(shot), "with a token the bar still points to the token counter")
    check_at_rest(game, swap_log, "one token bought, BET 1 lit again")
    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")


run(test, games)
