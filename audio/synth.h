// The building blocks the machine's sounds are made of: decaying sine partials,
// filtered noise bursts, enveloped harmonic tones, and the loops that repeat seamlessly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

// One channel of sound at SampleRate, full scale at 1.
using Wave = std::vector<float>;

// The noise source: a linear congruential generator, so every start makes the same sound.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed) {}
    double next();  // uniform in [-1, 1)
};

// A biquad filter (the audio cookbook's band-pass with constant peak gain, or
// second-order high- and low-pass).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double step(double x);
};

Biquad bandPass(double freq, double q);
Biquad highPass(double freq, double q);
Biquad lowPass(double freq, double q);

// Attack, decay to a sustain level, hold, release: the gain of a played note at time t.
struct Envelope {
    double attack, decay, sustain, length, release;
    double at(double t) const;
};

// ---------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

size_t framesOf(double seconds);

// Adds a sine partial struck at `start` in `phase` (radians) that rises over `attack`
// and decays with time constant `decay` (seconds). In a loop (`wrap`) whatever rings
// past the end comes back in at the start.
void addPartial(Wave& w, double start, double freq, double amp, double decay, double attack = 0.002, bool wrap = false,
                double phase = 0.0);

// Adds a burst of noise through a band-pass around `freq`, decaying with `decay`: the
// click of hard parts meeting. Wraps like addPartial.
void addClick(Wave& w, Noise& noise, double start, double freq, double q, double amp, double decay, bool wrap = false);

// Adds a harmonic tone with amplitudes falling as 1/n^tilt: brass for a small tilt, a
// buzz for a lower pitch. `vibrato` is the depth of a 5.5 Hz pitch wobble that sets in
// after the attack.
void addTone(Wave& w, double start, double freq, double amp, const Envelope& env, int harmonics, double tilt,
             double vibrato = 0.0);

// Adds noise through `filter` to a loop of w.size() frames so that it repeats without a
// seam: the filter runs over the loop twice and the second pass is kept.
void addLoopNoise(Wave& w, Noise& noise, Biquad filter, double amp);

// Takes `db` off a sound's sharpest peaks with a look-ahead limiter: the gain falls
// smoothly over 2 ms before a peak and comes back over 15 ms after it, so the strike
// keeps its snap while it needs less headroom.
void trimPeaks(Wave& w, double db);

// Fades the last `seconds` of a sound out, so that nothing ends on a step.
void fadeTail(Wave& w, double seconds);

// Turns a loop so that it starts where it crosses zero between its loudest moments, so
// that a source starting it from silence does not begin on a step.
void startLoopQuietly(Wave& w);
