// Whole frames with the real pictures against reference frames kept in the source tree:
// a change to the drawing may make a frame cheaper, never different to the eye.
// SLOT_UPDATE_REFERENCES=1 writes the frames as the new references instead of comparing.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>

#include "app/game_state.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/png_file.h"
#include "tests/render/stdout_capture.h"

using namespace rt;

namespace {

// A pixel differs when a channel is more than this many levels off; a frame differs
// when more than this share of its pixels do.
const int MaxChannelDifference = 24;
const double MaxDifferingShare = 0.001;

const int MidSpinSteps = 150;  // the left reel landed, the others still turning
const float MidFlightBall = 0.4f;

struct ReferenceScreen {
    const char* name;
    std::function<void()> setUp;
};

void reshapeQuietly() {
    StdoutCapture quiet;
    onReshape(WindowSide, WindowSide);
}

// Plays `spins` one-token spins to their end, as the animation does, step by step.
void playSpins(int spins) {
    for (int spin = 0; spin < spins; ++spin) {
        betOne();
        for (int steps = 0; game.animating != 0 && steps < 5000; ++steps) machineStep();
    }
}

// From a fresh start the generator's first spins are three different symbols, then a
// pair, then three of a kind.
const ReferenceScreen Screens[] = {
    {"machine_at_rest", [] {}},
    {"machine_orthographic",
     [] {
         game.usePerspective = false;
         reshapeQuietly();
     }},
    {"machine_axes", [] { game.showAxes = true; }},
    {"machine_mid_spin",
     [] {
         betOne();
         for (int i = 0; i < MidSpinSteps; ++i) machineStep();
     }},
    {"machine_after_loss", [] { playSpins(1); }},
    {"machine_after_pair", [] { playSpins(2); }},
    {"machine_after_three", [] { playSpins(3); }},
    {"token_counter", [] { game.screen = ScreenTokens; }},
    {"prize_loser",
     [] {
         game.screen = ScreenPrize;
         game.tickets = WinnerTickets - 1;
     }},
    {"prize_winner",
     [] {
         game.screen = ScreenPrize;
         game.tickets = WinnerTickets;
         game.ballHeight = MidFlightBall;
     }},
};

// Lets gtest name the screen in its messages.
void PrintTo(const ReferenceScreen& screen, std::ostream* out) { *out << screen.name; }

class ReferenceFrame : public ::testing::TestWithParam<ReferenceScreen> {
protected:
    void SetUp() override {
        ASSERT_TRUE(startGameIn(SLOT_STAGE_DIR_PATH)) << "the render tests need an X display in DISPLAY";
        restoreStartState();
    }
};

}  // namespace

TEST_P(ReferenceFrame, LooksLikeItsReference) {
    const ReferenceScreen& screen = GetParam();
    StdoutCapture quiet;  // spins and presses print
    screen.setUp();
    quiet.finish();
    const Frame frame = showFrame();
    const std::string file = std::string(screen.name) + ".png";
    const std::string reference = std::string(SLOT_REFERENCE_DIR) + "/" + file;

    if (std::getenv("SLOT_UPDATE_REFERENCES")) {
        ASSERT_TRUE(writePng(reference, frame.width(), frame.height(), frame.rgb)) << reference;
        std::printf("wrote %s\n", reference.c_str());
        return;
    }

    int width = 0;
    int height = 0;
    std::vector<unsigned char> expected;
    ASSERT_TRUE(readPng(reference, &width, &height, &expected)) << "no reference " << reference;
    ASSERT_EQ(width, frame.width());
    ASSERT_EQ(height, frame.height());
    size_t differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
            const Rgb want = {expected[i], expected[i + 1], expected[i + 2]};
            differing += colourDistance(frame.at(x, y), want) > MaxChannelDifference ? 1 : 0;
        }
    const size_t allowed = static_cast<size_t>(MaxDifferingShare * width * height);
    std::printf("%s: %zu pixels differ by more than %d levels (at most %zu may)\n", screen.name, differing,
                MaxChannelDifference, allowed);
    if (differing > allowed) {
        const std::string actual = std::string(SLOT_ACTUAL_DIR) + "/" + file;
        const bool written = writePng(actual, frame.width(), frame.height(), frame.rgb);
        ADD_FAILURE() << screen.name << ": " << differing << " pixels differ from " << reference << "; the frame drawn "
                      << (written ? "is in " + actual : "could not be written to " + actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ReferenceFrame, ::testing::ValuesIn(Screens),
                         [](const ::testing::TestParamInfo<ReferenceScreen>& info) {
                             return std::string(info.param.name);
                         });
