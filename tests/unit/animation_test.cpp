// The steps of the animation, one as each falls due: the timeline of a spin and the
// frames it asks for, the prize key before any spin, a spin asked for mid-animation,
// the screens that pause the machine, the ball.
#include <algorithm>
#include <vector>

#include "tests/unit/game_fixture.h"

namespace {

// The prize key alone sets the machine going with the marquee standing until the right
// reel lands.
constexpr Timeline PrizeKey = timeline(0.0f);

// Where the machine stands after `n` steps of a timeline that began from lever 0,
// reels at `reelStart` and marquee 0; `spin` says whether a spin (not the prize key)
// started it, which decides whether the marquee makes its first turn.
struct Expected {
    float lever, marquee, reel[3];
    MachinePhase phase;
    bool settling;
    int animating;
};

Expected expectedAt(int n, bool spin, const int stop[3], const float reelStart[3]) {
    const Timeline& t = spin ? Spin : PrizeKey;
    Expected e{};
    e.lever = n <= t.fullPull ? 2.0f * n : std::max(5.0f, 70.0f - 2.0f * (n - t.fullPull));
    e.settling = n > t.fullPull;
    for (int i = 0; i < 3; ++i) {
        const float run = 20.0f * (n - t.fullPull);
        const float limit = ReelRunLimit[i];
        e.reel[i] = n <= t.fullPull ? reelStart[i] : run <= limit ? run : static_cast<float>(stop[i]) + limit;
    }
    const float firstTurn = spin ? std::max(-360.0f, -2.0f * n) : 0.0f;
    const int settled = t.reelLands[2];
    e.marquee = n < settled ? firstTurn : std::max(-720.0f, firstTurn - 2.0f * (n - settled + 1));
    e.phase = n >= settled ? PhaseSettled : (spin && n <= t.firstTurn) ? PhaseSpinning : PhaseIdle;
    e.animating = n < t.ends ? 1 : 0;
    return e;
}

void expectMachine(const Expected& e) {
    EXPECT_EQ(game.leverAngle, e.lever);
    EXPECT_EQ(game.marqueeAngle, e.marquee);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(game.reelAngle[i], e.reel[i]) << "reel " << i;
    EXPECT_EQ(game.machinePhase, e.phase);
    EXPECT_EQ(game.reelsSettling, e.settling);
    EXPECT_EQ(game.animating, e.animating);
}

TEST_F(GameTest, TimelineOfOneSpin) {
    game.windowId = 3;
    game.shownCredits = 10;  // what the first frame shows
    betOne();                // stops 135, 305, 215
    const int stop[3] = {135, 305, 215};
    const float still[3] = {0, 0, 0};
    // The centre reel lands in the step the marquee completes its first turn: one case below.
    static_assert(Spin.reelLands[1] == Spin.firstTurn, "the centre reel and the marquee's first turn part");
    for (int n = 1; n <= 440; ++n) {
        SCOPED_TRACE(n);
        oneStep();
        expectMachine(expectedAt(n, true, stop, still));
        // A frame for every step that moves something; the last step only ends the
        // animation, and a loss leaves the status bar nothing to catch up on.
        EXPECT_EQ(fakeglut::windowRedisplays(), std::min(n, Spin.ends - 1));
        EXPECT_EQ(fakeglut::lastRedisplayWindow(), 3);

        // The steps the timeline is known by, spelt out.
        switch (n) {
        case Spin.fullPull: EXPECT_EQ(game.leverAngle, 70.0f); break;
        case Spin.fullPull + 1:
            EXPECT_EQ(game.leverAngle, 68.0f);
            EXPECT_EQ(game.reelAngle[0], 20.0f);
            EXPECT_TRUE(game.reelsSettling);
            break;
        case 68: EXPECT_EQ(game.leverAngle, 5.0f); break;
        case Spin.reelLands[0] - 1: EXPECT_EQ(game.reelAngle[0], 1440.0f); break;
        case Spin.reelLands[0]: EXPECT_EQ(game.reelAngle[0], 1575.0f); break;
        case Spin.reelLands[1] - 1: EXPECT_EQ(game.reelAngle[1], 2880.0f); break;
        case Spin.reelLands[1]:
            EXPECT_EQ(game.reelAngle[1], 3185.0f);
            EXPECT_EQ(game.marqueeAngle, -360.0f);
            EXPECT_EQ(game.machinePhase, PhaseSpinning);
            break;
        case Spin.firstTurn + 1: EXPECT_EQ(game.machinePhase, PhaseIdle); break;
        case Spin.reelLands[2] - 1: EXPECT_EQ(game.reelAngle[2], 4320.0f); break;
        case Spin.reelLands[2]:
            EXPECT_EQ(game.reelAngle[2], 4535.0f);
            EXPECT_EQ(game.machinePhase, PhaseSettled);
            EXPECT_EQ(game.marqueeAngle, -362.0f);
            break;
        case Spin.ends - 1:
            EXPECT_EQ(game.marqueeAngle, -720.0f);
            EXPECT_EQ(game.animating, 1);
            break;
        case Spin.ends: EXPECT_EQ(game.animating, 0); break;
        default: break;
        }
    }
    // Settled: more steps change nothing at all, so none is taken.
    const GameState settled = game;
    for (int i = 0; i < 50; ++i) machineStep();
    EXPECT_EQ(stateDiff(game, settled), "");
    idleSteps(50);
    EXPECT_EQ(stateDiff(game, settled), "");
    EXPECT_EQ(fakeglut::windowRedisplays(), Spin.ends - 1);
    EXPECT_EQ(game.credits, 9);  // paid once, at the request
}

TEST_F(GameTest, TimelineOfThePrizeKeyBeforeAnySpin) {
    onKeyboard('s', 0, 0);
    onKeyboard('p', 0, 0);
    const int stop[3] = {0, 0, 0};
    const float still[3] = {0, 0, 0};
    for (int n = 1; n <= 620; ++n) {
        SCOPED_TRACE(n);
        oneStep();
        expectMachine(expectedAt(n, false, stop, still));
        switch (n) {
        case PrizeKey.reelLands[2] - 1:
            EXPECT_EQ(game.machinePhase, PhaseIdle);
            EXPECT_EQ(game.marqueeAngle, 0.0f);
            break;
        case PrizeKey.reelLands[2]:
            EXPECT_EQ(game.machinePhase, PhaseSettled);
            EXPECT_EQ(game.marqueeAngle, -2.0f);
            EXPECT_EQ(game.reelAngle[2], 4320.0f);
            break;
        case PrizeKey.ends - 1:
            EXPECT_EQ(game.marqueeAngle, -720.0f);
            EXPECT_EQ(game.animating, 1);
            break;
        case PrizeKey.ends: EXPECT_EQ(game.animating, 0); break;
        default: break;
        }
    }
    // The reels end on whole turns, there was no stake or payout, and the ball never
    // moved on the machine screen.
    EXPECT_EQ(game.reelAngle[0], 1440.0f);
    EXPECT_EQ(game.reelAngle[1], 2880.0f);
    EXPECT_EQ(game.credits, 10);
    EXPECT_EQ(game.tickets, 0);
    EXPECT_EQ(game.ballHeight, 0.0f);
}

TEST_F(GameTest, ASpinAskedForMidAnimationStartsTheTimelineAfresh) {
    betOne();
    idleSteps(120);
    const float standing[3] = {game.reelAngle[0], game.reelAngle[1], game.reelAngle[2]};
    ASSERT_EQ(standing[0], 1575.0f);  // the left reel has landed, the others still run
    ASSERT_EQ(standing[1], 1700.0f);
    betOne();  // stops 25, 135, 25
    EXPECT_EQ(game.leverAngle, 0.0f);
    EXPECT_EQ(game.marqueeAngle, 0.0f);
    EXPECT_EQ(game.machinePhase, PhaseSpinning);
    EXPECT_FALSE(game.reelsSettling);
    const int stop[3] = {25, 135, 25};
    for (int n = 1; n <= 440; ++n) {
        SCOPED_TRACE(n);
        oneStep();
        expectMachine(expectedAt(n, true, stop, standing));
    }
    EXPECT_EQ(fakeglut::pendingOf(&onTimer), 1);
    EXPECT_LE(fakeglut::pendingOf(&onStepDue), 1);
}

TEST_F(GameTest, OtherScreensPauseTheMachineAndTheBallMovesOnlyOnThePrizeScreen) {
    betOne();
    idleSteps(50);
    const GameState at50 = game;

    const int before = fakeglut::windowRedisplays();
    onKeyboard('t', 0, 0);
    GameState expected = at50;
    expected.screen = ScreenTokens;
    idleSteps(100);
    EXPECT_EQ(stateDiff(game, expected), "");             // nothing moves on the token screen
    EXPECT_EQ(fakeglut::windowRedisplays(), before + 1);  // so only the key asks for a frame

    // A loser's prize counter draws no ball, so the ball is not moved there either.
    onKeyboard('s', 0, 0);
    expected.screen = ScreenPrize;
    idleSteps(30);
    EXPECT_EQ(stateDiff(game, expected), "");
    EXPECT_EQ(fakeglut::windowRedisplays(), before + 2);
    game.tickets = WinnerTickets;  // as if the spin had paid them
    idleSteps(3);
    EXPECT_GT(game.ballHeight, 0.0f);
    EXPECT_EQ(fakeglut::windowRedisplays(), before + 2 + 3);
    EXPECT_EQ(game.leverAngle, at50.leverAngle);
    EXPECT_EQ(game.reelAngle[1], at50.reelAngle[1]);

    onKeyboard('p', 0, 0);
    oneStep();  // step 51 of the spin
    const int stop[3] = {135, 305, 215};
    const float still[3] = {0, 0, 0};
    expectMachine(expectedAt(51, true, stop, still));
}

// ---------------------------------------------------------------------------------
// The prize ball
// ---------------------------------------------------------------------------------

// The ball's heights as its rule gives them: float heights, double steps, each sum
// formed in double and rounded to float when stored.
std::vector<float> ballHeights(int steps) {
    std::vector<float> h;
    float height = 0.0f;
    bool rising = true;
    for (int i = 0; i < steps; ++i) {
        if (static_cast<double>(height) < 0.75 && rising) {
            height = static_cast<float>(static_cast<double>(height) + 0.05);
        } else {
            height = static_cast<float>(static_cast<double>(height) - 0.1);
            rising = static_cast<double>(height) < 0.05;
        }
        h.push_back(height);
    }
    return h;
}

TEST_F(GameTest, BallFirstFortySteps) {
    const std::vector<float> want = ballHeights(40);
    // The shape: 15 rises to a hair above 0.75, 8 falls to just below 0, 16 up, 8 down.
    for (int n = 1; n <= 40; ++n) {
        const float prev = n == 1 ? 0.0f : want[n - 2];
        const bool up = (n <= 15) || (n >= 24 && n <= 39);
        EXPECT_EQ(want[n - 1] > prev, up) << "step " << n;
    }
    EXPECT_GT(want[14], 0.75f);
    EXPECT_LT(want[22], 0.0f);
    EXPECT_GT(want[22], -0.051f);                    // one fall below the last height above 0.05
    EXPECT_GE(static_cast<double>(want[21]), 0.05);  // why the eighth fall happens at all

    game.tickets = WinnerTickets;  // the ball is drawn, and moved, for a winner only
    onKeyboard('s', 0, 0);
    for (int n = 1; n <= 40; ++n) {
        oneStep();
        EXPECT_EQ(game.ballHeight, want[n - 1]) << "step " << n;
    }
    EXPECT_EQ(game.leverAngle, 0.0f);  // the machine stood still meanwhile
}

TEST_F(GameTest, BallKeepsItsHeightAcrossScreens) {
    const std::vector<float> want = ballHeights(20);
    game.tickets = WinnerTickets;
    onKeyboard('s', 0, 0);
    idleSteps(10);
    onKeyboard('t', 0, 0);
    idleSteps(5);
    onKeyboard('s', 0, 0);
    idleSteps(10);
    EXPECT_EQ(game.ballHeight, want[19]);
}

}  // namespace
