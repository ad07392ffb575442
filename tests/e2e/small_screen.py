"""A laptop's screen under a real window manager: on a 1366 x 768 Xvfb of its own with
openbox, the window and its frame lie wholly on screen as the largest square that fits,
the status bar shows the tokens, a click hits the button drawn, and F11 fills the screen
(where a click still hits) and gives the window back, printing nothing but the
projection notice."""

import sys

from e2elib import (OwnDisplay, bar_shows, bet_one, check, geometry, log, on_screen_with_frame, press_active, run,
                    start_ready)

STAGE = sys.argv[1]
SCREEN = (1366, 768)
games = []
display = OwnDisplay(*SCREEN)


def press(game, key):
    press_active(game, "key", key)


def test():
    number = display.start()
    display.start_openbox()
    log(f"Xvfb {SCREEN[0]} x {SCREEN[1]} on :{number} with openbox")
    game = start_ready(STAGE, games)

    window, frame, area = on_screen_with_frame(game)
    left, top, width, height = window
    frame_left, frame_right, frame_top, frame_bottom = frame
    _, _, area_width, area_height = area
    outer = (left - frame_left, top - frame_top, left + width + frame_right, top + height + frame_bottom)
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
        display.stop()


if __name__ == "__main__":
    main()
