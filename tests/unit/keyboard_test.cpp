// Every key code against the keyboard table: the letter commands in both cases act
// exactly as listed, M toggles the sound, Space is the lever on the machine screen and
// acts once while held, everything else does nothing; Q quits with status 0. Of the
// special keys only F11 acts: it toggles fullscreen and nothing else; Escape only leaves it.
#include <GL/freeglut.h>

#include <string>
#include <vector>

#include "render/render.h"
#include "tests/unit/fake_audio.h"
#include "tests/unit/game_fixture.h"

namespace {

struct KeyOutcome {
    GameState state;
    std::string printed;
    int windowRedisplays, plainRedisplays, timers, fullScreenToggles, mutes;
    std::vector<int> cues;  // Cue values, or fakeaudio::HeardPayout
};

std::vector<int> cuesHeard() {
    std::vector<int> cues;
    for (const fakeaudio::Heard& h : fakeaudio::heard()) cues.push_back(h.cue);
    return cues;
}

template <typename Press>
KeyOutcome outcomeOf(Press press) {
    fakeglut::reset();
    fakeaudio::reset();
    game.driver = AnimationDriver{};  // the fake's timers are gone, and with them the chain
    testing::internal::CaptureStdout();
    press();
    KeyOutcome out{game,
                   testing::internal::GetCapturedStdout(),
                   fakeglut::windowRedisplays(),
                   fakeglut::plainRedisplays(),
                   fakeglut::timerArmings(),
                   fakeglut::fullScreenToggles(),
                   fakeaudio::mutes(),
                   cuesHeard()};
    if (out.windowRedisplays > 0) {
        EXPECT_EQ(fakeglut::lastRedisplayWindow(), 7);
    }
    if (out.timers > 0) {
        EXPECT_EQ(fakeglut::pending()[0].delay, 166u);
        EXPECT_EQ(fakeglut::pending()[0].fn, &onTimer);
        EXPECT_EQ(fakeglut::pending()[0].value, 1);
    }
    return out;
}

// A press and its release; the outcome is the press's.
KeyOutcome press(unsigned char key) {
    KeyOutcome out = outcomeOf([key] { onKeyboard(key, 12, 34); });
    onKeyboardUp(key, 12, 34);
    return out;
}

void expectSameOutcome(const KeyOutcome& got, const KeyOutcome& want) {
    EXPECT_EQ(stateDiff(got.state, want.state), "");
    EXPECT_EQ(got.printed, want.printed);
    EXPECT_EQ(got.timers, want.timers);
    EXPECT_EQ(got.cues, want.cues);
}

TEST_F(GameTest, EveryKeyCodeActsAsTheKeyboardTableSays) {
    const Screen screens[] = {ScreenMachine, ScreenPrize, ScreenTokens};
    int commands = 0;
    for (int code = 0; code < 256; ++code) {
        const unsigned char key = static_cast<unsigned char>(code);
        if (key == 'Q' || key == 'q') continue;  // ends the process: see the death tests
        for (Screen screen : screens) {
            for (bool perspective : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << "code " << code << " screen " << screen << " perspective " << perspective);
                auto prepare = [&] {
                    SetUp();
                    game.windowId = 7;
                    game.windowWidth = 640;
                    game.windowHeight = 480;
                    game.screen = screen;
                    game.usePerspective = perspective;
                    game.showAxes = perspective;  // varies with the other toggle
                };
                prepare();
                GameState want = game;
                std::string printed;
                int window = 0, plain = 0, timers = 0, mutes = 0;
                std::vector<int> cues;
                switch (key) {
                case 'A':
                case 'a':
                    want.showAxes = !want.showAxes;
                    window = 1;
                    break;
                case 'P':
                case 'p':
                    want.screen = ScreenMachine;
                    window = 1;
                    break;
                case 'S':
                case 's':
                    want.screen = ScreenPrize;
                    want.animating = 1;
                    window = 1;
                    timers = 1;
                    break;
                case 'T':
                case 't':
                    want.screen = ScreenTokens;
                    window = 1;
                    break;
                case 'V':
                case 'v':
                    // A reshape to the stored size: the notice only when perspective is chosen.
                    want.usePerspective = !want.usePerspective;
                    printed = want.usePerspective ? "perspective\n" : "";
                    plain = 1;
                    break;
                case 'M':
                case 'm': mutes = 1; break;
                case ' ':
                    if (screen == ScreenMachine) {
                        // Whatever the lever's request does from the same state, and a redisplay.
                        const KeyOutcome lever = outcomeOf(pullLever);
                        want = lever.state;
                        timers = lever.timers;
                        cues = lever.cues;
                        window = 1;
                        prepare();
                    }
                    break;
                default: break;
                }
                commands += window + plain + mutes;
                const KeyOutcome got = press(key);
                EXPECT_EQ(stateDiff(got.state, want), "");
                EXPECT_EQ(got.printed, printed);
                EXPECT_EQ(got.windowRedisplays, window);
                EXPECT_EQ(got.plainRedisplays, plain);
                EXPECT_EQ(got.timers, timers);
                EXPECT_EQ(got.fullScreenToggles, 0);
                EXPECT_EQ(got.mutes, mutes);
                EXPECT_EQ(got.cues, cues);
            }
        }
    }
    EXPECT_EQ(commands, 12 * 6 + 2);  // twelve letter keys of commands, six starting states each; Space twice
}

