"""The game against a real PulseAudio server of the test's own (a null sink recorded from
its monitor with parec, a private socket), through OpenAL Soft's pulse back end: the
server killed mid-spin and started again, a server started after the game, a server
stopped before the game starts and stopped again while it plays, and the window closed
while the device is still opening. In each the game answers at once, is heard once the
server is there, prints only its own lines and quits with status 0."""

import os
import sys
import time

from e2elib import BET_ONE, MACHINE_AREA, PICTURES, Failure, Game, check, log, project_rect, run, wait_for
from pulse import SoundServer

STAGE = sys.argv[1]
games = []
servers = []

START_LINES = [f"trying to load {name}" for name in PICTURES] + ["perspective"]
MACHINE_RECT = project_rect(*MACHINE_AREA)


# ---------------------------------------------------------------------------------
# The game on the server
# ---------------------------------------------------------------------------------


class Session:
    """One game told to play on the server through OpenAL Soft's pulse back end, and the
    console lines its clicks are to print."""

    def __init__(self, server):
        self.game = Game(STAGE)
        games.append(self.game)
        config = os.path.join(self.game.dir, "openal-test.conf")
        with open(config, "w") as f:
            f.write("drivers = pulse\n")
        self.game.env.update(ALSOFT_CONF=config, PULSE_SERVER=server.client_env["PULSE_SERVER"])
        self.server = server
        self.expected = list(START_LINES)

    def start(self):
        self.game.start()
        self.game.wait_ready()

    def press(self):
        """Clicks bet-one (a spin, or the buzz with no token left); returns how long the
        game took to answer on its console."""
        clicked = time.monotonic()
        self.expected += self.game.click_scene(BET_ONE)
        return time.monotonic() - clicked

    def press_until_heard(self, since, timeout, gap=1.0):
        """Presses bet-one every `gap` seconds until the server hears the game; returns when
        it first did, counted from `since`."""
        end = since + timeout
        while True:
            self.press()
            pressed = time.monotonic()
            while time.monotonic() < min(pressed + gap, end):
                heard = self.server.heard_since(since)
                if heard is not None:
                    return heard - since
                time.sleep(0.05)
            if time.monotonic() >= end:
                raise Failure(f"the game was not heard within {timeout} s")

    def quit(self, within=5.0):
        """Q; checks status 0 within `within` seconds and the console's lines."""
        pressed = time.monotonic()
        self.game.key("q")
        status = self.game.wait_exit(30)
        took = time.monotonic() - pressed
        check(status == 0, f"Q ended the game with status {status}")
        check(took < within, f"Q took {took:.1f} s to end the game")
        self.check_console()
        return took

    def check_console(self):
        lines = self.game.lines()
        check(lines == self.expected, f"the console holds other lines than the game's: {lines[len(START_LINES):]}")


def new_server():
    server = SoundServer()
    servers.append(server)
    return server


# ---------------------------------------------------------------------------------
# The tests
# ---------------------------------------------------------------------------------


def test_killed_mid_spin():
    """Killed while the reels run, the server takes the sound with it, not the game; once
    it is back a spin is heard within 5 s."""
    server = new_server()
    session = Session(server)
    started = server.start()
    session.start()
    took = session.press_until_heard(started, 20)
    log(f"server up: the first spin heard {took:.1f} s after the server started")
    session.game.wait_still()

    since = time.monotonic()
    session.press()
    wait_for(lambda: server.heard_since(since), 10, "the spin to be heard")
    before = session.game.shot()
    server.kill()
    killed = time.monotonic()
    # The spin goes on without its sound: the picture still moves, then comes to rest.
    session.game.wait_for(lambda: not session.game.shot().same(before, MACHINE_RECT), 5,
                          "the machine to move on after the server was killed")
    session.game.wait_still()
    log(f"server killed mid-spin: the spin went on and ended {time.monotonic() - killed:.1f} s later")

    back = server.start()
    took = session.press_until_heard(back, 5)
    log(f"server back: a spin heard {took:.1f} s after its return")
    session.game.wait_still()
    session.quit()
    log("killed mid-spin and back: only the game's lines, Q: status 0")


def test_started_after_the_game():
    """A server that starts after the game is used once it is there."""
    server = new_server()
    session = Session(server)
    session.start()
    session.press()
    session.game.wait_still()
    started = server.start()
    took = session.press_until_heard(started, 15)
    log(f"server started after the game: heard {took:.1f} s after it started")
    session.game.wait_still()
    session.quit()
    log("server started after the game: only the game's lines, Q: status 0")


def test_stopped_before_the_game():
    """A server that hangs from the start: the first frame, every press and Q are answered
    at once; the game is heard once the server resumes, and Q ends it while the server
    hangs again under the open device."""
    server = new_server()
    session = Session(server)
    server.start()
    server.stop()
    session.start()
    answers = [session.press()]
    session.game.wait_still()
    answers.append(session.press())
    session.game.wait_still()
    check(max(answers) < 3.0, f"presses answered in {answers} s while the server hangs")
    log(f"server stopped: presses answered in {', '.join(f'{a:.2f}' for a in answers)} s")

    resumed = time.monotonic()
    server.resume()
    took = session.press_until_heard(resumed, 45)
    log(f"server resumed: heard {took:.1f} s later")
    session.game.wait_still()

    server.stop()
    answer = session.press()
    check(answer < 3.0, f"a press took {answer:.2f} s to answer while the server hangs under the open device")
    session.game.wait_still()
    took = session.quit()
    log(f"server stopped under the open device: a press answered in {answer:.2f} s, "
        f"Q ended the game with status 0 in {took:.2f} s")
    server.resume()


def test_closed_while_opening():
    """The window closed while the device waits for a hung server ends the game with 0."""
    server = new_server()
    session = Session(server)
    server.start()
    server.stop()
    session.start()
    closed = time.monotonic()
    session.game.close()
    status = session.game.wait_exit(30)
    took = time.monotonic() - closed
    check(status == 0, f"closing the window ended the game with status {status}")
    check(took < 5.0, f"closing the window took {took:.1f} s to end the game")
    session.check_console()
    log(f"window closed while the device opens: status 0 in {took:.2f} s")
    server.resume()


def test():
    test_killed_mid_spin()
    test_started_after_the_game()
    test_stopped_before_the_game()
    test_closed_while_opening()


try:
    run(test, games)
finally:
    for s in servers:
        s.cleanup()
