"""Start-up of the real game: the console lines of loading, the window, the projection
key's notice, the quit key, and the end of the program when a picture is missing or is
a FIFO."""

import os
import re
import sys
import time

from e2elib import PICTURES, WINDOW_TITLE, Failure, Game, check, log, run, run_tool

STAGE = sys.argv[1]
games = []


def window_geometry():
    code, out, err = run_tool("xwininfo", "-name", WINDOW_TITLE)
    check(code == 0, f"xwininfo finds no window titled {WINDOW_TITLE!r}: {err.strip()}")
    fields = {}
    for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height", "Map State"):
        m = re.search(rf"^\s*{key}:\s*(\S+)", out, re.M)
        check(m, f"xwininfo printed no {key!r}:\n{out}")
        fields[key] = m.group(1)
    return fields


def test_start_and_keys():
    game = Game(STAGE)
    games.append(game)
    game.start()
    first = game.wait_ready()

    expected = [f"trying to load {name}" for name in PICTURES] + ["perspective"]
    check(game.lines() == expected, f"start-up console is not the nineteen load lines then 'perspective'")
    log("console at start: nineteen load lines in slot order, then 'perspective'")

    geometry = window_geometry()
    want = {"Absolute upper-left X": "100", "Absolute upper-left Y": "100", "Width": "900", "Height": "900",
            "Map State": "IsViewable"}
    check(geometry == want, f"window geometry {geometry}, expected {want}")
    log(f"window {WINDOW_TITLE!r}: 900 x 900 at (100, 100)")

    # To the orthographic view: the picture changes, nothing is printed.
    game.key("v")
    game.wait_for(lambda: not game.shot().same(first), 10, "the orthographic view to be drawn")
    ortho = game.wait_still()
    time.sleep(0.3)
    check(game.lines() == expected, "switching to the orthographic view printed something")
    log("V once: the view changes, no new line")

    # Back to perspective: one more notice, and the very same picture as at start.
    game.key("v")
    lines = game.wait_lines(len(expected) + 1, what="the notice of the perspective view")
    check(lines[len(expected):] == ["perspective"], f"V twice printed {lines[len(expected):]}")
    back = game.wait_still()
    check(not back.same(ortho), "the second V did not change the view back")
    check(back.same(first), "the perspective view after V twice differs from the view at start")
    time.sleep(0.3)
    check(len(game.lines()) == len(expected) + 1, f"more lines after V twice: {game.lines()[len(expected):]}")
    log("V twice: one more 'perspective', the start picture again")

    game.key("Q")
    status = game.wait_exit(20)
    check(status == 0, f"Q ended the game with status {status}")
    check(len(game.lines()) == len(expected) + 1, f"Q printed {game.lines()[len(expected) + 1:]}")
    log("Q: exit status 0")


def expect_refused(name, what, prepare=None):
    """The game started with picture `name` left out (and `prepare` run on its folder)
    prints the load lines up to that picture, 'File Not Found', and ends with status 1."""
    game = Game(STAGE, leave_out={name})
    games.append(game)
    if prepare:
        prepare(os.path.join(game.dir, name))
    game.start()
    status = game.wait_exit(30)
    count = PICTURES.index(name) + 1
    expected = [f"trying to load {picture}" for picture in PICTURES[:count]] + [f"File Not Found : {name}"]
    check(game.console() == "\n".join(expected) + "\n",
          f"{what}: the console is not the first {count} load lines and 'File Not Found : {name}'")
    check(status == 1, f"{what}: the game ended with status {status}, expected 1")
    log(f"{what}: {count} load lines, 'File Not Found : {name}', status 1")


def test_missing_picture():
    expect_refused("ticket.bmp", "without ticket.bmp")


def test_fifo_picture():
    """A FIFO no one writes to, named like a picture, is refused at once as a file that
    cannot be opened: reading it would keep the game waiting for ever."""
    expect_refused("coin.bmp", "a FIFO for coin.bmp", os.mkfifo)


def test():
    test_start_and_keys()
    test_missing_picture()
    test_fifo_picture()


run(test, games)
