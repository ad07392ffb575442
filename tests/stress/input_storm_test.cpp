// Input storms against the real game in a real window: every key code, thousands of
// mouse presses and releases anywhere on every screen, and degenerate window shapes
// between frames. After every step the game must still be sane.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "app/game_state.h"
#include "game/play.h"
#include "render/pick_names.h"
#include "render/render.h"
#include "tests/stress/gl_session.h"
#include "tests/stress/glut_spy.h"

namespace {

const int StormSize = 300;
const int KeyRepeats = 50 / StressDivisor;
const int MousePairs = 2000 / StressDivisor;
const int ReshapeRounds = 100 / StressDivisor;
const uint32_t StormSeed = 20240611u;

// The names the last pick pass hit, as its records in the selection buffer give them.
struct Hits {
    int spinNames;    // lever and bet buttons
    int dollarNames;  // the token counter's coins
};

Hits hitsRecorded() {
    Hits hits = {0, 0};
    for (size_t record = 0; record < 16 && game.selectBuffer[record * 4] == 1; ++record) {
        const uint32_t name = game.selectBuffer[record * 4 + 3];
        if (name == PickLever || name == PickBetOne || name == PickBetFive) ++hits.spinNames;
        if (name == PickDollarOne || name == PickDollarTwo || name == PickDollarFive) ++hits.dollarNames;
    }
    return hits;
}

// Everything that must hold after any step: the rules' invariants, a finite
// projection, no GL error, and at most one animation timer and one step timer waiting.
::testing::AssertionResult gameSane() {
    if (const char* violation = stateViolation()) return ::testing::AssertionFailure() << violation;
    if (!projectionFinite()) return ::testing::AssertionFailure() << "a projection entry that is not finite";
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) return ::testing::AssertionFailure() << "GL error 0x" << std::hex << error;
    if (pendingTimers() > 1) return ::testing::AssertionFailure() << pendingTimers() << " timers pending";
    if (pendingStepTimers() > 1) return ::testing::AssertionFailure() << pendingStepTimers() << " step timers pending";
    return ::testing::AssertionSuccess();
}

void drawFrame() {
    onDisplay();
    glFinish();
}

class InputStorm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the storms need an X display";
        openGameWindow(StormSize, StormSize);
        ASSERT_TRUE(gameSane());
    }
};

// The game prints a line for every press and every switch to perspective; each step
// runs with standard output quiet, and the checks after it speak again.
template <class Step>
void quietly(Step step) {
    QuietStdout quiet;
    step();
}

TEST_F(InputStorm, EveryKeyCodeRepeatedLeavesTheGameSane) {
    const bool perspectiveBefore = game.usePerspective;
    const bool axesBefore = game.showAxes;
    int keysSeen = 0;
    for (int key = 0; key < 256; ++key) {
        if (key == 'q' || key == 'Q') continue;  // they end the process: see QuitKeys
        for (int repeat = 0; repeat < KeyRepeats; ++repeat) {
            quietly(
                [&] { onKeyboard(static_cast<unsigned char>(key), repeat * 7 % StormSize, repeat * 13 % StormSize); });
            ASSERT_TRUE(gameSane()) << "after key " << key << ", repeat " << repeat;
            if (repeat % 10 == 0) {
                quietly([] {
                    runLoopOnce();
                    drawFrame();
                });
                ASSERT_TRUE(gameSane()) << "after a frame following key " << key;
            }
        }
        ++keysSeen;
    }
    EXPECT_EQ(keysSeen, 254);
    // Each toggle key came in both cases, as often each: the view ends where it began.
    EXPECT_EQ(game.usePerspective, perspectiveBefore);
    EXPECT_EQ(game.showAxes, axesBefore);
    EXPECT_EQ(game.screen, ScreenTokens);  // 't' (116) is the last screen key; 'v' leaves the screen alone
}

