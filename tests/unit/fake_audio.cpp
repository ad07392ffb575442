// The recording fake of the audio: playCue, playPayout and the device calls, plus the
// helpers the tests read the cues with.
#include "tests/unit/fake_audio.h"

namespace fakeaudio {
namespace {

struct Record {
    int steps = 0;
    int mutes = 0;
    std::vector<Heard> heard;
};

Record& rec() {
    static Record r;
    return r;
}

}  // namespace

void reset() { rec() = Record{}; }
void step() { ++rec().steps; }
const std::vector<Heard>& heard() { return rec().heard; }
int mutes() { return rec().mutes; }

}  // namespace fakeaudio

void openAudio() {}
bool pollAudio() { return false; }
bool closeAudio() { return true; }
void playCue(Cue cue) { fakeaudio::rec().heard.push_back({fakeaudio::rec().steps, cue}); }
void playPayout(int tokens, int tickets, bool threeOfAKind) {
    fakeaudio::rec().heard.push_back({fakeaudio::rec().steps, fakeaudio::HeardPayout, tokens, tickets, threeOfAKind});
}
void toggleMute() { ++fakeaudio::rec().mutes; }
