"""What the real game plays, recorded by OpenAL Soft's wave-file back end: a scripted session of a loss, a pair and three of a
kind (muted for a while as its reels run), a purchase and a refused one. It is silent
at rest, as loud as a game should be (integrated loudness), never near clipping, heard
on small speakers, silent while muted, and the winnings are heard as they land in the
status bar, a loss's not at all. Without a sound device, the game is silent and its
console holds only its own lines. Leaves the recording and its marks for
tools/sound_report.py."""

import json
import os
import shutil
import sys
import time

import numpy as np

from e2elib import BET_ONE, DOLLAR_FIVE, PICTURES, Game, check, log, run, wait_for

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import loudness  # noqa: E402  (tools/loudness.py, found through the path above)

STAGE, OUT = sys.argv[1], sys.argv[2]
games = []

START_LINES = [f"trying to load {name}" for name in PICTURES] + ["perspective"]
SILENT = 1e-4  # a sample this small is silence (-80 dBFS)
LOUDNESS = (-21.0, -15.0)  # integrated, LUFS: -18 +- 3
CEILING_DB = -1.0
VOICES_READY = 3.0  # seconds after the device opens
# The fanfare's held chord: C5, E5 and G5.
CHORD = (523.25, 659.25, 783.99)


def write_config(folder, text):
    # Not alsoft.conf: OpenAL Soft also reads a file of that name beside the program.
    path = os.path.join(folder, "openal-test.conf")
    with open(path, "w") as f:
        f.write(text)
    return path


class Recording:
    """The back end's file as the game runs: frames written so far, and the samples."""

    def __init__(self, path):
        self.path = path
        rate, samples, _ = loudness.read_wave(path)
        self.rate, self.channels = rate, samples.shape[1]
        self.header = os.path.getsize(path) - samples.size * 4  # 32-bit samples after it

    def frames(self):
        """How many frames the back end has written: where the recording is now."""
        return (os.path.getsize(self.path) - self.header) // (4 * self.channels)

    def read(self):
        _, samples, closed = loudness.read_wave(self.path)
        return samples, closed


def chord_seconds(x, rate):
    """Seconds of 0.1 s windows in which the fanfare's chord holds most of the sound."""
    size = rate // 10
    mono = x.mean(axis=1)
    freqs = np.fft.rfftfreq(size, 1.0 / rate)
    bins = [int(np.argmin(np.abs(freqs - f))) for f in CHORD]
    found = 0
    for start in range(0, len(mono) - size, size):
        spectrum = np.abs(np.fft.rfft(mono[start:start + size] * np.hanning(size))) ** 2
        total = spectrum.sum()
        if total < 1e-9:
            continue
        shares = [spectrum[b - 1:b + 2].sum() / total for b in bins]
        found += min(shares) > 0.08 and sum(shares) > 0.5
    return found * 0.1


