// The building blocks of the sounds: partials by recurrence, filtered noise, harmonic
// tones, and loops made seamless by running their filters round twice.
#include "audio/synth.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------------
// Noise, filters, envelopes
// ---------------------------------------------------------------------------------

double Noise::next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
}

double Biquad::step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

namespace {

// The cookbook's coefficients, normalised by a0.
Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    Biquad f;
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = a1 / a0;
    f.a2 = a2 / a0;
    return f;
}

}  // namespace

Biquad bandPass(double freq, double q) {
    const double w = TwoPi * freq / SampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    return normalised(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * std::cos(w), 1.0 - alpha);
}

Biquad highPass(double freq, double q) {
    const double w = TwoPi * freq / SampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return normalised((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad lowPass(double freq, double q) {
    const double w = TwoPi * freq / SampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return normalised((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

double Envelope::at(double t) const {
    if (t < attack) return t / attack;
    if (t < attack + decay) return 1.0 - (1.0 - sustain) * (t - attack) / decay;
    if (t < length) return sustain;
    if (t < length + release) return sustain * (1.0 - (t - length) / release);
    return 0.0;
}

size_t framesOf(double seconds) { return static_cast<size_t>(std::lround(seconds * SampleRate)); }

// ---------------------------------------------------------------------------------
// Partials, clicks, tones
// ---------------------------------------------------------------------------------

namespace {

constexpr double Silent = 1e-3;  // a partial that has fallen this far (-60 dB) below its strike is over

// Where frame k after `first` lands: past the end it is dropped, or in a loop comes round.
bool place(const Wave& w, size_t first, size_t k, bool wrap, size_t* at) {
    const size_t i = first + k;
    if (i < w.size()) {
        *at = i;
        return true;
    }
    if (!wrap || k >= w.size()) return false;
    *at = i % w.size();
    return true;
}

}  // namespace

// The sine comes from the two-term recurrence sin(k w) = 2 cos(w) sin((k - 1) w) -
// sin((k - 2) w), which needs no sine per sample.
void addPartial(Wave& w, double start, double freq, double amp, double decay, double attack, bool wrap, double phase) {
    const size_t first = framesOf(start);
    const double step = TwoPi * freq / SampleRate;
    const double twoCos = 2.0 * std::cos(step);
    const double fall = std::exp(-1.0 / (decay * SampleRate));
    const double attackFrames = attack * SampleRate;
    double sinNow = std::sin(phase);
    double sinBefore = std::sin(phase - step);
    double env = amp;
    size_t at = 0;
    for (size_t k = 0; env > Silent * amp && place(w, first, k, wrap, &at); ++k) {
        const double rise = static_cast<double>(k) < attackFrames ? static_cast<double>(k) / attackFrames : 1.0;
        w[at] += static_cast<float>(env * rise * sinNow);
        const double next = twoCos * sinNow - sinBefore;
        sinBefore = sinNow;
        sinNow = next;
        env *= fall;
    }
}

void addClick(Wave& w, Noise& noise, double start, double freq, double q, double amp, double decay, bool wrap) {
    Biquad filter = bandPass(freq, q);
    const size_t first = framesOf(start);
    const size_t length = framesOf(decay * 12.0);  // long enough for the filter to ring out
    const double fall = std::exp(-1.0 / (decay * SampleRate));
    double env = amp;
    size_t at = 0;
    for (size_t k = 0; k < length && place(w, first, k, wrap, &at); ++k) {
        w[at] += static_cast<float>(filter.step(env * noise.next()));
        env *= fall;
    }
}

namespace {
constexpr int MaxHarmonics = 16;
}

void addTone(Wave& w, double start, double freq, double amp, const Envelope& env, int harmonics, double tilt,
             double vibrato) {
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
// Loops and ends
// ---------------------------------------------------------------------------------

void addLoopNoise(Wave& w, Noise& noise, Biquad filter, double amp) {
    Wave source(w.size());
    std::generate(source.begin(), source.end(), [&noise] { return static_cast<float>(noise.next()); });
    // The filter's state at the end of the first pass is what the second pass starts
    // from, so the second pass is one period of a periodic signal.
    for (float s : source) filter.step(s);
    for (size_t i = 0; i < w.size(); ++i) w[i] += static_cast<float>(amp * filter.step(source[i]));
}

void trimPeaks(Wave& w, double db) {
    if (db <= 0.0 || w.empty()) return;
    float peak = 0.0f;
    for (float s : w) peak = std::max(peak, std::fabs(s));
    const double ceiling = peak * std::pow(10.0, -db / 20.0);
    // The gain each frame needs, the least of it within 2 ms either way, averaged over
    // 2 ms: at a peak every frame averaged needs no more than the peak does.
    const size_t n = w.size();
    const size_t reach = framesOf(0.002);
    std::vector<double> need(n);
    for (size_t i = 0; i < n; ++i) need[i] = std::fabs(w[i]) > ceiling ? ceiling / std::fabs(w[i]) : 1.0;
    // The least within reach either way, by van Herk's two sweeps over blocks as wide
    // as the window (frames beyond either end need nothing): the window's least is the
    // least of the block it starts in, from its start on, and of the block it ends in,
    // up to its end.
    const size_t width = 2 * reach + 1;
    const size_t padded = n + 2 * reach;
    auto needAt = [&](size_t j) { return j >= reach && j - reach < n ? need[j - reach] : 1.0; };
    std::vector<double> upTo(padded);
    std::vector<double> from(padded);
    for (size_t j = 0; j < padded; ++j) upTo[j] = j % width == 0 ? needAt(j) : std::min(needAt(j), upTo[j - 1]);
    for (size_t j = padded; j-- > 0;)
        from[j] = j % width == width - 1 || j + 1 == padded ? needAt(j) : std::min(needAt(j), from[j + 1]);
    std::vector<double> least(n);
    for (size_t i = 0; i < n; ++i) least[i] = std::min(from[i], upTo[i + width - 1]);
    const double recover = 1.0 - std::exp(-1.0 / (0.015 * SampleRate));
    double held = 1.0;
    double sum = 0.0;
    for (size_t i = 0; i < n + reach / 2; ++i) {
        sum += i < n ? least[i] : 1.0;
        if (i >= reach) sum -= least[i - reach];
        if (i < reach / 2) continue;
        const size_t at = i - reach / 2;
        const double averaged = sum / static_cast<double>(std::min(i + 1, reach));
        held = std::min(averaged, held + (1.0 - held) * recover);
        w[at] = static_cast<float>(w[at] * held);
    }
}

void fadeTail(Wave& w, double seconds) {
    const size_t fade = std::min(w.size(), framesOf(seconds));
    for (size_t i = 0; i < fade; ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

void startLoopQuietly(Wave& w) {
    if (w.size() < 2) return;
    // The loudness about each frame: a moving sum of squares over 5 ms either side.
    const size_t half = framesOf(0.005);
    const size_t n = w.size();
    double around = 0.0;
    for (size_t k = n - half; k < n; ++k) around += w[k] * w[k];
    for (size_t k = 0; k <= half; ++k) around += w[k] * w[k];
    size_t best = 0;
    double bestScore = -1.0;
    for (size_t i = 0; i < n; ++i) {
        const float before = w[(i + n - 1) % n];
        if (before < 0.0f && w[i] >= 0.0f) {
            const double score = around + std::fabs(w[i]) * 1e3;
            if (bestScore < 0.0 || score < bestScore) {
                bestScore = score;
                best = i;
            }
        }
        const float leaving = w[(i + n - half) % n];
        const float entering = w[(i + half + 1) % n];
        around += entering * entering - leaving * leaving;
    }
    std::rotate(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(best), w.end());
}