TEST_F(InputStorm, QuitKeysEndTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    quietly(drawFrame);
    EXPECT_EXIT(onKeyboard('q', 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(onKeyboard('Q', 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(InputStorm, PressesAndReleasesOfEveryButtonAnywhereLeaveTheGameSane) {
    std::mt19937 random(StormSeed);
    const int buttons[3] = {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON};
    const char screenKeys[3] = {'p', 's', 't'};
    // Every tenth press is a left press aimed at what can be hit: the lever, the bet
    // buttons, or a dollar coin of the token counter. Three spins to one purchase drive
    // the credits down onto every stake's guard; the rest of the presses land anywhere,
    // also just outside the window, with any button.
    int lever[2] = {0, 0};
    int betOnePoint[2] = {0, 0};
    int betFivePoint[2] = {0, 0};
    int dollarFivePoint[2] = {0, 0};
    ASSERT_TRUE(leverKnobPoint(&lever[0], &lever[1]));
    ASSERT_TRUE(windowPointOf(0.65, -0.8, 0.0, &betOnePoint[0], &betOnePoint[1]));
    ASSERT_TRUE(windowPointOf(1.15, -0.8, 0.0, &betFivePoint[0], &betFivePoint[1]));
    ASSERT_TRUE(windowPointOf(-0.3, -0.5, 0.0, &dollarFivePoint[0], &dollarFivePoint[1]));
    const int* const aims[4] = {lever, betOnePoint, betFivePoint, dollarFivePoint};
    std::uniform_int_distribution<int> place(-20, StormSize + 20);
    std::uniform_int_distribution<int> pick(0, 2);

    int spinHits = 0;
    int dollarHits = 0;
    int lowestCredits = game.credits;
    for (int i = 0; i < MousePairs; ++i) {
        if (i % 20 == 0) quietly([&] { onKeyboard(screenKeys[pick(random)], 0, 0); });
        int button = buttons[pick(random)];
        int x = place(random);
        int y = place(random);
        if (i % 10 == 0) {
            const int* aim = aims[(i / 10) % 4];
            quietly([&] { onKeyboard(aim == dollarFivePoint ? 't' : 'p', 0, 0); });
            button = GLUT_LEFT_BUTTON;
            x = aim[0];
            y = aim[1];
        }
        const int32_t ticketsBefore = game.tickets;
        std::memset(game.selectBuffer, 0, sizeof game.selectBuffer);
        quietly([&] { onMouse(button, GLUT_DOWN, x, y); });
        const Hits hits = hitsRecorded();
        spinHits += hits.spinNames;
        dollarHits += hits.dollarNames;
        ASSERT_TRUE(gameSane()) << "after press " << i << " of button " << button << " at " << x << ", " << y;
        ASSERT_GE(game.tickets, ticketsBefore);
        const int releaseX = place(random);
        const int releaseY = place(random);
        quietly([&] { onMouse(button, GLUT_UP, releaseX, releaseY); });
        ASSERT_TRUE(gameSane()) << "after release " << i;
        quietly([] {
            if (game.credits == 0) onKeyboard('t', 0, 0);  // broke: head for the token counter
            runLoopOnce();
            drawFrame();
        });
        ASSERT_TRUE(gameSane()) << "after the frame following press " << i;
        if (game.credits < lowestCredits) lowestCredits = game.credits;
    }
    EXPECT_GT(spinHits, 0);
    EXPECT_GT(dollarHits, 0);
    EXPECT_EQ(lowestCredits, 0) << "the storm never spent all the tokens";
}

TEST_F(InputStorm, DegenerateWindowShapesBetweenFramesLeaveTheGameSane) {
    struct Shape {
        int width;
        int height;
    };
    const Shape shapes[] = {{0, 0}, {1, 1}, {1, 4096}, {4096, 4096}, {4096, 1}, {0, 300}, {StormSize, StormSize}};
    std::mt19937 random(StormSeed);
    std::uniform_int_distribution<int> place(0, StormSize);
    const char keys[] = {'p', 's', 't', 'v', 'a'};
    for (int round = 0; round < ReshapeRounds; ++round) {
        quietly([&] { onKeyboard(keys[round % 5], 0, 0); });
        for (const Shape& shape : shapes) {
            const int widthBefore = game.windowWidth;
            const int heightBefore = game.windowHeight;
            quietly([&] { onReshape(shape.width, shape.height); });
            ASSERT_TRUE(gameSane()) << "after a reshape to " << shape.width << " x " << shape.height;
            if (shape.width == 0 || shape.height == 0) {
                EXPECT_EQ(game.windowWidth, widthBefore);
                EXPECT_EQ(game.windowHeight, heightBefore);
            } else {
                EXPECT_EQ(game.windowWidth, shape.width);
                EXPECT_EQ(game.windowHeight, shape.height);
            }
            quietly(drawFrame);
            ASSERT_TRUE(gameSane()) << "after a frame at " << shape.width << " x " << shape.height;
            const int x = place(random);
            const int y = place(random);
            quietly([&] { onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); });
            ASSERT_TRUE(gameSane()) << "after a press at " << x << ", " << y << " in " << shape.width << " x "
                                    << shape.height;
            quietly(runLoopOnce);
        }
    }
}

}  // namespace
