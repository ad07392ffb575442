#!/usr/bin/env python3
"""The game's timing on displays of different refresh rates, measured from outside: the
game runs under libslot-swap-log.so, which holds each buffer swap to the next tick of an
emulated refresh and logs every swap with hashes of the right reel and of the first
ticket stub as drawn. For each rate, a fresh game plays two spins with BET 1 (a loss,
then a pair); of the second it reports the wall time from the press to the right reel's
landing (its last change) and to the settled spin (the ticket in the bar), the frames
and processor seconds it took, and then the frames and processor seconds of 10 s at
rest after it, on a loser's prize counter and on the token counter after the prize
counter.

Usage (under the X display in DISPLAY, with the release build's stage and the shim):
  bench/refresh.py [--rates none,30,60,144] [--rest 10] [--rounds 1] SHIM STAGE [STAGE ...]
Several stages (for instance a build before and after a change) are measured in turn at
each rate. LP_NUM_THREADS is 1 unless set."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2elib import BET_ONE, Game, SwapLog, check, project, stub_point, wait_for  # noqa: E402

SPIN_STEPS = 432
RIGHT_REEL = (690, 420, 60, 120)  # root pixels (left, top, width, height) inside the right reel's window


def watched():
    """The right reel and the first ticket stub: hashes 0 and 1 of each swap."""
    sx, sy = project(*stub_point(0))
    return [RIGHT_REEL, (sx - 2, sy - 2, 5, 5)]


def cpu_seconds(pid):
    """Time on a processor of all the process's threads (llvmpipe's too), to the nanosecond."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended between the listing and the read
    return total / 1e9


def measure(stage, shim, rate, rest):
    game = Game(stage)
    log = SwapLog(os.path.join(game.dir, "swaps.log"))
    # No sound device: the figures are the game's own, whatever sound server the machine has.
    audio_config = os.path.join(game.dir, "openal-bench.conf")
    with open(audio_config, "w") as f:
        f.write("drivers = alsa\n[alsa]\ndevice = slot-machine-no-such-device\n")
    log.preload(game, shim, watched(), rate)
    game.env.update({
        "ALSOFT_CONF": audio_config,
        "LP_NUM_THREADS": os.environ.get("LP_NUM_THREADS", "1"),
    })
    result = {}
    try:
        game.start()
        game.wait_ready()
        pid = game.proc.pid

        def settle(before_count, stub_before):
            def ticket_shown():
                for swap in log.swaps()[before_count:]:
                    if swap[2][1] != stub_before:
                        return swap
                return None
            return wait_for(ticket_shown, 120, "the spin's ticket in the bar", poll=0.02)

        # The first spin, a loss, leaves the bar as it was: rest until the picture stands.
        game.click_scene(BET_ONE)
        game.wait_still(quiet=1.5)

        # The second spin, a pair: its ticket shows when the spin is over.
        swaps = log.swaps()
        count, stub_before = len(swaps), swaps[-1][2][1]
        cpu_before = cpu_seconds(pid)
        # From just before the click is sent: the figures hold xdotool's few milliseconds.
        pressed = time.monotonic()
        game.click(*project(*BET_ONE))
        settled = settle(count, stub_before)
        cpu_spin = cpu_seconds(pid) - cpu_before
        spin = [s for s in log.swaps()[count:] if s[0] <= settled[0]]
        reel_changes = [b for a, b in zip([swaps[-1]] + spin, spin) if a[2][0] != b[2][0]]
        check(reel_changes, "the right reel never moved")
        result["lands"] = reel_changes[-1][0] - pressed
        result["settled"] = settled[0] - pressed
        result["spin frames"] = len(spin)
        result["spin cpu"] = cpu_spin

        def at_rest(name):
            time.sleep(1.0)
            frames, cpu = len(log.swaps()), cpu_seconds(pid)
            time.sleep(rest)
            result[name + " frames"] = len(log.swaps()) - frames
            result[name + " cpu"] = cpu_seconds(pid) - cpu

        at_rest("after spin")
        game.key("s")  # one ticket: the loser's counter
        at_rest("loser prize")
        game.key("t")
        at_rest("tokens after prize")
        game.key("q")
        game.wait_exit()
    finally:
        game.cleanup(keep=False)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rates", default="none,30,60,144")
    parser.add_argument("--rest", type=float, default=10.0)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("shim")
    parser.add_argument("stages", nargs="+")
    args = parser.parse_args()
    shim = os.path.abspath(args.shim)
    rates = [None if r == "none" else float(r) for r in args.rates.split(",")]
    rows = []
    for round_ in range(args.rounds):
        for rate in rates:
            for stage in args.stages:
                r = measure(os.path.abspath(stage), shim, rate, args.rest)
                label = "none" if rate is None else f"{rate:g} Hz"
                rows.append((stage, label, r))
                print(f"{stage} {label} round {round_ + 1}: " + ", ".join(f"{k} {v:.2f}" if isinstance(v, float)
                      else f"{k} {v}" for k, v in r.items()), file=sys.stderr, flush=True)
    rest = f"{args.rest:g} s"
    print(f"| stage | refresh | right reel lands (s) | spin settled (s) | frames per spin (per step) | cpu s per spin "
          f"| at rest after a spin: frames, cpu s per {rest} | loser's prize counter | token counter after S |")
    print("| --- | --- | --- | --- | --- | --- | --- | --- | --- |")
    for stage, label, r in rows:
        print(f"| {os.path.basename(os.path.normpath(stage))} | {label} | {r['lands']:.2f} | {r['settled']:.2f} "
              f"| {r['spin frames']} ({r['spin frames'] / SPIN_STEPS:.2f}) | {r['spin cpu']:.2f} "
              f"| {r['after spin frames']}, {r['after spin cpu']:.2f} | {r['loser prize frames']}, "
              f"{r['loser prize cpu']:.2f} | {r['tokens after prize frames']}, {r['tokens after prize cpu']:.2f} |")


if __name__ == "__main__":
    main()
