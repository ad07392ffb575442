// write-sounds: writes every sound of the game, as the device gets it, into a folder as
// 32-bit float stereo WAVE files, for tools/sound_report.py to measure and for ears:
// the first variant of each sound, every variant of the repeated ones, and payouts.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/bank.h"
#include "audio/payout.h"

namespace {

const char* const SoundNames[SoundCount] = {
    "tooth", "clack",   "run-left", "run-centre", "run-right", "knock-left",  "knock-centre", "knock-right",
    "chime", "fanfare", "coin",     "clink",      "tick",      "tick-bright", "buzz",         "bounce"};

void put32(std::FILE* f, uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void put16(std::FILE* f, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

bool writeWave(const std::string& path, const float* frames, size_t count) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const auto bytes = static_cast<uint32_t>(count * 2 * sizeof(float));
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 3);  // IEEE float
    put16(f, 2);
    put32(f, SampleRate);
    put32(f, static_cast<uint32_t>(sizeof(float)) * 2u * static_cast<uint32_t>(SampleRate));
    put16(f, 2 * sizeof(float));
    put16(f, 32);
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    const bool written = std::fwrite(frames, sizeof(float), count * 2, f) == count * 2;
    return std::fclose(f) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write-sounds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    makeBank();
    bool ok = true;
    for (int s = 0; s < SoundCount; ++s) {
        for (int v = 0; v < soundPlans[s].variants; ++v) {
            const Pcm pcm = bankSound(static_cast<Sound>(s), v);
            std::string path = folder + "/" + SoundNames[s];
            if (v > 0) path += "." + std::to_string(v);
            path += ".wav";
            ok = writeWave(path, pcm.frames, pcm.count) && ok;
        }
    }
    // The payouts of a stake of 1 and of 5: a pair, and three of a kind.
    struct Example {
        const char* name;
        int tokens, tickets;
        bool triple;
    };
    const Example examples[] = {{"payout-pair-1", 0, 1, false},
                                {"payout-pair-5", 0, 5, false},
                                {"payout-triple-1", 2, 2, true},
                                {"payout-triple-5", 10, 10, true}};
    std::vector<float> frames(2 * PayoutFrames);
    for (const Example& e : examples) {
        Variation variation;
        renderPayout(e.tokens, e.tickets, e.triple, variation, frames.data());
        std::string path = folder + "/" + e.name;
        path += ".wav";
        ok = writeWave(path, frames.data(), PayoutFrames) && ok;
    }
    if (!ok) std::fprintf(stderr, "write-sounds: could not write every file into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
