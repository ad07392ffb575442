// The record at program start, a new game, the generator's stops, and the rules of
// staking, payout and buying tokens with every guard.
#include <array>

#include "tests/unit/game_fixture.h"

namespace {

// Taken during static initialisation, before any test has touched the record; the
// record, its generator too, is put back as it was afterwards.
struct StartSnapshot {
    GameState state;
    int firstDraw;
};
StartSnapshot takeStartSnapshot() {
    StartSnapshot s{game, gameRand()};
    game = s.state;
    return s;
}
const StartSnapshot startSnapshot = takeStartSnapshot();

TEST(StartValues, EverythingZeroButTheBallRising) {
    GameState zero{};
    zero.ballRising = true;
    EXPECT_EQ(stateDiff(startSnapshot.state, zero), "");
    // state 1 -> 1 * 214013 + 2531011 = 2745024; bits 16..30 of it are 41.
    EXPECT_EQ(startSnapshot.firstDraw, 41);
}

// Every field gets a value no default has, so a field resetGame wrongly writes or
// wrongly skips shows up in the difference.
void scribble(GameState& g) {
    g.credits = 101;
    g.tickets = 102;
    g.bet = 103;
    g.shownCredits = 104;
    g.shownTickets = 105;
    g.screen = ScreenTokens;
    g.machinePhase = PhaseSettled;
    g.animating = 1;
    g.winKind = WinTriple;
    for (int i = 0; i < 3; ++i) {
        g.reelStop[i] = 200 + i;
        g.reelAngle[i] = 300.5f + static_cast<float>(i);
    }
    g.reelsSettling = true;
    g.leverAngle = 33.0f;
    g.marqueeAngle = -44.0f;
    g.ballHeight = 0.35f;
    g.ballRising = false;
    g.showAxes = true;
    g.usePerspective = false;
    g.eye = {1.5f, 2.5f, 3.5f};
    g.center = {4.5f, 5.5f, 6.5f};
    g.up = {7.5f, 8.5f, 9.5f};
    g.windowId = 11;
    g.windowWidth = 12;
    g.windowHeight = 13;
    g.pickX = 14;
    g.pickY = 15;
    g.pickSize = 16.0f;
    for (int i = 0; i < SelectBufferSize; ++i) g.selectBuffer[i] = 1000u + static_cast<uint32_t>(i);
    g.hudSlot = 17;
}

TEST_F(GameTest, ResetGameSetsTheNewGameDefaultsAndLeavesTheRest) {
    scribble(game);
    GameState expected = game;
    expected.usePerspective = true;
    expected.showAxes = false;
    expected.screen = ScreenMachine;
    expected.eye = {0.0f, 0.0f, 4.0f};
    expected.center = {0.0f, 0.0f, 0.0f};
    expected.up = {0.0f, 1.0f, 0.0f};
    expected.pickSize = 1.0f;
    expected.credits = 10;
    expected.tickets = 0;
    expected.shownTickets = 0;
    expected.reelAngle[0] = expected.reelAngle[1] = expected.reelAngle[2] = 0.0f;
    expected.leverAngle = 0.0f;

    resetGame();
    EXPECT_EQ(stateDiff(game, expected), "");
    EXPECT_EQ(fakeglut::timerArmings(), 0);
    EXPECT_EQ(fakeglut::windowRedisplays() + fakeglut::plainRedisplays(), 0);
}

TEST_F(GameTest, FirstEightSpinsOfAFreshRun) {
    const std::array<std::array<int, 3>, 8> stops = {{{135, 305, 215},
                                                      {25, 135, 25},
                                                      {215, 215, 215},
                                                      {25, 135, 135},
                                                      {135, 305, 135},
                                                      {305, 305, 215},
                                                      {305, 25, 305},
                                                      {25, 215, 135}}};
    const WinKind winKinds[8] = {WinNone, WinPair, WinTriple, WinPair, WinPair, WinPair, WinPair, WinNone};
    // One token a spin from 10: a loss, a pair, a triple capped at 10 less the stake...
    const int credits[8] = {9, 8, 9, 8, 7, 6, 5, 4};
    const int tickets[8] = {0, 1, 3, 4, 5, 6, 7, 7};
    for (int spin = 0; spin < 8; ++spin) {
        SCOPED_TRACE(spin + 1);
        betOne();
        EXPECT_EQ(game.reelStop[0], stops[spin][0]);
        EXPECT_EQ(game.reelStop[1], stops[spin][1]);
        EXPECT_EQ(game.reelStop[2], stops[spin][2]);
        EXPECT_EQ(game.winKind, winKinds[spin]);
        EXPECT_EQ(game.credits, credits[spin]);
        EXPECT_EQ(game.tickets, tickets[spin]);
    }
}

// ---------------------------------------------------------------------------------
// Payout by stake
// ---------------------------------------------------------------------------------

enum class Request { Lever, BetOne, BetFive };

struct Payout {
    Request request;
    int betBefore;  // the stake the lever replays
    int credits;
    WinKind outcome;  // the spin of the fresh run it plays: the first a loss, the second a pair, the third a triple
    int creditsAfter;
    int ticketsWon;
};

std::ostream& operator<<(std::ostream& os, const Payout& p) {
    return os << "request " << static_cast<int>(p.request) << " bet " << p.betBefore << " credits " << p.credits
              << " outcome " << p.outcome;
}

class PayoutTest : public GameTest, public ::testing::WithParamInterface<Payout> {};

TEST_P(PayoutTest, PaysByStakeAndOutcome) {
    const Payout& p = GetParam();
    const int stake = p.request == Request::BetOne ? 1 : p.request == Request::BetFive ? 5 : p.betBefore;
    game.bet = p.betBefore;
    game.credits = p.credits;
    game.shownCredits = p.credits;
    game.tickets = 3;
    game.leverAngle = 5.0f;
    game.marqueeAngle = -720.0f;
    game.reelsSettling = true;
    game.machinePhase = PhaseSettled;
    skipSpins(p.outcome);

    switch (p.request) {
    case Request::Lever: pullLever(); break;
    case Request::BetOne: betOne(); break;
    case Request::BetFive: betFive(); break;
    }

    EXPECT_EQ(game.winKind, p.outcome);
    EXPECT_EQ(game.credits, p.creditsAfter);
    EXPECT_EQ(game.tickets, 3 + p.ticketsWon);
    EXPECT_EQ(game.shownCredits, p.credits - stake);
    EXPECT_EQ(game.bet, stake);
    // The spin is under way from its first step.
    EXPECT_EQ(game.animating, 1);
    EXPECT_EQ(game.machinePhase, PhaseSpinning);
    EXPECT_EQ(game.marqueeAngle, 0.0f);
    EXPECT_EQ(game.leverAngle, 0.0f);
    EXPECT_FALSE(game.reelsSettling);
    EXPECT_EQ(fakeglut::pending().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(StakeZero, PayoutTest,
                         ::testing::Values(Payout{Request::Lever, 0, 10, WinNone, 10, 0},
                                           Payout{Request::Lever, 0, 10, WinPair, 10, 0},
                                           Payout{Request::Lever, 0, 13, WinTriple, 10, 0},  // bought above the cap
                                           Payout{Request::Lever, 0, 0, WinNone, 0, 0}));
INSTANTIATE_TEST_SUITE_P(
    StakeOne, PayoutTest,
    ::testing::Values(Payout{Request::BetOne, 0, 10, WinNone, 9, 0}, Payout{Request::BetOne, 5, 10, WinPair, 9, 1},
                      Payout{Request::BetOne, 0, 1, WinTriple, 2, 2}, Payout{Request::BetOne, 0, 8, WinTriple, 9, 2},
                      Payout{Request::BetOne, 0, 9, WinTriple, 9, 2},
                      Payout{Request::BetOne, 0, 15, WinTriple, 9, 2},  // less than a loss leaves
                      Payout{Request::BetOne, 0, 15, WinNone, 14, 0}, Payout{Request::Lever, 1, 1, WinNone, 0, 0}));
INSTANTIATE_TEST_SUITE_P(
    StakeFive, PayoutTest,
    ::testing::Values(Payout{Request::BetFive, 0, 10, WinNone, 5, 0}, Payout{Request::BetFive, 1, 10, WinPair, 5, 5},
                      Payout{Request::BetFive, 0, 5, WinNone, 0, 0}, Payout{Request::BetFive, 0, 5, WinTriple, 5, 10},
                      Payout{Request::BetFive, 0, 12, WinTriple, 5, 10}, Payout{Request::Lever, 5, 5, WinPair, 0, 5}));

// ---------------------------------------------------------------------------------
// Guards and token purchase
// ---------------------------------------------------------------------------------

struct Refusal {
    const char* what;
    int bet;
    int credits;
    void (*request)();
};

TEST_F(GameTest, RefusedRequestsChangeNothing) {
    const Refusal refusals[] = {
        {"betFive with 4", 0, 4, [] { betFive(); }},
        {"betOne with 0", 5, 0, [] { betOne(); }},
        {"lever with 3 at stake 5", 5, 3, [] { pullLever(); }},
        {"lever with 0 at stake 1", 1, 0, [] { pullLever(); }},
        {"buy 1 with 11", 1, 11, [] { buyTokens(1); }},
        {"buy 2 with 11", 1, 11, [] { buyTokens(2); }},
        {"buy 5 with 15", 1, 15, [] { buyTokens(5); }},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        SetUp();
        game.bet = r.bet;
        game.credits = r.credits;
        game.shownCredits = r.credits;
        const GameState before = game;
        testing::internal::CaptureStdout();
        r.request();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(stateDiff(game, before), "");
        EXPECT_EQ(fakeglut::timerArmings(), 0);
        EXPECT_EQ(randomReelStop(), 135);  // no stop was drawn: the run's first draw is still to come
    }
}

TEST_F(GameTest, BuyingAddsTokensUpToTheLimit) {
    const struct { int credits, amount, after; } buys[] = {{10, 5, 15}, {10, 1, 11}, {9, 2, 11}, {0, 2, 2}, {3, 5, 8}};
    for (const auto& b : buys) {
        SCOPED_TRACE(b.credits * 10 + b.amount);
        SetUp();
        game.credits = b.credits;
        game.shownCredits = b.credits;  // what the status bar shows at rest
        GameState expected = game;
        expected.credits = b.after;
        expected.shownCredits = b.after;
        buyTokens(b.amount);
        EXPECT_EQ(stateDiff(game, expected), "");
        EXPECT_EQ(fakeglut::timerArmings(), 0);
    }
}

// The status bar holds its counts while an animation runs, and the prize key leaves one
// flagged for good: a purchase must show by itself, the winnings of a spin still wait.
TEST_F(GameTest, APurchaseShowsAtOnceWhileASpinsWinningsWait) {
    game.shownCredits = 10;
    onKeyboard('s', 0, 0);
    onKeyboard('t', 0, 0);
    ASSERT_EQ(game.animating, 1);
    buyTokens(1);
    EXPECT_EQ(game.credits, 11);
    EXPECT_EQ(game.shownCredits, 11);

    SetUp();
    game.credits = 5;
    game.shownCredits = 5;
    skipSpins(2);
    betOne();  // a triple: 5 + 2 - 1, of which the bar shows 5 - 1 until the spin ends
    ASSERT_EQ(game.credits, 6);
    ASSERT_EQ(game.shownCredits, 4);
    buyTokens(2);
    EXPECT_EQ(game.credits, 8);
    EXPECT_EQ(game.shownCredits, 6);  // the triple's two tokens are still to come
}

TEST_F(GameTest, EachStakeLeavesTheShownCoinsAtOnceDuringAnAnimation) {
    game.shownCredits = 10;  // what the status bar shows before the first spin
    betOne();                // a loss: 9 left
    EXPECT_EQ(game.shownCredits, 9);
    idleSteps(100);
    ASSERT_EQ(game.animating, 1);
    betFive();  // a pair: 4 left, five tickets more
    EXPECT_EQ(game.shownCredits, 4);
    EXPECT_EQ(game.credits, 4);
    EXPECT_EQ(game.tickets, 5);
    pullLever();  // stake 5 with 4 in hand: refused
    EXPECT_EQ(game.shownCredits, 4);
    EXPECT_EQ(game.credits, 4);
}

}  // namespace
