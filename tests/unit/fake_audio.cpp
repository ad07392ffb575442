// The recording fake of the audio: playCue and the device calls, plus the helpers the
// tests read the cues with.
#include "tests/unit/fake_audio.h"

namespace fakeaudio {
namespace {

struct Record {
    int steps = 0;
    std::vector<Heard> heard;
    int muteToggles = 0;
};

Record& rec() {
    static Record r;
    return r;
}

}  // namespace

void reset() { rec() = Record{}; }
void step() { ++rec().steps; }
const std::vector<Heard>& heard() { return rec().heard; }
int muteToggles() { return rec().muteToggles; }

}  // namespace fakeaudio

bool openAudio() { return false; }
void closeAudio() {}
void playCue(Cue cue) { fakeaudio::rec().heard.push_back({fakeaudio::rec().steps, cue}); }
void toggleMute() { ++fakeaudio::rec().muteToggles; }
