// Synthesis of the machine's sounds. The mechanism speaks in the mids and highs, where
// small speakers carry it: metal and plastic partials over clicks of filtered noise,
// with only a touch of low body. Every ring has died away 40 dB before a sound ends.
#include "audio/sounds.h"

#include <algorithm>
#include <cmath>

#include "app/game_state.h"

namespace {

// ---------------------------------------------------------------------------------
// Variants
// ---------------------------------------------------------------------------------

// The pitch of each variant of a repeated sound, within half a semitone either way.
constexpr double VariantPitch[Variants] = {1.0, 0.972, 1.029, 0.986, 1.014, 0.958};

// Each variant also draws other noise.
uint32_t seedOf(Sound sound, int variant) {
    return 22222u + 7919u * static_cast<uint32_t>(sound) + 104729u * static_cast<uint32_t>(variant);
}

// The fade that ends every one-shot sound, long after its rings have died away.
constexpr double EndFade = 0.005;

// The sounds that set the headroom are drawn several times, with other phases and
// noise, and the draw with the lowest peak for its energy is kept: the same loudness
// for less headroom. Sounds with six variants are drawn fewer times.
int drawsOf(Sound sound) {
    switch (sound) {
    case SoundClack:
    case SoundRunLeft:
    case SoundRunCentre:
    case SoundRunRight:
    case SoundChime: return 8;
    case SoundKnockLeft:
    case SoundKnockCentre:
    case SoundKnockRight:
    case SoundCoin: return 4;
    default: return 1;
    }
}

// A partial set ringing by a strike, in a phase the noise draws.
void strike(Wave& w, Noise& noise, double start, double freq, double amp, double decay, double attack) {
    addPartial(w, start, freq, amp, decay, attack, false, Pi * (noise.next() + 1.0));
}

// ---------------------------------------------------------------------------------
// The lever
// ---------------------------------------------------------------------------------

// The time from one tooth of the ratchet to the next as the lever rises (25 ms).
constexpr double ToothSpacing = RatchetTooth / (static_cast<double>(LeverStep) * StepsPerSecond);

// The pawl snapping over one tooth: a dry tick of steel, made to the teeth's spacing so
// that each tick has rung out before the one after next takes its source over.
void makeTooth(Wave& w, Noise& noise, double p) {
    const double s = ToothSpacing;
    w.assign(framesOf(1.8 * s), 0.0f);
    addClick(w, noise, 0.0, 3300.0 * p, 3.0, 0.6, 0.03 * s);
    strike(w, noise, 0.0, 1850.0 * p, 0.30, 0.16 * s, 0.01 * s);
    strike(w, noise, 0.0, 760.0 * p, 0.25, 0.22 * s, 0.016 * s);
}

// The lever against its stop: a clack of the steel plates, a little thud, the arm's
// two rebounds, and the ring of the arm that carries the clack on.
void makeClack(Wave& w, Noise& noise) {
    w.assign(framesOf(0.9), 0.0f);
    addClick(w, noise, 0.0, 1600.0, 1.4, 0.35, 0.005);
    addClick(w, noise, 0.0, 4300.0, 2.0, 0.2, 0.0025);
    strike(w, noise, 0.0, 335.0, 0.45, 0.09, 0.0015);
    strike(w, noise, 0.0, 540.0, 0.4, 0.07, 0.0015);
    strike(w, noise, 0.0, 905.0, 0.28, 0.05, 0.001);
    strike(w, noise, 0.0, 118.0, 0.2, 0.06, 0.003);
    strike(w, noise, 0.0, 1240.0, 0.22, 0.18, 0.002);
    strike(w, noise, 0.0, 1975.0, 0.14, 0.14, 0.002);
    strike(w, noise, 0.0, 2890.0, 0.08, 0.1, 0.002);
    addClick(w, noise, 0.034, 1900.0, 1.5, 0.3, 0.003);
    strike(w, noise, 0.034, 540.0, 0.12, 0.03, 0.002);
    addClick(w, noise, 0.061, 2100.0, 1.5, 0.12, 0.0025);
}

// ---------------------------------------------------------------------------------
// The reels
// ---------------------------------------------------------------------------------

// The loops are made for reels that turn 2400 degrees (6.7 turns) a second.
static_assert(ReelStep * StepsPerSecond == 2400.0f, "the reels' runs are made for their speed: remake them");

// Detents a second of each reel's loop: three rates that never fall into step, so
// the sound thins audibly as the reels land one by one.
constexpr int RunTicks[3] = {42, 46, 50};
constexpr double RunSwells = 7.0;   // the whirr swells once a turn, whole times a second
constexpr double RunDrive = 220.0;  // the pitch of the drive's whine, whole cycles a second

// One reel turning, one second that repeats without a seam: the detents ticking past,
// each a little different, over the whirr of the drum and the whine of its drive.
void makeRun(Wave& w, Noise& noise, int reel) {
    const double r = reel;
    w.assign(SampleRate, 0.0f);  // one second
    const int ticks = RunTicks[reel];
    for (int k = 0; k < ticks; ++k) {
        const double at = (k + 0.15 * noise.next()) / ticks;
        const double accent = 0.18 + 0.04 * (noise.next() + 1.0);
        addClick(w, noise, at, (2500.0 + 250.0 * r) * (1.0 + 0.04 * noise.next()), 4.0, accent, 0.0016, true);
        addPartial(w, at, 980.0 + 70.0 * r, 0.28 * accent, 0.0045, 0.0004, true);
        addPartial(w, at, 430.0 + 30.0 * r, 0.16 * accent, 0.006, 0.0006, true);
    }
    // The whirr swells as the drum turns.
    Wave whirr(w.size(), 0.0f);
    addLoopNoise(whirr, noise, bandPass(800.0 + 100.0 * r, 0.8), 0.14);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        w[i] += static_cast<float>((1.0 + 0.25 * std::sin(TwoPi * RunSwells * t + r)) * whirr[i]);
    }
    // The whine: whole cycles a second, so the loop closes on itself.
    const double drive = RunDrive + 20.0 * r;
    for (int h = 2; h <= 5; ++h) addPartial(w, 0.0, h * drive, 0.03 / h, 1e9, 0.0);
}

