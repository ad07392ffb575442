// The step clock, driven through the fake clock: steps fall due at the clock's rate
// whatever the frame rate, a late frame runs the steps it missed up to a quarter second's, a stall
// does not make the timeline race, and a step that changes nothing drawn asks for no frame.
#include <cmath>
#include <functional>
#include <set>

#include "tests/unit/game_fixture.h"

namespace {

constexpr uint64_t Period = 166;
constexpr double StepMs = 1000.0 / StepsPerSecond;

// The main loop, simulated in turns of a millisecond: due timers fire, then the idle
// callback runs if it is on; a frame it asks for holds the loop for `frameMs`, as a
// swap held to the display's refresh does. `afterIdle` sees every idle call.
struct Loop {
    uint64_t frameMs = 0;
    int idleCalls = 0;
    std::function<void()> afterIdle;

    void run(uint64_t ms) {
        const uint64_t end = fakeglut::now() + ms;
        while (fakeglut::now() < end) {
            fakeglut::advance(1);
            if (fakeglut::IdleFn idle = fakeglut::idle()) {
                const int frames = fakeglut::windowRedisplays();
                idle();
                ++idleCalls;
                if (afterIdle) afterIdle();
                if (fakeglut::windowRedisplays() > frames) fakeglut::advance(frameMs);
            }
        }
    }
};

// Steps a spin has taken, read from its marquee during its first turn.
int stepsOfFirstTurn() { return static_cast<int>(-game.marqueeAngle / 2.0f); }

// Steps due by the clock `sinceFirst` ms after the first step, the first included.
int stepsDueAfter(uint64_t sinceFirst) { return static_cast<int>(sinceFirst * StepsPerSecond / 1000) + 1; }

TEST_F(GameTest, AtAnyFrameRateStepsFallDueByTheClockAndTheSpinLastsAsLong) {
    for (uint64_t frameMs : {0, 1, 7, 16, 17, 33, 50, 120}) {
        SCOPED_TRACE(testing::Message() << frameMs << " ms a frame");
        SetUp();
        game.windowId = 4;
        game.shownCredits = 10;  // what the first frame shows
        Loop loop;
        loop.frameMs = frameMs;
        betOne();
        uint64_t firstStep = 0, landed = 0, ended = 0;
        int frames = 0, earlySteps = 0, lateSteps = 0;
        loop.afterIdle = [&] {
            const uint64_t now = fakeglut::now();
            if (firstStep == 0 && game.leverAngle > 0.0f) firstStep = now;
            if (landed == 0 && game.machinePhase == PhaseSettled) landed = now;
            if (ended == 0 && game.animating == 0) ended = now;
            // Every step due has run at each call, and none that is not yet due.
            if (game.marqueeAngle > -360.0f) {
                const int due = stepsDueAfter(now - firstStep);
                earlySteps += stepsOfFirstTurn() > due;
                lateSteps += stepsOfFirstTurn() < due;
            }
        };
        loop.run(9000);
        frames = fakeglut::windowRedisplays();
        EXPECT_EQ(earlySteps, 0);
        EXPECT_EQ(lateSteps, 0);
        // The first step one period after the press; the right reel lands and the spin
        // ends at their steps of the clock, each late by no more than the frame before
        // it (and the loop's turn after it).
        const int landing = Spin.reelLands[2] - 1;  // steps after the first
        const int end = Spin.ends - 1;
        EXPECT_EQ(firstStep, Period);
        EXPECT_GE(landed - firstStep, std::ceil(landing * StepMs));
        EXPECT_LE(landed - firstStep, std::ceil(landing * StepMs) + frameMs + 1);
        EXPECT_GE(ended - firstStep, std::ceil(end * StepMs));
        EXPECT_LE(ended - firstStep, std::ceil(end * StepMs) + frameMs + 1);
        EXPECT_EQ(game.machinePhase, PhaseSettled);
        // At most a frame a step, the last (which only ends a loss) none; with slow
        // frames, a frame for several.
        EXPECT_LE(frames, Spin.ends - 1);
        if (frameMs + 1 < StepMs) {
            EXPECT_EQ(frames, Spin.ends - 1);
        }
        EXPECT_LE(frames, static_cast<int>((end * StepMs + 100) / static_cast<double>(frameMs + 1)) + 1);
        EXPECT_EQ(fakeglut::lastRedisplayWindow(), 4);
    }
}

TEST_F(GameTest, ALateFrameCatchesUpAQuarterSecondAtMostAndAStallDoesNotRace) {
    betOne();
    fakeglut::advance(Period);
    ASSERT_EQ(fakeglut::idle(), &onIdle);
    onIdle();  // the first step is due the moment the steps start
    EXPECT_EQ(stepsOfFirstTurn(), 1);
    EXPECT_EQ(fakeglut::windowRedisplays(), 1);

    // Early: nothing is due, nothing is drawn, and the idle callback waits off the list
    // for a timer that brings it back when the next step falls due, a step's time on.
    fakeglut::advanceBy(StepPeriod - std::chrono::nanoseconds(1));
    onIdle();
    EXPECT_EQ(stepsOfFirstTurn(), 1);
    EXPECT_EQ(fakeglut::windowRedisplays(), 1);
    EXPECT_EQ(fakeglut::idle(), nullptr);
    ASSERT_EQ(fakeglut::pendingOf(&onStepDue), 1);
    fakeglut::advance(1);
    EXPECT_EQ(fakeglut::idle(), &onIdle);

    // A frame 100 ms late, 109 ms after the first step: the steps it missed, in one frame.
    fakeglut::advance(100);
    onIdle();
    EXPECT_EQ(stepsOfFirstTurn(), stepsDueAfter(109));
    EXPECT_EQ(stepsOfFirstTurn(), 14);
    EXPECT_EQ(fakeglut::windowRedisplays(), 2);

    // A second's stall: a quarter second's steps, and the rest are let go.
    fakeglut::advance(1000);
    onIdle();
    EXPECT_EQ(stepsOfFirstTurn(), 14 + MaxCatchUpSteps);
    EXPECT_EQ(fakeglut::windowRedisplays(), 3);
    // From there the timeline goes on at its pace: one step a step's time.
    idleSteps(10);
    EXPECT_EQ(stepsOfFirstTurn(), 14 + MaxCatchUpSteps + 10);
}

// Where nothing drawn moves, the driver waits for the chain without a step or a frame:
// a loser's prize counter (no ball is drawn), the token counter after the prize counter
// (which leaves an animation flagged for good), a settled machine.
TEST_F(GameTest, WhereNothingDrawnMovesNoStepAndNoFrameIsTaken) {
    Loop loop;
    game.shownCredits = 10;  // what the first frame shows
    betOne();                // a loss, over after 3.8 s
    loop.run(8000);
    ASSERT_EQ(game.animating, 0);
    const GameState settled = game;
    const int framesOfTheSpin = fakeglut::windowRedisplays();
    EXPECT_EQ(framesOfTheSpin, Spin.ends - 1);  // the step that ends a loss changes nothing drawn

    const int calls = loop.idleCalls;
    onKeyboard('s', 0, 0);
    loop.run(60000);
    onKeyboard('t', 0, 0);
    loop.run(60000);
    EXPECT_EQ(game.ballHeight, settled.ballHeight);
    EXPECT_EQ(fakeglut::windowRedisplays(), framesOfTheSpin + 2);  // the keys' own
    // Woken once a period by the chain, and put straight back to sleep.
    EXPECT_LE(loop.idleCalls - calls, static_cast<int>(uint64_t{120000} / Period) + 3);
    EXPECT_EQ(fakeglut::pendingOf(&onStepDue), 0);

    // Back on the machine the flag drops at the first step, with nothing to draw.
    onKeyboard('p', 0, 0);
    loop.run(1000);
    EXPECT_EQ(game.animating, 0);
    EXPECT_EQ(fakeglut::windowRedisplays(), framesOfTheSpin + 3);
    GameState expected = settled;
    expected.screen = ScreenMachine;
    EXPECT_EQ(stateDiff(game, expected), "");
}

// The status bar catches up when an animation ends: that step asks for a frame when the
// bar has winnings to show, though nothing else moves in it.
TEST_F(GameTest, TheStepThatEndsAWinningSpinAsksForAFrame) {
    Loop loop;
    game.shownCredits = 10;
    skipSpins(1);
    betOne();  // a pair: one ticket, shown when the spin is over
    int frameAtEnd = -1;
    loop.afterIdle = [&frameAtEnd] {
        if (frameAtEnd < 0 && game.animating == 0) frameAtEnd = fakeglut::windowRedisplays();
    };
    loop.run(8000);
    EXPECT_EQ(game.tickets, 1);
    EXPECT_EQ(game.shownTickets, 0);  // no frame was drawn here to copy it
    EXPECT_EQ(frameAtEnd, Spin.ends);
    EXPECT_EQ(fakeglut::windowRedisplays(), Spin.ends);
}

// S pressed at any moment around the end of a winner's spin: as the last steps run, as
// the chain fires its last periods with the idle callback on, or once it has turned it
// off. The ball's first step comes within a period of the press, and it goes on.
TEST_F(GameTest, STheMomentAWinnersSpinEndsBouncesTheBallWithinAPeriod) {
    for (uint64_t frameMs : {0, 20}) {
        Loop loop;
        loop.frameMs = frameMs;
        uint64_t ended = 0;
        loop.afterIdle = [&ended] {
            if (ended == 0 && game.animating == 0) ended = fakeglut::now();
        };
        betOne();
        loop.run(8000);
        ASSERT_NE(ended, 0u);
        loop.afterIdle = nullptr;
        for (int pressed = -300; pressed < 700; pressed += 7) {
            SCOPED_TRACE(testing::Message() << frameMs << " ms a frame, S " << pressed << " ms from the end");
            SetUp();
            game.tickets = WinnerTickets;
            betOne();
            loop.run(ended + pressed);
            ASSERT_EQ(game.animating, pressed < 0 ? 1 : 0);
            onKeyboard('s', 0, 0);
            const float atPress = game.ballHeight;
            loop.run(Period + 17 + frameMs);
            EXPECT_NE(game.ballHeight, atPress) << "the ball waits";
            std::set<float> heights;
            loop.afterIdle = [&heights] { heights.insert(game.ballHeight); };
            loop.run(100);
            loop.afterIdle = nullptr;
            EXPECT_GE(heights.size(), 3u) << "the ball stopped";
        }
        SetUp();
    }
}

}  // namespace
