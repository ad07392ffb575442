#!/usr/bin/env python3
"""Figures of the sound device's life, measured on the real game under the X display in
DISPLAY, with a PulseAudio server of the script's own where one is needed:

  stall   the longest the game took to answer a key while its server hung from the
          start (SIGSTOP), over 40 s: the pulse client's own wait is 30 s. Every 0.2 s
          V is pressed twice, which prints one "perspective"; the answer is that line.
  return  the time from a server's start to the game's stream on it (the device open)
          and to the first sound heard from the game: once for a server started after
          the game, then for a server killed and started again, five times. BET ONE is
          clicked every 0.25 s (a spin, or the buzz). A null sink renders its first 2 s
          in one block, so nothing can be heard from it sooner.
  rest    the CPU seconds the game uses over 60 s at rest without a sound device: once
          with OpenAL Soft told to use a server that is not there, once with the
          machine's own configuration.

Usage: bench/audio_device.py STAGE_DIR stall|return|rest   (LP_NUM_THREADS=1 is set)"""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from e2elib import BET_ONE, Game  # noqa: E402
from pulse import SoundServer  # noqa: E402

os.environ.setdefault("LP_NUM_THREADS", "1")


def game_on(stage, server_env, config="drivers = pulse\n"):
    game = Game(stage)
    if config is not None:
        path = os.path.join(game.dir, "openal-bench.conf")
        with open(path, "w") as f:
            f.write(config)
        game.env["ALSOFT_CONF"] = path
    if server_env:
        game.env["PULSE_SERVER"] = server_env
    return game


def stall(stage):
    server = SoundServer()
    game = game_on(stage, server.client_env["PULSE_SERVER"])
    try:
        server.start()
        server.stop()
        game.start()
        game.wait_ready()
        answers = []  # (seconds since the first frame, time to answer)
        ready = time.monotonic()
        while time.monotonic() < ready + 40:
            want = len(game.lines()) + 1
            pressed = time.monotonic()
            game.key("v")
            game.key("v")
            game.wait_lines(want, timeout=60)
            answers.append((pressed - ready, time.monotonic() - pressed))
            time.sleep(0.2)
        took = [a for _, a in answers]
        slowest = sorted(answers, key=lambda a: -a[1])[:3]
        print(f"stall: {len(answers)} answers while the server hung: longest {max(took) * 1000:.0f} ms, "
              f"median {statistics.median(took) * 1000:.0f} ms (two xdotool keys and the console poll included); "
              f"slowest at {', '.join(f'{t:.1f} s: {a * 1000:.0f} ms' for t, a in slowest)}")
    finally:
        game.cleanup(keep=False)
        server.cleanup()


def heard_after(game, server, since, timeout=30):
    """(stream, heard): seconds from `since` to the game's stream on the server and to
    the first sound heard; the stream None where its event came before the watcher."""
    end = since + timeout
    while time.monotonic() < end:
        game.click_scene(BET_ONE)
        until = time.monotonic() + 0.25
        while time.monotonic() < until:
            heard = server.heard_since(since)
            if heard is not None:
                stream = server.stream_since(since)
                return (None if stream is None else stream - since), heard - since
            time.sleep(0.02)
    raise RuntimeError(f"not heard within {timeout} s")


def seconds(pair):
    stream, heard = pair
    return f"{'?' if stream is None else f'{stream:.2f}'}/{heard:.2f}"


def return_(stage):
    server = SoundServer()
    game = game_on(stage, server.client_env["PULSE_SERVER"])
    try:
        game.start()
        game.wait_ready()
        time.sleep(3)
        late = heard_after(game, server, server.start())
        print(f"return: server started after the game: stream/first sound {seconds(late)} s after its start")
        times = []
        for round_ in range(5):
            game.wait_still()
            server.kill()
            # The loss noticed and the tries under way; the server back at another point
            # of the 2 s between two tries each round.
            time.sleep(3 + 0.4 * round_)
            times.append(heard_after(game, server, server.start()))
        streams = [t for t, _ in times if t is not None]
        print(f"return: server killed and started again: stream/first sound after "
              f"{', '.join(seconds(t) for t in times)} s (median stream "
              f"{statistics.median(streams) if streams else float('nan'):.2f} s, "
              f"heard {statistics.median(h for _, h in times):.2f} s)")
    finally:
        game.cleanup(keep=False)
        server.cleanup()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def rest(stage):
    for label, server_env, config in (("a server that is not there", "unix:/nonexistent/slot-bench", "drivers = pulse\n"),
                                      ("the machine's own configuration", None, None)):
        game = game_on(stage, server_env, config)
        try:
            game.start()
            game.wait_ready()
            time.sleep(5)
            before = cpu_seconds(game.proc.pid)
            time.sleep(60)
            used = cpu_seconds(game.proc.pid) - before
            print(f"rest: no device ({label}): {used:.2f} CPU s over 60 s")
        finally:
            game.cleanup(keep=False)


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("stall", "return", "rest"):
        sys.exit(__doc__)
    {"stall": stall, "return": return_, "rest": rest}[sys.argv[2]](sys.argv[1])


main()
