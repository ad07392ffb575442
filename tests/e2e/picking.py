"""Clicking the machine as drawn: the bet-one button, the lever knob and the bare
backdrop, in the perspective and the orthographic view, with the console lines of
each press and the machine moving while the spin it starts runs."""

import sys
import time

from e2elib import (BACKDROP_ONLY, BET_ONE, MACHINE_AREA, Failure, Game, check, log, project, project_rect,
                    run, run_tool)

STAGE = sys.argv[1]
games = []

# A point on the lever knob at rest that both views show: the knob is centred at
# x 2.025, but the orthographic view ends at x 2.
LEVER_KNOB = (1.85, 1.275, 0.0)
RECORD = "the name of the object(s) hit: "


def names_hit(lines):
    """The names of the hit records, checking the console format on the way."""
    check(lines[0] == f"number of hits {len(lines) - 1}", f"hit count line {lines[0]!r} for {len(lines) - 1} records")
    names = []
    for line in lines[1:]:
        check(line.startswith(RECORD) and line.endswith(" "), f"hit record line {line!r}")
        fields = line[len(RECORD):].split()
        check(len(fields) == 1, f"a record with {len(fields)} names: {line!r}")
        names.append(int(fields[0]))
    return names


def spin_by_click(game, point, view, name):
    """Clicks a part that plays a spin; the records must be the backdrop's and the
    part's, and the machine must move and come to rest again."""
    lines = game.click_scene(point, view)
    names = names_hit(lines)
    check(sorted(names) == [-1, name], f"a click on part {name} hit {names}")
    area = project_rect(*MACHINE_AREA, view=view)
    moved = []
    game.wait_still(on_shot=lambda a, b: moved.append(not a.same(b, area)))
    check(any(moved), f"the machine did not move after a click on part {name}")
    log(f"{view}: click on part {name} at {project(*point, view=view)}: {lines[1:]}, machine moved "
        f"in {sum(moved)} of {len(moved)} shot pairs, then stood still")


def backdrop_click(game, view):
    before = game.shot()
    lines = game.click_scene(BACKDROP_ONLY, view)
    check(names_hit(lines) == [-1], f"a click on the bare backdrop printed {lines}")
    time.sleep(0.5)
    check(game.wait_still().same(before), "a click on the bare backdrop changed the picture")
    log(f"{view}: click on the backdrop at {project(*BACKDROP_ONLY, view=view)}: {lines[1:]}, nothing moved")


def other_buttons(game, view):
    before = game.shot()
    count = len(game.lines())
    px, py = project(*BET_ONE, view=view)
    for button in ("3", "2"):
        code, _, err = run_tool("xdotool", "mousemove", str(px), str(py), "click", button)
        check(code == 0, "xdotool click failed: " + err)
    time.sleep(0.5)
    check(len(game.lines()) == count, f"right or middle click printed {game.lines()[count:]}")
    check(game.wait_still().same(before), "a right or middle click on bet-one changed the picture")
    log(f"{view}: right and middle clicks on bet-one do nothing")


def test():
    game = Game(STAGE)
    games.append(game)
    game.start()
    rest = game.wait_ready()
    for view in ("persp", "ortho"):
        if view == "ortho":
            game.key("v")
            game.wait_for(lambda: not game.shot().same(rest), 10, "the orthographic view to be drawn")
            game.wait_still()
        other_buttons(game, view)
        spin_by_click(game, BET_ONE, view, 6)
        spin_by_click(game, LEVER_KNOB, view, 5)
        backdrop_click(game, view)
    game.key("q")
    check(game.wait_exit() == 0, f"q ended the game with status {game.status}")


run(test, games)
