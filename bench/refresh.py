#!/usr/bin/env python3
"""The game's timing on displays of different refresh rates, measured from outside: the
game runs under libslot-swap-log.so, which holds each buffer swap to the next tick of an
emulated refresh and logs every swap with hashes of the lever's knob, of each reel and
of the first ticket stub as drawn. For each rate, a fresh game plays two spins with
BET 1 (a loss, then a pair); of the second it reports the wall time from the press to
the first step (the lever, which the press put back from its rest to 0, rises), to
each reel's landing (its last change) and to the settled spin (the ticket in the
bar), the frames and processor seconds it took, and then the frames and processor
seconds of 10 s at rest after it, on a loser's prize counter and on the token counter
after the prize counter.

Usage (under the X display in DISPLAY, with the release build's stage and the shim):
  bench/refresh.py [--rates none,30,60,144] [--rest 10] [--rounds 1] SHIM STAGE [STAGE ...]
Several stages (for instance a build before and after a change) are measured in turn at
each rate. LP_NUM_THREADS is 1 unless set."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2elib import (BET_ONE, LEVER_KNOB, SPIN_STEPS, Game, SwapLog, check, project, stub_point,  # noqa: E402
                    threads_cpu_seconds, wait_for)

# Root pixels (left, top, width, height) inside each reel's window: left, centre, right.
REELS = [(497, 420, 60, 120), (595, 420, 60, 120), (690, 420, 60, 120)]
LEVER, STUB = 3, 4  # the hashes after the reels'


def watched():
    """The three reels, the lever's knob at rest and the first ticket stub, hashed in
    this order in each swap."""
    spots = [project(*LEVER_KNOB), project(*stub_point(0))]
    return REELS + [(x - 2, y - 2, 5, 5) for x, y in spots]


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
                    if swap[2][STUB] != stub_before:
                        return swap
                return None
            return wait_for(ticket_shown, 120, "the spin's ticket in the bar", poll=0.02)

        # The first spin, a loss, leaves the bar as it was: rest until the picture stands.
        game.click_scene(BET_ONE)
        game.wait_still(quiet=1.5)

        # The second spin, a pair: its ticket shows when the spin is over.
        swaps = log.swaps()
        count, stub_before = len(swaps), swaps[-1][2][STUB]
        cpu_before = threads_cpu_seconds(pid)
        # From just before the click is sent: the figures hold xdotool's few milliseconds.
        pressed = time.monotonic()
        game.click(*project(*BET_ONE))
        settled = settle(count, stub_before)
        cpu_spin = threads_cpu_seconds(pid) - cpu_before
        spin = [s for s in log.swaps()[count:] if s[0] <= settled[0]]

        def changes(i):
            return [b[0] - pressed for a, b in zip([swaps[-1]] + spin, spin) if a[2][i] != b[2][i]]

        check(len(changes(LEVER)) > 1, "the lever never rose")
        result["first step"] = changes(LEVER)[1]  # after the press's own frame
        for i, name in enumerate(("left lands", "centre lands", "lands")):
            check(changes(i), f"reel {i} never moved")
            result[name] = changes(i)[-1]
        result["settled"] = settled[0] - pressed
        result["spin frames"] = len(spin)
        result["spin cpu"] = cpu_spin

        def at_rest(name):
            time.sleep(1.0)
            frames, cpu = len(log.swaps()), threads_cpu_seconds(pid)
            time.sleep(rest)
            result[name + " frames"] = len(log.swaps()) - frames
            result[name + " cpu"] = threads_cpu_seconds(pid) - cpu

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
    print(f"| stage | refresh | first step, left and centre reels land (s) | right reel lands (s) | spin settled (s) "
          f"| frames per spin (per step) | cpu s per spin | at rest after a spin: frames, cpu s per {rest} "
          f"| loser's prize counter | token counter after S |")
    print("| --- | --- | --- | --- | --- | --- | --- | --- | --- | --- |")
    for stage, label, r in rows:
        print(f"| {os.path.basename(os.path.normpath(stage))} | {label} "
              f"| {r['first step']:.2f}, {r['left lands']:.2f}, {r['centre lands']:.2f} | {r['lands']:.2f} "
              f"| {r['settled']:.2f} "
              f"| {r['spin frames']} ({r['spin frames'] / SPIN_STEPS:.2f}) | {r['spin cpu']:.2f} "
              f"| {r['after spin frames']}, {r['after spin cpu']:.2f} | {r['loser prize frames']}, "
              f"{r['loser prize cpu']:.2f} | {r['tokens after prize frames']}, {r['tokens after prize cpu']:.2f} |")


if __name__ == "__main__":
    main()