// A reel snapping onto its stop: the knock of the drum on its detent, and the drum
// ringing on a moment. The right reel, the last to land, knocks a little deeper and
// latches after it.
void makeKnock(Wave& w, Noise& noise, int reel, double p) {
    const bool last = reel == 2;
    const double d = last ? 1.25 : 1.0;
    w.assign(framesOf(0.6 * d), 0.0f);
    if (last) p *= 0.92;
    addClick(w, noise, 0.0, 2300.0 * p, 1.2, 0.3, 0.0018);
    strike(w, noise, 0.0, 255.0 * p, 0.5, 0.06 * d, 0.0015);
    strike(w, noise, 0.0, 420.0 * p, 0.7, 0.055 * d, 0.0012);
    strike(w, noise, 0.0, 705.0 * p, 0.45, 0.035 * d, 0.001);
    strike(w, noise, 0.0, 1180.0 * p, 0.25, 0.02 * d, 0.0008);
    strike(w, noise, 0.0, 125.0 * p, 0.18, 0.04 * d, 0.003);
    strike(w, noise, 0.0, 610.0 * p, 0.28, 0.12 * d, 0.002);
    strike(w, noise, 0.0, 940.0 * p, 0.17, 0.09 * d, 0.002);
    if (last) {
        addClick(w, noise, 0.022, 1800.0 * p, 1.5, 0.3, 0.002);
        strike(w, noise, 0.022, 440.0 * p, 0.25, 0.02, 0.002);
    }
}

// ---------------------------------------------------------------------------------
// Results
// ---------------------------------------------------------------------------------