def test_session():
    game = Game(STAGE)
    games.append(game)
    wave = os.path.join(game.dir, "sound.wav")
    game.env["ALSOFT_CONF"] = write_config(game.dir, f"drivers = wave\n[wave]\nfile = {wave}\n")
    game.start()
    game.wait_ready()
    time.sleep(0.5)
    rec = Recording(wave)
    # The voices are made once the device is open, in the background (2 s in a sanitizer
    # build), and a spin is over in under 4 s: the first one waits for them.
    wait_for(lambda: rec.frames() >= VOICES_READY * rec.rate, 30, f"{VOICES_READY} s of recording")
    rest = rec.read()[0]
    check(len(rest) >= rec.rate // 2, f"after start-up only {len(rest)} frames were recorded")
    check(np.abs(rest).max() == 0.0, "the game made a sound while nobody did anything")
    log(f"at rest: {len(rest) / rec.rate:.2f} s of silence at {rec.rate} Hz")
    marks = {"rate": rec.rate}

    def spin(name, mute=False):
        """Clicks BET 1 and waits for the picture to stand still, noting where in the
        recording the click came and between which frames the picture last changed:
        the status bar shows the winnings from the frame the animation ends in."""
        clicked = rec.frames()
        game.click_scene(BET_ONE)
        if mute:
            time.sleep(0.6)  # the reels turn from 0.3 s to 2.1 s after the first step, 0.17 s after the click
            before = len(game.lines())
            game.key("m")
            marks[f"{name} muted"] = rec.frames()  # M has reached the X server
            time.sleep(0.9)
            marks[f"{name} unmuted"] = rec.frames()  # before M again is sent
            game.key("m")
            check(len(game.lines()) == before, "M printed something")
        change = {}

        def note(previous, shot):
            if not shot.same(previous):
                change["between"] = (previous.frames, shot.frames)

        shot_of = game.shot

        def shot():
            taken = shot_of()
            taken.frames = rec.frames()
            return taken

        game.shot = shot
        try:
            game.wait_still(on_shot=note)
        finally:
            game.shot = shot_of
        check("between" in change, f"the {name} spin was not seen moving")
        marks[name] = {"click": clicked, "last change": change["between"], "still": rec.frames()}
        log(f"{name}: clicked at {clicked / rec.rate:.2f} s, last change at "
            f"{change['between'][1] / rec.rate:.2f} s")

    spin("loss")
    spin("pair")
    spin("triple", mute=True)
    time.sleep(1.5)  # the triple's payout rings out
    game.key("t")
    time.sleep(0.5)
    marks["purchase"] = rec.frames()
    game.click_scene(DOLLAR_FIVE)  # 9 tokens held: five more
    time.sleep(1.0)
    marks["refusal"] = rec.frames()
    game.click_scene(DOLLAR_FIVE)  # 14 held: refused
    time.sleep(1.5)
    game.key("q")
    status = game.wait_exit(20)
    check(status == 0, f"Q ended the game with status {status}")
    check(game.lines()[:len(START_LINES)] == START_LINES, "the console does not start with the game's own lines")
    check(not any(line.startswith(("AL lib", "ALSA lib")) for line in game.lines()), "the console holds audio lines")

    x, closed = rec.read()
    check(closed, "the game ended without closing its audio device: the recording's header was never completed")
    os.makedirs(OUT, exist_ok=True)
    shutil.copy(wave, os.path.join(OUT, "session.wav"))
    with open(os.path.join(OUT, "marks.json"), "w") as f:
        json.dump(marks, f, indent=1)
    rate = rec.rate
    seconds = lambda frames: int(frames * rate)  # noqa: E731
    peak = loudness.peak_dbfs(x)
    level = loudness.integrated(x, rate)
    log(f"session: {len(x) / rate:.1f} s, integrated {level:.1f} LUFS, peak {peak:.2f} dBFS")
    check(LOUDNESS[0] <= level <= LOUDNESS[1], f"the session measures {level:.1f} LUFS, outside {LOUDNESS}")
    check(peak <= CEILING_DB, f"the sound peaks at {peak:.2f} dBFS, above {CEILING_DB} dBFS")

    # Small speakers: most of a losing spin's energy above 200 Hz.
    loss = x[marks["loss"]["click"]:marks["loss"]["still"]]
    share = loudness.share_above(loss, rate, 200.0)
    log(f"losing spin: {100 * share:.0f}% of its energy above 200 Hz")
    check(share >= 0.5, f"only {100 * share:.0f}% of a losing spin's energy lies above 200 Hz")

    # The winnings land with the last change of the picture: a payout around it for the
    # pair and the triple, silence for the loss.
    for name, won in (("loss", False), ("pair", True), ("triple", True)):
        first, last = marks[name]["last change"]
        around = x[max(0, first - seconds(0.2)):last + seconds(1.0)]
        heard = np.abs(around).max()
        log(f"{name}: loudest sample where the winnings land {heard:.4f}")
        if won:
            check(heard > 0.01, f"nothing was heard when the {name}'s winnings landed")
        else:
            check(heard < SILENT, f"a loss made a sound ({heard:.4f}) when the animation ended")

    # Muted: silence from a moment after M until M again, with the right reel still
    # running after it (it lands 0.7 s after M again, the result after that).
    muted, unmuted = marks["triple muted"], marks["triple unmuted"]
    quiet = np.abs(x[muted + seconds(0.3):unmuted - seconds(0.05)]).max()
    back = np.abs(x[unmuted + seconds(0.3):unmuted + seconds(0.6)]).max()
    log(f"muted: loudest {quiet:.6f}; after M again {back:.4f}")
    check(quiet == 0.0, f"muted, the game still played (sample {quiet:.6f})")
    check(back > 0.005, "after M again the reels' run was not heard")

    chord = chord_seconds(x[marks["triple"]["click"]:marks["triple"]["still"]], rate)
    log(f"fanfare chord for {chord:.1f} s")
    check(chord >= 0.5, "no fanfare: the chord of three of a kind was not heard for half a second")
    check(np.abs(x[marks["purchase"]:marks["refusal"]]).max() > 0.01, "the purchase made no sound")
    check(np.abs(x[marks["refusal"]:marks["refusal"] + seconds(1.0)]).max() > 0.01, "the refusal made no sound")
    check(np.abs(x[-rate // 2:]).max() == 0.0, "still sounding at rest after the session")


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
    game.key("m")
    game.key("q")
    status = game.wait_exit(20)
    check(status == 0, f"Q ended the game with status {status}")
    check(game.lines() == START_LINES + lines, "without a device the console holds more than the game's lines")
    log("no device: the game's own lines only, M and Q: status 0")


def test():
    test_no_device()
    test_session()


run(test, games)