TEST_F(GameTest, SpaceIsTheLeverWithItsGuardAndStakeAndActsOncePerPress) {
    struct Case {
        int32_t credits, bet;
    };
    // No stake yet, a stake held, a stake refused (the buzz), the last tokens staked.
    const Case cases[] = {{10, 0}, {3, 1}, {3, 5}, {5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "credits " << c.credits << " bet " << c.bet);
        auto prepare = [&] {
            SetUp();
            game.windowId = 7;
            game.credits = game.shownCredits = c.credits;
            game.bet = c.bet;
        };
        prepare();
        const KeyOutcome lever = outcomeOf(pullLever);
        prepare();
        expectSameOutcome(press(' '), lever);
    }

    // Held down, Space pulls once however often GLUT repeats it; after its release it pulls again.
    SetUp();
    game.windowId = 7;
    betOne();
    const KeyOutcome first = outcomeOf([] {
        for (int i = 0; i < 20; ++i) onKeyboard(' ', 0, 0);
    });
    EXPECT_EQ(first.state.credits, 8);  // the run's second spin, a pair
    EXPECT_EQ(first.windowRedisplays, 1);
    onKeyboardUp(' ', 0, 0);
    EXPECT_EQ(press(' ').state.credits, 9);  // the third, a triple: 8 + 2 - 1

    // Elsewhere it does nothing, and a press held there does not hold back the next on the machine.
    for (Screen screen : {ScreenPrize, ScreenTokens}) {
        game.screen = screen;
        const GameState before = game;
        const KeyOutcome got = press(' ');
        EXPECT_EQ(stateDiff(got.state, before), "");
        EXPECT_EQ(got.windowRedisplays + got.timers, 0);
        EXPECT_TRUE(got.cues.empty());
    }
    game.screen = ScreenMachine;
    EXPECT_EQ(press(' ').state.credits, 8);  // the fourth, a pair
}

TEST_F(GameTest, EscapeOnlyLeavesFullscreenAndOnlyWhereTheWindowManagerOffersIt) {
    for (bool offered : {true, false}) {
        SCOPED_TRACE(testing::Message() << "fullscreen offered " << offered);
        SetUp();
        game.fullScreenOffered = offered;
        game.windowId = 7;
        const GameState before = game;
        onKeyboard(27, 0, 0);  // not fullscreen: nothing
        onKeyboardUp(27, 0, 0);
        EXPECT_EQ(fakeglut::fullScreenToggles(), 0);
        glutFullScreenToggle();  // fullscreen, however it came about
        onKeyboard(27, 0, 0);
        EXPECT_EQ(fakeglut::fullScreen(), !offered);
        onKeyboard(27, 0, 0);  // held, or pressed again
        EXPECT_EQ(fakeglut::fullScreenToggles(), offered ? 2 : 1);
        EXPECT_EQ(stateDiff(game, before), "");
        EXPECT_EQ(fakeglut::windowRedisplays() + fakeglut::plainRedisplays() + fakeglut::timerArmings(), 0);
    }
}

TEST_F(GameTest, OnlyF11AmongTheSpecialKeysActsAndItOnlyTogglesFullscreen) {
    // Beyond every code GLUT and freeglut deliver (F1 = 1 to the modifiers near 0x72),
    // with and without a window manager that offers fullscreen.
    for (int n = 0; n < 2 * 0x200; ++n) {
        const int key = n % 0x200;
        SetUp();
        game.fullScreenOffered = n < 0x200;
        SCOPED_TRACE(testing::Message() << "special key " << key << " fullscreen offered " << game.fullScreenOffered);
        game.windowId = 7;
        game.windowWidth = 640;
        game.windowHeight = 480;
        const GameState before = game;
        const KeyOutcome got = outcomeOf([key] { onSpecialKey(key, 12, 34); });
        EXPECT_EQ(stateDiff(got.state, before), "");
        EXPECT_EQ(got.printed, "");
        EXPECT_EQ(got.windowRedisplays + got.plainRedisplays + got.timers, 0);
        EXPECT_EQ(got.fullScreenToggles, key == GLUT_KEY_F11 && game.fullScreenOffered ? 1 : 0);
    }
}

TEST_F(GameTest, ProjectionKeyTwiceRestoresTheProjection) {
    onReshape(900, 900);
    testing::internal::CaptureStdout();
    onKeyboard('v', 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(game.usePerspective);
    testing::internal::CaptureStdout();
    onKeyboard('V', 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "perspective\n");
    EXPECT_TRUE(game.usePerspective);
    EXPECT_EQ(game.windowWidth, 900);
    EXPECT_EQ(game.windowHeight, 900);
}

TEST_F(GameTest, ReshapeToAZeroSideChangesNothing) {
    onReshape(640, 480);
    const GameState before = game;
    const int redisplays = fakeglut::plainRedisplays();
    testing::internal::CaptureStdout();
    onReshape(0, 480);
    onReshape(640, 0);
    onReshape(0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(stateDiff(game, before), "");
    EXPECT_EQ(fakeglut::plainRedisplays(), redisplays);
}

using KeyboardDeathTest = GameTest;

TEST_F(KeyboardDeathTest, QuitKeyEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(onKeyboard('q', 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(onKeyboard('Q', 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(KeyboardDeathTest, QuitKeyEndsTheProcessMidSpinOnAnyScreen) {
    betOne();
    idleSteps(40);
    EXPECT_EXIT(onKeyboard('Q', 0, 0), ::testing::ExitedWithCode(0), "");
    onKeyboard('t', 0, 0);
    EXPECT_EXIT(onKeyboard('q', 0, 0), ::testing::ExitedWithCode(0), "");
}

}  // namespace