// A small bell: its partials, relative frequency, amplitude and decay.
void addBell(Wave& w, Noise& noise, double start, double freq, double amp) {
    constexpr double partials[5][3] = {
        {1.0, 1.0, 0.32}, {2.0, 0.45, 0.2}, {3.0, 0.22, 0.12}, {4.16, 0.14, 0.07}, {5.43, 0.08, 0.045}};
    for (const auto& partial : partials)
        strike(w, noise, start, partial[0] * freq, partial[1] * amp, partial[2], 0.002);
}

// The result is heard about this long after the right reel's knock, so that its attack
// keeps clear of the knock's peak. Its cue comes ResultDelaySteps after the knock's, and
// either sound may start up to a mixing period (1024 frames) after its cue: the sound
// waits out the rest, and that period.
constexpr double ResultAfterKnock = 0.1;
constexpr double MixingPeriod = 1024.0 / SampleRate;
constexpr double ResultLead = ResultAfterKnock + MixingPeriod - ResultDelaySteps / static_cast<double>(StepsPerSecond);

// A bell struck twice, a fourth apart.
void makeChime(Wave& w, Noise& noise) {
    w.assign(framesOf(ResultLead + 1.7), 0.0f);
    addBell(w, noise, ResultLead, 783.99, 0.8);         // G5
    addBell(w, noise, ResultLead + 0.13, 1046.5, 1.0);  // C6
}

// C major climbing in four brass notes, then its chord held with a little vibrato. The
// winnings land 174 steps (1.45 s) after the result's cue: the chord has died away by
// then, and the payout is counted out alone.
constexpr double FanfareNotes[4] = {523.25, 659.25, 783.99, 1046.5};  // C5 E5 G5 C6

void makeFanfare(Wave& w) {
    w.assign(framesOf(ResultLead + 1.35), 0.0f);
    const Envelope note{0.012, 0.08, 0.75, 0.12, 0.06};
    for (int k = 0; k < 4; ++k) addTone(w, ResultLead + 0.1 * k, FanfareNotes[k], 0.5, note, 8, 1.1);
    const Envelope chord{0.015, 0.1, 0.8, 0.65, 0.25};
    for (int k = 0; k < 4; ++k)
        addTone(w, ResultLead + 0.42, FanfareNotes[k], k == 3 ? 0.2 : 0.3, chord, 8, 1.1, 0.004);
}

// ---------------------------------------------------------------------------------
// Coins, tickets, refusals, the ball
// ---------------------------------------------------------------------------------

// A coin landing in the tray: the inharmonic partials of a small disc and its tap.
void addClink(Wave& w, Noise& noise, double start, double freq, double amp) {
    strike(w, noise, start, freq, amp, 0.11, 0.0008);
    strike(w, noise, start, 2.0 * freq, 0.35 * amp, 0.07, 0.0008);
    strike(w, noise, start, 2.76 * freq, 0.3 * amp, 0.05, 0.0008);
    strike(w, noise, start, 5.4 * freq, 0.14 * amp, 0.025, 0.0008);
    addClick(w, noise, start, 6000.0, 2.0, 0.25 * amp, 0.001);
}

// Two coins, the second a fourth higher.
void makeCoin(Wave& w, Noise& noise, double p) {
    w.assign(framesOf(0.65), 0.0f);
    addClink(w, noise, 0.0, 1567.98 * p, 0.8);   // G6
    addClink(w, noise, 0.085, 2093.0 * p, 1.0);  // C7
}

// One coin of a payout, settling with a second, softer touch.
void makeClink(Wave& w, Noise& noise, double p) {
    w.assign(framesOf(0.6), 0.0f);
    addClink(w, noise, 0.0, 2093.0 * p, 1.0);
    addClink(w, noise, 0.045, 2093.0 * p * 1.01, 0.3);
}

