// The sounds themselves, as the bank holds them: the loudness meter against the
// standard, the mix (wins loudest, a refusal well below three of a kind), the headroom
// of everything that can sound at once at the animation's pace, rings that die away
// before a sound ends, seamless loops, the payout's count, and the variation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/game_state.h"
#include "audio/bank.h"
#include "audio/loudness.h"
#include "audio/payout.h"
#include "tests/unit/game_fixture.h"

namespace {

// ---------------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------------

constexpr double Step = 1.0 / StepsPerSecond;  // seconds of one animation step
// Two sounds cued apart may start this much further apart or closer: a mixing period.
constexpr double Slack = 0.025;
constexpr double EnvelopeBlock = 0.005;
// -1 dBFS, less a margin for a device that resamples.
constexpr float Ceiling = 0.85f;

Pcm sound(Sound s, int variant = 0) {
    makeBank();
    return bankSound(s, variant);
}

double loudness(Pcm pcm) { return momentaryMax(pcm.frames, pcm.count, 2); }

float peakFrom(Pcm pcm, double seconds) {
    float peak = 0.0f;
    for (size_t i = 2 * static_cast<size_t>(seconds * SampleRate); i < 2 * pcm.count; ++i)
        peak = std::max(peak, std::fabs(pcm.frames[i]));
    return peak;
}

// The loudest of every variant of a sound.
float peakOf(Sound s, double from = 0.0) {
    float peak = 0.0f;
    for (int v = 0; v < soundPlans[s].variants; ++v) peak = std::max(peak, peakFrom(sound(s, v), from));
    return peak;
}

// The largest sample of any variant in each block, widened by the slack either way.
using Envelope = std::vector<float>;

Envelope envelopeOf(const std::vector<Pcm>& takes) {
    const auto block = static_cast<size_t>(EnvelopeBlock * SampleRate);
    Envelope env;
    for (const Pcm& pcm : takes) {
        env.resize(std::max(env.size(), pcm.count / block + 1), 0.0f);
        for (size_t i = 0; i < 2 * pcm.count; ++i)
            env[i / 2 / block] = std::max(env[i / 2 / block], std::fabs(pcm.frames[i]));
    }
    const auto reach = static_cast<size_t>(std::lround(Slack / 2.0 / EnvelopeBlock));  // half each way
    Envelope wide(env.size() + reach, 0.0f);
    for (size_t b = 0; b < wide.size(); ++b)
        for (size_t k = b >= reach ? b - reach : 0; k <= b + reach && k < env.size(); ++k)
            wide[b] = std::max(wide[b], env[k]);
    return wide;
}

Envelope envelopeOf(Sound s) {
    std::vector<Pcm> variants;
    for (int v = 0; v < soundPlans[s].variants; ++v) variants.push_back(sound(s, v));
    return envelopeOf(variants);
}

Envelope steady(float level, double seconds) {
    return Envelope(static_cast<size_t>(seconds / EnvelopeBlock) + 1, level);
}

// The loudest moment of envelopes laid out at their start times (seconds, from 0).
struct Placed {
    Envelope env;
    double at;
};

float loudestOf(const std::vector<Placed>& scene) {
    std::vector<float> sum(static_cast<size_t>(3.0 / EnvelopeBlock), 0.0f);
    for (const Placed& p : scene) {
        const auto first = static_cast<size_t>(std::lround(p.at / EnvelopeBlock));
        for (size_t b = 0; b < p.env.size() && first + b < sum.size(); ++b) sum[first + b] += p.env[b];
    }
    return *std::max_element(sum.begin(), sum.end());
}

// The runs of the three reels start together and keep in step: the largest sum of
// their magnitudes at any one frame bounds them, and any of them fading.
float runsPeak() {
    const Pcm runs[3] = {sound(SoundRunLeft), sound(SoundRunCentre), sound(SoundRunRight)};
    float peak = 0.0f;
    for (size_t i = 0; i < 2 * runs[0].count; ++i)
        peak =
            std::max(peak, std::fabs(runs[0].frames[i]) + std::fabs(runs[1].frames[i]) + std::fabs(runs[2].frames[i]));
    return peak;
}

// ---------------------------------------------------------------------------------
// Loudness
// ---------------------------------------------------------------------------------

// The gain (dB) of the K-weighting at `freq` by the coefficients the standard tables
// for 48 kHz: the reference the meter's own filters, made for our rate from the
// analogue prototypes, are held to.
double tabledGain(double freq) {
    const double b[2][3] = {{1.53512485958697, -2.69169618940638, 1.19839281085285}, {1.0, -2.0, 1.0}};
    const double a[2][3] = {{1.0, -1.69065929318241, 0.73248077421585}, {1.0, -1.99004745483398, 0.99007225036621}};
    const double w = TwoPi * freq / 48000.0;
    double gain = 0.0;
    for (int k = 0; k < 2; ++k) {
        auto magnitude = [w](const double* c) {
            const double re = c[0] + c[1] * std::cos(w) + c[2] * std::cos(2.0 * w);
            const double im = -c[1] * std::sin(w) - c[2] * std::sin(2.0 * w);
            return std::hypot(re, im);
        };
        gain += 20.0 * std::log10(magnitude(b[k]) / magnitude(a[k]));
    }
    return gain;
}

// A 1 kHz sine at -20 dBFS in both channels reads -20 LUFS: the K-weighting's gain at
// 1 kHz is what the standard's -0.691 takes back. Other tones read by the standard's
// curve; a short burst reads by its energy over 400 ms; silence reads nothing.
TEST(Loudness, ReadsAsTheStandardSays) {
    auto sine = [](double freq, double amp, double seconds) {
        std::vector<float> frames(2 * static_cast<size_t>(seconds * SampleRate));
        for (size_t i = 0; i < frames.size(); ++i) {
            const size_t frame = i / 2;  // both channels alike
            frames[i] = static_cast<float>(amp * std::sin(TwoPi * freq * static_cast<double>(frame) / SampleRate));
        }
        return frames;
    };
    auto read = [](const std::vector<float>& frames) { return momentaryMax(frames.data(), frames.size() / 2, 2); };
    EXPECT_NEAR(read(sine(1000.0, 0.1, 2.0)), -20.0, 0.05);
    for (double freq : {30.0, 100.0, 500.0, 3000.0, 8000.0}) {
        SCOPED_TRACE(freq);
        EXPECT_NEAR(read(sine(freq, 0.1, 2.0)) - read(sine(1000.0, 0.1, 2.0)), tabledGain(freq) - tabledGain(1000.0),
                    0.1);
    }
    EXPECT_NEAR(read(sine(1000.0, 0.1, 0.1)), -20.0 - 10.0 * std::log10(4.0), 0.1);
    const std::vector<float> silence(2 * static_cast<size_t>(SampleRate), 0.0f);
    EXPECT_TRUE(std::isinf(read(silence)));
}

// ---------------------------------------------------------------------------------
// The mix
// ---------------------------------------------------------------------------------

// Every sound is levelled by its loudness; the wins are the loudest events, three of a
// kind louder than a pair (the result and its payout alike), a refusal 6 LU or more
// below three of a kind.
TEST(Mix, WinsAreLoudestAndARefusalIsWellBelowThem) {
    for (int s = 0; s < SoundCount; ++s) {
        SCOPED_TRACE(s);
        EXPECT_NEAR(loudness(sound(static_cast<Sound>(s))), soundPlans[s].loudness, 0.05);
    }
    const double chime = loudness(sound(SoundChime));
    const double fanfare = loudness(sound(SoundFanfare));
    EXPECT_GT(fanfare, chime + 1.0);
    for (Sound s : {SoundTooth, SoundClack, SoundRunLeft, SoundKnockLeft, SoundKnockCentre, SoundKnockRight, SoundCoin,
                    SoundBuzz, SoundBounce}) {
        SCOPED_TRACE(s);
        EXPECT_LT(loudness(sound(s)), chime);
    }
    EXPECT_LE(loudness(sound(SoundBuzz)), fanfare - 6.0);

    makeBank();
    std::vector<float> pair(2 * PayoutFrames);
    std::vector<float> triple(2 * PayoutFrames);
    for (int stake : {1, 5}) {
        SCOPED_TRACE(stake);
        Variation variation;
        ASSERT_TRUE(renderPayout(0, stake, false, variation, pair.data()));
        ASSERT_TRUE(renderPayout(2 * stake, 2 * stake, true, variation, triple.data()));
        EXPECT_GT(momentaryMax(triple.data(), PayoutFrames, 2), momentaryMax(pair.data(), PayoutFrames, 2) + 1.0);
    }
}

// The sample peak stays under -1 dBFS with every sound that can coincide at the
// animation's pace, each at the worst alignment a mixing period allows. On the machine
// screen: the right reel's knock with the last run fading, and the result after it; the
// result with the payout as the spin ends; a knock with the runs; the teeth and the clack of a pull with the runs it
// starts (a pull silences what the spin before left ringing from its first step); a payout; and the buzz of a refused
// bet at any moment. The runs start together and keep in step. On the token and prize screens the runs pause and no
// machine sound starts: what rings on from the machine screen meets a coin or a bounce at any moment.
TEST(Mix, EverythingThatCanCoincideStaysBelowTheCeiling) {
    makeBank();
    const Envelope runs = steady(runsPeak(), 3.0);
    std::vector<float> payout(2 * PayoutFrames);
    Variation variation;
    renderPayout(PayoutMaxBeats, PayoutMaxBeats, true, variation, payout.data());

    float ringing = std::max({peakFrom({payout.data(), PayoutFrames}, 0.0), peakOf(SoundClack), peakOf(SoundKnockLeft),
                              peakOf(SoundKnockCentre)});
    const Envelope payoutEnvelope = envelopeOf({{payout.data(), PayoutFrames}});
    for (Sound result : {SoundChime, SoundFanfare}) {
        ringing = std::max(ringing, loudestOf({{envelopeOf(SoundKnockRight), 0.0},
                                               {steady(peakOf(SoundRunRight), Slack), 0.0},
                                               {envelopeOf(result), ResultDelaySteps * Step}}));
        // The result still rings when the winnings land, at the animation's end.
        const int resultToPayout = Spin.ends - Spin.reelLands[2] - ResultDelaySteps;
        ringing = std::max(ringing, loudestOf({{envelopeOf(result), 0.0}, {payoutEnvelope, resultToPayout * Step}}));
    }
    float machine = ringing;
    for (Sound knock : {SoundKnockLeft, SoundKnockCentre})
        machine = std::max(machine, loudestOf({{envelopeOf(knock), 0.0}, {runs, 0.0}}));
    machine = std::max(machine, loudestOf({{envelopeOf(SoundTooth), 30 * Step},
                                           {envelopeOf(SoundTooth), 33 * Step},
                                           {envelopeOf(SoundClack), Spin.fullPull * Step},
                                           {runs, (Spin.fullPull + 1) * Step}}));
    const float buzz = peakOf(SoundBuzz);
    const float elsewhere = std::max(peakOf(SoundCoin), peakOf(SoundBounce));
    std::printf(
        "headroom: machine %.3f with a buzz %.3f (%.2f dBFS); ringing on %.3f with a coin or a bounce %.3f "
        "(%.2f dBFS)\n",
        machine, buzz, 20.0 * std::log10(machine + buzz), ringing, elsewhere, 20.0 * std::log10(ringing + elsewhere));
    EXPECT_LE(machine + buzz, Ceiling);
    EXPECT_LE(ringing + elsewhere, Ceiling);
}

// ---------------------------------------------------------------------------------
// Ends, loops, payouts, variation
// ---------------------------------------------------------------------------------

// Every ring has fallen 40 dB below the sound's peak before the fade that ends it.
TEST(Sounds, RingsDieAwayBeforeTheyEnd) {
    for (int s = 0; s < SoundCount; ++s) {
        if (s == SoundRunLeft || s == SoundRunCentre || s == SoundRunRight) continue;
        for (int v = 0; v < soundPlans[s].variants; ++v) {
            SCOPED_TRACE(testing::Message() << "sound " << s << " variant " << v);
            const Pcm pcm = sound(static_cast<Sound>(s), v);
            const double seconds = static_cast<double>(pcm.count) / SampleRate;
            EXPECT_LE(peakFrom(pcm, seconds - 0.015), 0.01f * peakFrom(pcm, 0.0));
            EXPECT_EQ(pcm.frames[2 * pcm.count - 1], 0.0f);
        }
    }
}

// A run repeats without a seam and starts from silence without a step: its first frame
// lies on a zero crossing, and the jump from its last frame round to its first is no
// larger than the loop's ordinary steps from one frame to the next.
TEST(Sounds, RunsLoopWithoutASeam) {
    for (Sound s : {SoundRunLeft, SoundRunCentre, SoundRunRight}) {
        SCOPED_TRACE(s);
        const Pcm pcm = sound(s);
        const float peak = peakFrom(pcm, 0.0);
        std::vector<float> steps;
        for (size_t i = 2; i < 2 * pcm.count; ++i) steps.push_back(std::fabs(pcm.frames[i] - pcm.frames[i - 2]));
        std::sort(steps.begin(), steps.end());
        const float usual = steps[steps.size() * 99 / 100];
        for (int c = 0; c < 2; ++c) {
            EXPECT_LE(std::fabs(pcm.frames[c]), 0.02f * peak);
            EXPECT_LE(std::fabs(pcm.frames[c] - pcm.frames[2 * pcm.count - 2 + c]), usual);
        }
    }
}

// A payout counts a coin and a tick per beat, the count done within 0.9 s and the last
// ring within the buffer however much lands; nothing lands, nothing plays.
TEST(Payout, CountsWithinTheSpanAndRingsOutInTheBuffer) {
    makeBank();
    std::vector<float> out(2 * PayoutFrames, 1.0f);
    Variation variation;
    EXPECT_FALSE(renderPayout(0, 0, true, variation, out.data()));
    EXPECT_FALSE(renderPayout(-3, 0, true, variation, out.data()));
    EXPECT_EQ(out[0], 1.0f);

    const auto block = static_cast<size_t>(0.01 * SampleRate);
    for (int tickets : {1, 5, 10, PayoutMaxBeats, 200}) {
        SCOPED_TRACE(tickets);
        ASSERT_TRUE(renderPayout(0, tickets, false, variation, out.data()));
        // Onsets: where the next 20 ms rise well above the 10 ms before, 20 ms apart at least.
        std::vector<float> level;
        for (size_t b = 0; b < PayoutFrames / block; ++b) {
            float peak = 0.0f;
            for (size_t i = 2 * b * block; i < 2 * (b + 1) * block; ++i) peak = std::max(peak, std::fabs(out[i]));
            level.push_back(peak);
        }
        const float loudest = *std::max_element(level.begin(), level.end());
        int onsets = 0;
        size_t last = 0;
        for (size_t b = 0; b + 1 < level.size(); ++b) {
            const float rise = std::max(level[b], level[b + 1]);
            const float before = b == 0 ? 0.0f : level[b - 1];
            if (rise > 0.1f * loudest && rise > 2.5f * before && (onsets == 0 || b >= last + 2)) {
                ++onsets;
                last = b;
            }
        }
        EXPECT_EQ(onsets, std::min(tickets, PayoutMaxBeats));
        EXPECT_LE(static_cast<double>(last * block) / SampleRate, PayoutSpan);
        EXPECT_LE(peakFrom({out.data(), PayoutFrames}, PayoutSeconds - 0.015),
                  0.01f * peakFrom({out.data(), PayoutFrames}, 0.0));
    }
}

// Repeated sounds come in variants that differ, and never play the same one twice in
// a row; their level varies within 2 dB.
TEST(Variation, NoRepeatSoundsTheSame) {
    for (Sound s : {SoundTooth, SoundKnockLeft, SoundKnockRight, SoundCoin, SoundClink, SoundTick, SoundBounce}) {
        SCOPED_TRACE(s);
        ASSERT_GT(soundPlans[s].variants, 1);
        const Pcm a = sound(s, 0);
        for (int v = 1; v < soundPlans[s].variants; ++v) {
            const Pcm b = sound(s, v);
            EXPECT_FALSE(a.count == b.count && std::equal(a.frames, a.frames + 2 * a.count, b.frames));
        }
    }
    Variation variation;
    int last = variation.pick(SoundCoin);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        const int next = variation.pick(SoundCoin);
        EXPECT_NE(next, last);
        last = next;
        const float gain = variation.gain();
        lowest = std::min(lowest, gain);
        highest = std::max(highest, gain);
    }
    EXPECT_GE(lowest, std::pow(10.0f, -2.0f / 20.0f));
    EXPECT_LT(lowest, 0.82f);
    EXPECT_LE(highest, 1.0f);
    EXPECT_GT(highest, 0.98f);
}

}  // namespace
