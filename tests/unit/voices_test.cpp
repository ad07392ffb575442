// The voices on a real OpenAL Soft device, its wave back end recording what it mixes:
// the reels' runs fade out rather than stop dead, whether a knock ends one, a pause
// ends them all or the mute silences them, the mute is exact silence and M again
// brings the runs back, and a device made anew plays the runs still wanted.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/game_state.h"
#include "audio/audio.h"
#include "audio/voices.h"

namespace {

constexpr size_t Period = 1024;  // the mixing period the device is given, in frames
constexpr size_t Rate = 44100;

void wait(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// The left channel of the float WAVE file the back end wrote, empty when unreadable.
std::vector<float> readLeft(const std::string& path) {
    std::vector<float> left;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return left;
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        data.insert(data.end(), buffer, buffer + got);
    std::fclose(f);
    for (size_t at = 12; at + 8 <= data.size();) {
        uint32_t size = 0;
        std::memcpy(&size, &data[at + 4], 4);
        if (std::memcmp(&data[at], "data", 4) == 0) {
            const size_t frames = std::min<size_t>(size, data.size() - at - 8) / 8;
            left.resize(frames);
            for (size_t i = 0; i < frames; ++i) std::memcpy(&left[i], &data[at + 8 + 8 * i], 4);
            break;
        }
        at += 8 + size;
    }
    return left;
}

// Where the recording falls silent for at least 50 ms: the first frame of each silence.
std::vector<size_t> silences(const std::vector<float>& x) {
    std::vector<size_t> starts;
    size_t run = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        run = x[i] == 0.0f ? run + 1 : 0;
        if (run == Rate / 20 && i + 1 >= run) starts.push_back(i + 1 - run);
    }
    return starts;
}

float peakIn(const std::vector<float>& x, size_t from, size_t to) {
    float peak = 0.0f;
    for (size_t i = from; i < to && i < x.size(); ++i) peak = std::max(peak, std::fabs(x[i]));
    return peak;
}

TEST(Voices, RunsFadeOutTheMuteIsSilenceAndANewDeviceGetsTheRunsBack) {
    char dir[] = "/tmp/slot-voices-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string wave = std::string(dir) + "/mix.wav";
    const std::string config = std::string(dir) + "/openal.conf";
    std::FILE* f = std::fopen(config.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "drivers = wave\nfrequency = %zu\nperiod_size = %zu\n[wave]\nfile = %s\n", Rate, Period,
                 wave.c_str());
    std::fclose(f);
    setenv("ALSOFT_CONF", config.c_str(), 1);
    openAudio();  // the device opens in the background: wait until it plays
    bool live = false;
    for (int tries = 0; tries < 1000 && !live; ++tries) {
        live = pollAudio();
        if (!live) wait(0.01);
    }
    ASSERT_TRUE(live) << "the wave device never opened";

    // The reels' runs sound where the game's record says the reels are heard turning.
    const double beat = 0.4;
    wait(beat);
    game.cues.reelsHeard = true;
    playCue(CueReelsStart);
    wait(beat);
    toggleMute();
    wait(beat);
    toggleMute();
    wait(beat);
    releaseVoices();  // the device as good as lost, then made anew
    wait(beat);
    ASSERT_TRUE(makeVoices());
    restoreVoices();
    wait(beat);
    game.cues.reelsHeard = false;
    playCue(CueReelsPause);
    wait(beat);
    closeAudio();

    const std::vector<float> x = readLeft(wave);
    std::remove(wave.c_str());
    std::remove(config.c_str());
    rmdir(dir);
    ASSERT_GT(x.size(), static_cast<size_t>(6 * beat * Rate));

    // Silence before the runs start, then three ends: the mute, the device let go, the
    // pause; after the first two the runs come back.
    std::vector<size_t> quiet = silences(x);
    ASSERT_FALSE(quiet.empty());
    if (quiet[0] == 0) quiet.erase(quiet.begin());
    ASSERT_EQ(quiet.size(), 3u) << "the runs did not fall silent three times, or not for long";
    for (size_t k = 0; k < quiet.size(); ++k) {
        SCOPED_TRACE(k);
        const size_t end = quiet[k];
        ASSERT_GT(end, Rate / 5);
        const float before = peakIn(x, end - Rate / 5, end - 2 * Period);
        ASSERT_GT(before, 0.01f) << "nothing played before the silence";
        // The gain falls over a period: the last 3 ms before the silence are already low.
        EXPECT_LT(peakIn(x, end - 3 * Rate / 1000, end), 0.3f * before);
        // ... and it falls within one period (and a few frames of slack).
        size_t loud = end;
        while (loud > end - 4 * Period && std::fabs(x[loud - 1]) < 0.2f * before) --loud;
        EXPECT_LE(end - loud, Period + 128);
        if (k < 2) {
            // ... and the runs come back before the next silence.
            size_t back = end;
            while (back < quiet[k + 1] && x[back] == 0.0f) ++back;
            EXPECT_GT(peakIn(x, back, quiet[k + 1]), 0.5f * before) << "the runs did not come back";
        }
    }
}

}  // namespace
