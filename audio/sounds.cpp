// Synthesis of the machine's sounds: decaying sine partials, filtered noise bursts and
// enveloped harmonic tones, mixed in mono, then scaled to their level and panned.
#include "audio/sounds.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// ---------------------------------------------------------------------------------
// Building blocks
// ---------------------------------------------------------------------------------

using Wave = std::vector<float>;

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;
constexpr double Silent = 1e-4;   // a decay that has fallen this far is over
constexpr double FadeOut = 0.04;  // seconds

size_t framesOf(double seconds) { return static_cast<size_t>(std::lround(seconds * SampleRate)); }

// Adds a sine partial struck at `start` that rises over `attack` and decays with time
// constant `decay` (seconds). The sine comes from the two-term recurrence
// sin(k w) = 2 cos(w) sin((k - 1) w) - sin((k - 2) w), which needs no sine per sample.
void addPartial(Wave& w, double start, double freq, double amp, double decay, double attack = 0.002) {
    const size_t first = framesOf(start);
    const double step = TwoPi * freq / SampleRate;
    const double twoCos = 2.0 * std::cos(step);
    const double fall = std::exp(-1.0 / (decay * SampleRate));
    const double attackFrames = attack * SampleRate;
    double sinNow = 0.0;
    double sinBefore = -std::sin(step);
    double env = amp;
    for (size_t i = first; i < w.size() && env > Silent * amp; ++i) {
        const double k = static_cast<double>(i - first);
        const double rise = k < attackFrames ? k / attackFrames : 1.0;
        w[i] += static_cast<float>(env * rise * sinNow);
        const double next = twoCos * sinNow - sinBefore;
        sinBefore = sinNow;
        sinNow = next;
        env *= fall;
    }
}

