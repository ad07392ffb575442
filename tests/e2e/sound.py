"""What the real game plays, recorded by OpenAL Soft's wave-file back end: silence at
rest, a spin heard, the fanfare of three of a kind, no clipping, the device closed at
the end; and without a sound device, a silent game whose console holds only its own
lines."""

import array
import math
import os
import struct
import sys
import time

from e2elib import BET_ONE, PICTURES, Game, check, log, run

STAGE = sys.argv[1]
games = []

CLIP_LEVEL = 10 ** (-1 / 20)  # -1 dBFS
WINDOW = 0.1  # seconds of sound looked at together
# The held chord of the fanfare: C5, E5 and G5.
CHORD = (523.25, 659.25, 783.99)
START_LINES = [f"trying to load {name}" for name in PICTURES] + ["perspective"]


def write_config(folder, text):
    # Not alsoft.conf: OpenAL Soft also reads a file of that name beside the program.
    path = os.path.join(folder, "openal-test.conf")
    with open(path, "w") as f:
        f.write(text)
    return path


# ---------------------------------------------------------------------------------
# The recording
# ---------------------------------------------------------------------------------


def read_wave(path):
    """(rate, channels, samples, closed) of the float WAVE the back end writes. While the
    game runs the header's sizes are not yet filled in: the data is whatever follows it.
    `closed`: the device was closed, which writes the data's true size into the header."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:4] == b"RIFF" and data[8:12] == b"WAVE", f"{path} is not a WAVE file")
    at, rate, channels, bits, fmt = 12, None, None, None, None
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if kind == b"fmt ":
            fmt, channels, rate = struct.unpack("<HHI", data[at + 8:at + 16])
            bits = struct.unpack("<H", data[at + 22:at + 24])[0]
            if fmt == 0xFFFE:  # extensible: the real format is the sub-format's first word
                fmt = struct.unpack("<H", data[at + 32:at + 34])[0]
        elif kind == b"data":
            body = data[at + 8:]
            closed = size == len(body)
            break
        at += 8 + size
    else:
        raise AssertionError("no data chunk")
    check(fmt == 3 and bits == 32, f"the recording is format {fmt} at {bits} bits, expected 32-bit float")
    samples = array.array("f")
    samples.frombytes(body[:len(body) // 4 * 4])
    return rate, channels, samples, closed


def tone_share(mono, rate, freqs):
    """For one window of mono samples: the share of its energy that lies in each of the
    frequencies (Goertzel), as a list."""
    n = len(mono)
    energy = sum(x * x for x in mono) or 1e-30
    shares = []
    for freq in freqs:
        coeff = 2.0 * math.cos(2.0 * math.pi * freq / rate)
        s1 = s2 = 0.0
        for x in mono:
            s1, s2 = x + coeff * s1 - s2, s1
        power = s1 * s1 + s2 * s2 - coeff * s1 * s2  # |X(f)|^2
        shares.append(2.0 * power / n / energy)  # a pure sine at f gives 1
    return shares


def chord_windows(samples, rate, channels):
    """Indexes of the windows in which the fanfare's chord holds most of the sound."""
    size = int(WINDOW * rate)
    found = []
    frames = len(samples) // channels
    for w in range(frames // size):
        mono = [sum(samples[(w * size + i) * channels:(w * size + i + 1) * channels]) for i in range(size)]
        if max(abs(x) for x in mono) < 1e-3:
            continue
        shares = tone_share(mono, rate, CHORD)
        if min(shares) > 0.08 and sum(shares) > 0.5:
            found.append(w)
    return found


# ---------------------------------------------------------------------------------
# The tests
# ---------------------------------------------------------------------------------


def test_recorded():
    """Three quick clicks on BET 1 play a loss, a pair and three of a kind: one lever
    pull is seen, and it ends with the fanfare."""
    game = Game(STAGE)
    games.append(game)
    wave = os.path.join(game.dir, "sound.wav")
    config = write_config(game.dir, f"drivers = wave\n[wave]\nfile = {wave}\n")
    game.env["ALSOFT_CONF"] = config
    game.start()
    game.wait_ready()
    time.sleep(0.5)
    rate, channels, rest, _ = read_wave(wave)
    check(len(rest) >= channels * rate // 2, f"after start-up only {len(rest) // channels} frames were recorded")
    check(max(map(abs, rest)) == 0.0, "the game made a sound while nobody did anything")
    log(f"at rest: {len(rest) / channels / rate:.2f} s of silence at {rate} Hz")

    for _ in range(3):
        game.click_scene(BET_ONE)
    game.wait_still()  # the spin is over when the picture stands still
    time.sleep(2.0)  # the fanfare's length and then some
    game.key("q")
    status = game.wait_exit(20)
    check(status == 0, f"Q ended the game with status {status}")
    check(game.lines()[:len(START_LINES)] == START_LINES, "the console does not start with the game's own lines")
    check(not any(line.startswith(("AL lib", "ALSA lib")) for line in game.lines()), "the console holds audio lines")

    _, _, samples, closed = read_wave(wave)
    check(closed, "the game ended without closing its audio device: the recording's header was never completed")
    played = samples[len(rest):]
    peak = max(map(abs, samples))
    log(f"peak {peak:.4f} = {20 * math.log10(peak):.2f} dBFS over {len(samples) / channels / rate:.1f} s")
    check(peak < CLIP_LEVEL, f"the sound peaks at {20 * math.log10(peak):.2f} dBFS, above -1 dBFS")
    loud = sum(1 for x in played if abs(x) > 0.01) / channels / rate
    check(loud > 1.0, f"the spin was heard for only {loud:.2f} s")
    chord = chord_windows(played, rate, channels)
    log(f"fanfare chord in {len(chord)} windows of {WINDOW} s")
    check(len(chord) >= 5, "no fanfare: the chord of three of a kind was not heard for half a second")
    tail = samples[-channels * rate // 2:]
    check(max(map(abs, tail)) == 0.0, "still sounding at rest after the spin")


def test_no_device():
    """With an audio device that cannot be opened, the game plays on silently and the
    console holds only its own lines: none of OpenAL Soft's or ALSA's."""
    game = Game(STAGE)
    games.append(game)
    config = write_config(game.dir, "drivers = alsa\n[alsa]\ndevice = slot-machine-no-such-device\n")
    game.env["ALSOFT_CONF"] = config
    game.start()
    game.wait_ready()
    lines = game.click_scene(BET_ONE)
    game.key("q")
    status = game.wait_exit(20)
    check(status == 0, f"Q ended the game with status {status}")
    check(game.lines() == START_LINES + lines, "without a device the console holds more than the game's lines")
    log("no device: the game's own lines only, Q: status 0")


def test():
    test_no_device()
    test_recorded()


run(test, games)
