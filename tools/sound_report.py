#!/usr/bin/env python3
"""The figures of the game's sound, measured as a sound designer would.

    tools/sound_report.py SOUNDS [SESSION]

SOUNDS is a folder written by write-sounds (build/release/tools/write-sounds FOLDER):
for each sound, its length, sample peak, largest momentary loudness, the share of its
energy above 200 Hz, and the spread of the variants of the repeated ones. SESSION is
the folder the end-to-end sound test leaves (build/release/tests/e2e/sound, after
`ctest --preset release -R e2e_sound`): the session's integrated loudness and peak, the
losing spin's share above 200 Hz, the muted stretch, and a spectrogram of the losing
and the winning spins as rows of band levels, one row per 0.1 s."""

import glob
import json
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import loudness  # noqa: E402


def sounds(folder):
    print(f"{'sound':16} {'length s':>8} {'peak dBFS':>9} {'M max LUFS':>10} {'>200 Hz':>8}  variants")
    for path in sorted(glob.glob(os.path.join(folder, "*.wav"))):
        name = os.path.basename(path)[:-4]
        if "." in name:
            continue  # a variant, summarised with its first
        rate, x, _ = loudness.read_wave(path)
        variants = sorted(glob.glob(os.path.join(folder, name + ".*.wav")))
        spread = ""
        if variants:
            levels = [loudness.momentary_max(loudness.read_wave(v)[1], rate) for v in [path] + variants]
            peaks = [loudness.peak_dbfs(loudness.read_wave(v)[1]) for v in [path] + variants]
            spread = (f"{len(levels)}: M {min(levels):.1f}..{max(levels):.1f}, "
                      f"peak {min(peaks):.1f}..{max(peaks):.1f}")
        print(f"{name:16} {len(x) / rate:8.3f} {loudness.peak_dbfs(x):9.1f} {loudness.momentary_max(x, rate):10.1f} "
              f"{100 * loudness.share_above(x, rate):7.0f}%  {spread}")


def spectrogram(x, rate, start, title):
    """One row per 0.1 s: the time from the click and each band's level as a digit, 0
    for -70 dBFS or less up to 9 for -16 dBFS or more (6 dB a step)."""
    print(f"\n{title}: band levels every 0.1 s from the click (digit d = -70 + 6 d dBFS and up)")
    low = 0
    heads = []
    for high in loudness.BANDS:
        heads.append(f"{low}-{high}" if high < 22050 else f">{low}")
        low = high
    print("    s  " + " ".join(f"{h:>9}" for h in heads) + "   momentary LUFS")
    rows = loudness.band_levels(x, rate)
    momentary = loudness.lufs(loudness._block_powers(x, rate))  # the 400 ms ending with each row
    for k, row in enumerate(rows):
        digits = [max(0, min(9, int((level + 70) // 6))) for level in row]
        m = momentary[k] if k < len(momentary) else float("-inf")
        print(f"{start + k * 0.1:5.1f}  " + " ".join(f"{d:>9}" for d in digits) + f"   {m:6.1f}")


def session(folder):
    rate, x, _ = loudness.read_wave(os.path.join(folder, "session.wav"))
    with open(os.path.join(folder, "marks.json")) as f:
        marks = json.load(f)
    print(f"\nsession: {len(x) / rate:.1f} s, integrated {loudness.integrated(x, rate):.1f} LUFS, "
          f"peak {loudness.peak_dbfs(x):.2f} dBFS")
    for name in ("loss", "pair", "triple"):
        m = marks[name]
        part = x[m["click"]:m["still"]]
        print(f"{name:7} spin: {len(part) / rate:.1f} s from click to still, integrated "
              f"{loudness.integrated(part, rate):.1f} LUFS, largest momentary {loudness.momentary_max(part, rate):.1f} "
              f"LUFS, {100 * loudness.share_above(part, rate):.0f}% of its energy above 200 Hz")
    muted = x[marks["triple muted"]:marks["triple unmuted"]]
    silent = np.flatnonzero(np.abs(muted).max(axis=1) == 0.0)
    if len(silent):
        print(f"muted: silent {silent[0] / rate * 1000:.0f} ms after the key, for {len(silent) / rate:.2f} s "
              f"of the {len(muted) / rate:.2f} s until M again")
    for name in ("loss", "triple"):
        m = marks[name]
        spectrogram(x[m["click"]:m["still"]], rate, 0.0, f"{name} spin")


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    sounds(sys.argv[1])
    if len(sys.argv) == 3:
        session(sys.argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
