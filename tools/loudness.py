"""Lean sound measurements with numpy: ITU-R BS.1770 loudness (the K-weighting's two
biquads, 400 ms blocks, the absolute and the relative gate), sample peak, and the share
of energy above a frequency. Read by tools/sound_report.py and the sound test."""

import math
import struct

import numpy as np


def read_wave(path):
    """(rate, frames × channels float array, closed) of a WAVE file of 32-bit floats or
    16-bit integers. `closed`: the data chunk's size is filled in, which OpenAL Soft's
    wave back end does only when the device closes; until then the data is whatever
    follows the header."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path} is not a WAVE file")
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
            body = body[:min(size, len(body))] if closed else body
            break
        at += 8 + size
    else:
        raise ValueError(f"{path} has no data chunk")
    if fmt == 3 and bits == 32:
        samples = np.frombuffer(body[:len(body) // 4 * 4], dtype="<f4").astype(np.float64)
    elif fmt == 1 and bits == 16:
        samples = np.frombuffer(body[:len(body) // 2 * 2], dtype="<i2") / 32768.0
    else:
        raise ValueError(f"{path}: format {fmt} at {bits} bits")
    frames = len(samples) // channels
    return rate, samples[:frames * channels].reshape(frames, channels), closed


# ---------------------------------------------------------------------------------
# Loudness
# ---------------------------------------------------------------------------------


def _k_weighting(rate):
    """The two biquads (b, a) of the K-weighting at `rate`: the head's high shelf and
    the ear's high-pass, from their analogue prototypes."""
    k = math.tan(math.pi * 1681.974450955533 / rate)
    q = 0.7071752369554196
    vh = 10 ** (3.999843853973347 / 20)
    vb = vh ** 0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf = ([(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0],
             [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0])
    k = math.tan(math.pi * 38.13547087602444 / rate)
    q = 0.5003270373238773
    a0 = 1 + k / q + k * k
    high_pass = ([1.0, -2.0, 1.0], [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0])
    return shelf, high_pass


def k_weight(x, rate):
    """The K-weighted signal: both filters applied in the frequency domain, with half a
    second of padding for their responses to die away in (they do within milliseconds)."""
    n = 1 << int(math.ceil(math.log2(len(x) + rate // 2)))
    z = np.exp(-1j * np.pi * np.arange(n // 2 + 1) / (n // 2))  # e^-jw at the FFT's bins
    response = np.ones_like(z)
    for b, a in _k_weighting(rate):
        response *= (b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)
    spectrum = np.fft.rfft(x, n, axis=0) * response[:, None]
    return np.fft.irfft(spectrum, n, axis=0)[:len(x)]


def _block_powers(x, rate):
    """Mean square of each 400 ms block, every 100 ms, summed over the channels; blocks
    start before the sound so that a short sound is seen whole."""
    y = k_weight(x, rate)
    step = rate // 10
    squares = np.concatenate([np.zeros(3 * step), (y * y).sum(axis=1), np.zeros(4 * step)])
    sums = np.add.reduceat(squares[:len(squares) // step * step], np.arange(0, len(squares) // step * step, step))
    windows = np.convolve(sums, np.ones(4), mode="valid")
    return windows / (4 * step)


def lufs(power):
    return -0.691 + 10 * np.log10(np.maximum(power, 1e-30))


def momentary_max(x, rate):
    """The largest momentary loudness, LUFS."""
    return float(lufs(_block_powers(x, rate).max()))


def integrated(x, rate):
    """Integrated loudness, LUFS: blocks above -70 LUFS, then those within 10 LU of
    their mean. -inf for a silent recording."""
    power = _block_powers(x, rate)
    power = power[lufs(power) > -70.0]
    if len(power) == 0:
        return float("-inf")
    relative = lufs(power.mean()) - 10.0
    return float(lufs(power[lufs(power) > relative].mean()))


# ---------------------------------------------------------------------------------
# Peak and spectrum
# ---------------------------------------------------------------------------------


def peak_dbfs(x):
    peak = float(np.abs(x).max()) if len(x) else 0.0
    return 20 * math.log10(peak) if peak > 0 else float("-inf")


def share_above(x, rate, freq=200.0):
    """The share of the energy, all channels together, that lies above `freq`."""
    spectrum = np.abs(np.fft.rfft(x, axis=0)) ** 2
    freqs = np.fft.rfftfreq(len(x), 1.0 / rate)
    total = spectrum.sum()
    return float(spectrum[freqs > freq].sum() / total) if total > 0 else 0.0


# Bands of a spectrogram in words: their upper edges, Hz.
BANDS = (200, 500, 1000, 2000, 4000, 8000, 22050)


def band_levels(x, rate, window=0.1):
    """Per `window` seconds: the level (dBFS) of each band of BANDS, as rows."""
    size = int(window * rate)
    mono = x.mean(axis=1)
    freqs = np.fft.rfftfreq(size, 1.0 / rate)
    rows = []
    for start in range(0, len(mono) - size + 1, size):
        spectrum = np.abs(np.fft.rfft(mono[start:start + size] * np.hanning(size))) ** 2
        low, row = 0, []
        for high in BANDS:
            band = spectrum[(freqs >= low) & (freqs < high)].sum()
            row.append(10 * math.log10(max(band * 8.0 / (3.0 * size * size), 1e-12)))
            low = high
        rows.append(row)
    return rows