// The ticket counter stepping on by one; for three of a kind it rings a small bell too.
void makeTick(Wave& w, Noise& noise, double p, bool bright) {
    w.assign(framesOf(bright ? 0.26 : 0.08), 0.0f);
    addClick(w, noise, 0.0, 2900.0 * p, 2.0, 0.5, 0.0012);
    strike(w, noise, 0.0, 1250.0 * p, 0.35, 0.01, 0.0005);
    strike(w, noise, 0.0, 560.0 * p, 0.25, 0.013, 0.0008);
    if (bright) {
        strike(w, noise, 0.0, 3520.0 * p, 0.45, 0.045, 0.0005);
        strike(w, noise, 0.0, 5280.0 * p, 0.2, 0.025, 0.0005);
    }
}

// Two short blasts of a buzzer, rich in harmonics so that small speakers carry it.
void makeBuzz(Wave& w) {
    w.assign(framesOf(0.33), 0.0f);
    const Envelope blast{0.006, 0.02, 0.85, 0.11, 0.02};
    addTone(w, 0.0, 150.0, 1.0, blast, 14, 0.9);
    addTone(w, 0.17, 150.0, 1.0, blast, 14, 0.9);
}

// A soft thud that drops in pitch, with the tock of the counter under the ball.
void makeBounce(Wave& w, Noise& noise, double p) {
    w.assign(framesOf(0.25), 0.0f);
    double phase = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double freq = (170.0 + 90.0 * std::exp(-t / 0.05)) * p;
        phase += TwoPi * freq / SampleRate;
        const double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.045);
        w[i] = static_cast<float>(env * (std::sin(phase) + 0.3 * std::sin(2.0 * phase)));
    }
    strike(w, noise, 0.0, 720.0 * p, 0.35, 0.008, 0.0005);
    addClick(w, noise, 0.0, 1500.0 * p, 1.5, 0.25, 0.002);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Output
// ---------------------------------------------------------------------------------

namespace {

// One draw of a sound, before its end is faded.
void synthesise(Sound sound, int variant, Noise& noise, Wave& out) {
    const double p = VariantPitch[variant % Variants];
    switch (sound) {
    case SoundTooth: makeTooth(out, noise, p); break;
    case SoundClack: makeClack(out, noise); break;
    case SoundRunLeft:
    case SoundRunCentre:
    case SoundRunRight: makeRun(out, noise, sound - SoundRunLeft); break;
    case SoundKnockLeft:
    case SoundKnockCentre:
    case SoundKnockRight: makeKnock(out, noise, sound - SoundKnockLeft, p); break;
    case SoundChime: makeChime(out, noise); break;
    case SoundFanfare: makeFanfare(out); break;
    case SoundCoin: makeCoin(out, noise, p); break;
    case SoundClink: makeClink(out, noise, p); break;
    case SoundTick: makeTick(out, noise, p, false); break;
    case SoundTickBright: makeTick(out, noise, p, true); break;
    case SoundBuzz: makeBuzz(out); break;
    case SoundBounce: makeBounce(out, noise, p); break;
    case SoundCount: out.clear(); break;
    }
}

// The square of the peak over the energy: what a draw costs in headroom for its loudness.
double crest(const Wave& w) {
    double peak = 0.0;
    double energy = 0.0;
    for (float s : w) {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        energy += static_cast<double>(s) * s;
    }
    return energy > 0.0 ? peak * peak / energy : 0.0;
}

}  // namespace

void makeSound(Sound sound, int variant, Wave& out) {
    const bool loop = sound == SoundRunLeft || sound == SoundRunCentre || sound == SoundRunRight;
    Wave draw;
    double best = 0.0;
    for (int d = 0; d < drawsOf(sound); ++d) {
        Noise noise(seedOf(sound, variant) + 65537u * static_cast<uint32_t>(d));
        synthesise(sound, variant, noise, draw);
        const double c = crest(draw);
        if (d == 0 || c < best) {
            best = c;
            out.swap(draw);
        }
    }
    trimPeaks(out, soundPlans[sound].trim);
    if (loop)
        startLoopQuietly(out);  // a loop has no end, and starts where it is quiet
    else
        fadeTail(out, EndFade);
}