// The noise source: a linear congruential generator, so every start makes the same sound.
struct Noise {
    uint32_t state = 22222u;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// A resonant band-pass filter (the usual biquad, constant peak gain).
struct BandPass {
    double b0, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    BandPass(double freq, double q) {
        const double w = TwoPi * freq / SampleRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double step(double x) {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Adds a burst of noise through a band-pass around `freq`, decaying with `decay`: the
// click of hard parts meeting.
void addClick(Wave& w, Noise& noise, double start, double freq, double q, double amp, double decay) {
    BandPass filter(freq, q);
    const size_t first = framesOf(start);
    const size_t length = framesOf(decay * 12.0);  // long enough for the filter to ring out
    const double fall = std::exp(-1.0 / (decay * SampleRate));
    double env = amp;
    for (size_t i = first; i < w.size() && i < first + length; ++i) {
        w[i] += static_cast<float>(filter.step(env * noise.next()));
        env *= fall;
    }
}

// Attack, decay to a sustain level, hold, release: the gain of a played note at time t.
struct Envelope {
    double attack, decay, sustain, length, release;
    double at(double t) const {
        if (t < attack) return t / attack;
        if (t < attack + decay) return 1.0 - (1.0 - sustain) * (t - attack) / decay;
        if (t < length) return sustain;
        if (t < length + release) return sustain * (1.0 - (t - length) / release);
        return 0.0;
    }
};

// Adds a harmonic tone with amplitudes falling as 1/n^tilt: brass for a small tilt, a
// buzz for a lower pitch. `vibrato` is the depth of a 5.5 Hz pitch wobble that sets in
// after the attack.
constexpr int MaxHarmonics = 12;

void addTone(Wave& w, double start, double freq, double amp, const Envelope& env, int harmonics, double tilt,
             double vibrato = 0.0) {
    double weight[MaxHarmonics + 1];
    harmonics = std::min(harmonics, MaxHarmonics);
    for (int n = 1; n <= harmonics; ++n) weight[n] = 1.0 / std::pow(n, tilt);
    const size_t first = framesOf(start);
    const size_t last = std::min(w.size(), first + framesOf(env.length + env.release));
    double phase = 0.0;
    for (size_t i = first; i < last; ++i) {
        const double t = static_cast<double>(i - first) / SampleRate;
        const double wobble = t > 0.15 ? vibrato * std::sin(TwoPi * 5.5 * (t - 0.15)) : 0.0;
        phase += TwoPi * freq * (1.0 + wobble) / SampleRate;
        // The harmonics by the same recurrence over n: sin(n p) from sin((n - 1) p) and sin((n - 2) p).
        const double twoCos = 2.0 * std::cos(phase);
        double sinBefore = 0.0;
        double sinNow = std::sin(phase);
        double sum = 0.0;
        for (int n = 1; n <= harmonics; ++n) {
            sum += weight[n] * sinNow;
            const double next = twoCos * sinNow - sinBefore;
            sinBefore = sinNow;
            sinNow = next;
        }
        w[i] += static_cast<float>(amp * env.at(t) * sum);
    }
}

// ---------------------------------------------------------------------------------
// The sounds
// ---------------------------------------------------------------------------------

// Four ratchet ticks as the lever goes down, then the clack and thud of its stop.
void makeLever(Wave& w) {
    w.assign(framesOf(0.36), 0.0f);
    Noise noise;
    for (int k = 0; k < 4; ++k) {
        const double at = 0.035 * k;
        addClick(w, noise, at, 2800.0, 4.0, 0.35 + 0.1 * k, 0.004);
        addPartial(w, at, 1600.0, 0.08 + 0.02 * k, 0.005, 0.0005);
    }
    addClick(w, noise, 0.15, 1200.0, 2.0, 1.0, 0.012);
    addPartial(w, 0.15, 95.0, 0.8, 0.07);
    addPartial(w, 0.15, 190.0, 0.3, 0.04);
}

// Reel detents ticking past at 22 a second over the hum of the drive. One period of the
// loop holds whole cycles of everything in it, so it repeats without a seam.
void makeReels(Wave& w) {
    const size_t tickPeriod = 2000;
    const size_t ticks = 20;
    const size_t loop = tickPeriod * ticks;
    w.assign(loop, 0.0f);
    Noise noise;
    for (size_t k = 0; k < ticks; ++k) {
        const double at = static_cast<double>(k * tickPeriod) / SampleRate;
        const double accent = (k % 3 == 0) ? 0.75 : 0.55;  // three reels, not quite in step
        addClick(w, noise, at, 3200.0, 5.0, accent, 0.0025);
        addPartial(w, at, 700.0, 0.25 * accent, 0.006, 0.0005);
    }
    const double hum = 100.0 * SampleRate / static_cast<double>(loop);  // 100 cycles a loop
    for (size_t i = 0; i < loop; ++i) {
        const double cycle = TwoPi * static_cast<double>(i) / static_cast<double>(loop);
        const double swell = 1.0 + 0.2 * std::sin(2.0 * cycle);
        const double t = static_cast<double>(i) / SampleRate;
        const double motor = 0.18 * std::sin(TwoPi * hum * t) + 0.08 * std::sin(TwoPi * 2.0 * hum * t) +
                             0.04 * std::sin(TwoPi * 3.0 * hum * t);
        w[i] += static_cast<float>(swell * motor);
    }
}

// A wooden knock: a low body, two overtones and the tap itself.
void makeKnock(Wave& w) {
    w.assign(framesOf(0.22), 0.0f);
    Noise noise;
    addPartial(w, 0.0, 185.0, 1.0, 0.045, 0.001);
    addPartial(w, 0.0, 440.0, 0.5, 0.025, 0.001);
    addPartial(w, 0.0, 1150.0, 0.25, 0.009, 0.0005);
    addClick(w, noise, 0.0, 2500.0, 1.5, 0.3, 0.0015);
}

// A small bell struck twice, a fourth apart.
void addBell(Wave& w, double start, double freq, double amp) {
    addPartial(w, start, freq, amp, 0.45, 0.003);
    addPartial(w, start, 2.0 * freq, 0.4 * amp, 0.22, 0.003);
    addPartial(w, start, 3.0 * freq, 0.18 * amp, 0.12, 0.003);
    addPartial(w, start, 4.2 * freq, 0.1 * amp, 0.07, 0.003);
}

void makeChime(Wave& w) {
    w.assign(framesOf(1.4), 0.0f);
    addBell(w, 0.0, 783.99, 0.8);   // G5
    addBell(w, 0.13, 1046.5, 1.0);  // C6
}

// C major climbing in four brass notes, then its chord held with a little vibrato.
constexpr double FanfareNotes[4] = {523.25, 659.25, 783.99, 1046.5};  // C5 E5 G5 C6

void makeFanfare(Wave& w) {
    w.assign(framesOf(1.62), 0.0f);
    const Envelope note{0.012, 0.08, 0.75, 0.12, 0.06};
    for (int k = 0; k < 4; ++k) addTone(w, 0.1 * k, FanfareNotes[k], 0.5, note, 6, 1.2);
    const Envelope chord{0.015, 0.1, 0.8, 0.85, 0.35};
    for (int k = 0; k < 4; ++k) addTone(w, 0.42, FanfareNotes[k], k == 3 ? 0.2 : 0.3, chord, 6, 1.2, 0.004);
}

// Two coins landing in the tray, the second a fourth higher.
void addClink(Wave& w, Noise& noise, double start, double freq, double amp) {
    addPartial(w, start, freq, amp, 0.18, 0.0008);
    addPartial(w, start, 2.0 * freq, 0.35 * amp, 0.1, 0.0008);
    addPartial(w, start, 2.76 * freq, 0.25 * amp, 0.07, 0.0008);
    addPartial(w, start, 5.4 * freq, 0.12 * amp, 0.03, 0.0008);
    addClick(w, noise, start, 6000.0, 2.0, 0.2 * amp, 0.001);
}

void makeCoin(Wave& w) {
    w.assign(framesOf(0.5), 0.0f);
    Noise noise;
    addClink(w, noise, 0.0, 1567.98, 0.8);   // G6
    addClink(w, noise, 0.085, 2093.0, 1.0);  // C7
}

// A low, short sawtooth with a soft start and end.
void makeBuzz(Wave& w) {
    w.assign(framesOf(0.25), 0.0f);
    const Envelope env{0.008, 0.02, 0.9, 0.17, 0.05};
    addTone(w, 0.0, 92.0, 1.0, env, 10, 1.0);
}

// A soft thud that drops in pitch: the ball on the counter.
void makeBounce(Wave& w) {
    w.assign(framesOf(0.18), 0.0f);
    double phase = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double freq = 150.0 + 90.0 * std::exp(-t / 0.05);
        phase += TwoPi * freq / SampleRate;
        const double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.045);
        w[i] = static_cast<float>(env * (std::sin(phase) + 0.15 * std::sin(2.0 * phase)));
    }
}

}  // namespace

// ---------------------------------------------------------------------------------
// Output
// ---------------------------------------------------------------------------------

void makeSound(Sound sound, std::vector<int16_t>& out) {
    Wave w;
    switch (sound) {
    case SoundLever: makeLever(w); break;
    case SoundReels: makeReels(w); break;
    case SoundKnockLeft:
    case SoundKnockCentre:
    case SoundKnockRight: makeKnock(w); break;
    case SoundChime: makeChime(w); break;
    case SoundFanfare: makeFanfare(w); break;
    case SoundCoin: makeCoin(w); break;
    case SoundBuzz: makeBuzz(w); break;
    case SoundBounce: makeBounce(w); break;
    case SoundCount: break;
    }
    // A one-shot sound fades out over its last moments, so that no tail is cut off with a click.
    if (sound != SoundReels) {
        const size_t fade = std::min(w.size(), framesOf(FadeOut));
        for (size_t i = 0; i < fade; ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    }
    float peak = 0.0f;
    for (float s : w) peak = std::max(peak, std::fabs(s));
    const SoundPlan& plan = soundPlans[sound];
    const double scale = peak > 0.0f ? plan.level * 32767.0 / peak : 0.0;
    out.resize(2 * w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        out[2 * i] = static_cast<int16_t>(std::lround(w[i] * scale * plan.left));
        out[2 * i + 1] = static_cast<int16_t>(std::lround(w[i] * scale * plan.right));
    }
}
