// The cues of the game play, read from the recording fake of the audio: which cues, in
// which order and at which step, for each outcome of a spin and its payout, a spin
// interrupted and asked for again, winnings landing at the next spin's press, the
// token counter, the refusals and the prize ball.
#include <sstream>
#include <string>

#include "tests/unit/fake_audio.h"
#include "tests/unit/game_fixture.h"

namespace {

const char* const CueNames[] = {"pull",         "ratchet",    "clack",        "reels start", "reels pause",
                                "reels resume", "knock left", "knock centre", "knock right", "chime",
                                "fanfare",      "coin",       "buzz",         "bounce"};

// The cues heard so far as "step name" pairs, e.g. "35 clack, 36 reels start"; a payout
// reads "40 payout 2+2 bright" for two tokens, two tickets and three of a kind. Only
// the payouts, when asked.
std::string heard(bool payoutsOnly = false) {
    std::ostringstream out;
    for (const fakeaudio::Heard& h : fakeaudio::heard()) {
        if (payoutsOnly && h.cue != fakeaudio::HeardPayout) continue;
        if (out.tellp() > 0) out << ", ";
        out << h.step << ' ';
        if (h.cue == fakeaudio::HeardPayout)
            out << "payout " << h.tokens << '+' << h.tickets << (h.threeOfAKind ? " bright" : "");
        else
            out << CueNames[h.cue];
    }
    return out.str();
}

// The pull of a spin whose first step is `first`: the lever leaves its rest, a tooth of
// the ratchet every three steps as it rises, its clack at full pull, the reels set
// going the step after.
std::string pull(int first) {
    std::ostringstream out;
    out << first << " pull, ";
    for (int step = 3; step <= 33; step += 3) out << first - 1 + step << " ratchet, ";
    out << first - 1 + Spin.fullPull << " clack, " << first + Spin.fullPull << " reels start";
    return out.str();
}

// The step of a spin whose first step is `first` at which something falls due `step`
// steps into the timeline: its cue's mark.
std::string at(int first, int step) { return std::to_string(first - 1 + step); }

// The reels of that spin knocking onto their stops, left to right.
std::string knocks(int first) {
    return at(first, Spin.reelLands[0]) + " knock left, " + at(first, Spin.reelLands[1]) + " knock centre, " +
           at(first, Spin.reelLands[2]) + " knock right";
}

// Its result, heard a moment after the right reel's knock, and its payout as the
// animation ends.
std::string result(int first, const char* sound, const char* payout) {
    return at(first, Spin.reelLands[2] + ResultDelaySteps) + ' ' + sound + ", " + at(first, Spin.ends) + " payout " +
           payout;
}

class CueTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        fakeaudio::reset();
    }

    // Steps on the screen shown, each counted for the cues that follow it.
    static void steps(int n) {
        for (int i = 0; i < n; ++i) {
            fakeaudio::step();
            oneStep();
        }
    }
};

// The reels land one after the other, the result is heard a moment after the last, and
// the winnings with the step that ends the animation and shows them. The first three of
// a kind of a run pays no tokens: 10 held, the cap keeps them.
TEST_F(CueTest, EachOutcomeOfASpinAndItsPayout) {
    const std::string spin = pull(1) + ", " + knocks(1);
    const std::string results[3] = {"", ", " + result(1, "chime", "0+1"), ", " + result(1, "fanfare", "0+2 bright")};
    for (int outcome = 0; outcome < 3; ++outcome) {
        SCOPED_TRACE(outcome);
        SetUp();
        skipSpins(outcome);
        betOne();
        steps(600);  // the machine then stands still, unheard
        EXPECT_EQ(heard(), spin + results[outcome]);
    }
}

// Three of a kind counts the tokens that land: 5 held and a stake of 5 win ten, of
// which the cap of 10 keeps five.
TEST_F(CueTest, ThreeOfAKindCountsItsTokensAndTickets) {
    skipSpins(2);
    game.credits = 5;
    betFive();
    steps(Spin.ends);
    EXPECT_EQ(game.credits, 5);
    EXPECT_EQ(fakeaudio::heard().back().step, Spin.ends);
    EXPECT_EQ(heard().substr(heard().rfind(", ") + 2), at(1, Spin.ends) + " payout 5+10 bright");
}

// The machine stands still on the token screen, so its reels pause; they resume when it
// moves again, and a spin asked for on the way pauses them until its own pull is done.
TEST_F(CueTest, ASpinLeftResumedAndAskedForAgain) {
    betOne();  // a loss
    steps(50);
    onKeyboard('t', 0, 0);
    steps(10);
    onKeyboard('p', 0, 0);
    steps(1);
    betOne();  // a pair, from step 62 on
    steps(440);
    std::string again = pull(62);
    again.insert(again.find(", "), ", 62 reels pause");  // the reels stand still from its first step
    EXPECT_EQ(heard(), pull(1) + ", 51 reels pause, 61 reels resume, " + again + ", " + knocks(62) + ", " +
                           result(62, "chime", "0+1"));
}

// A spin asked for while an earlier one's winnings still wait for the bar, its result
// shown or its reels still turning, lands them at the press: the bar shows them and
// they are counted out there (the new pull, a step later, cuts the count short). Each
// spin's own then wait for its own animation's end; tokens bought meanwhile are no
// winnings.
TEST_F(CueTest, WinningsWaitingWhenTheNextSpinIsAskedForLandAtThePress) {
    skipSpins(1);
    game.credits = game.shownCredits = 5;
    betOne();  // a pair: one ticket
    steps(300);
    ASSERT_EQ(game.machinePhase, PhaseSettled);
    betOne();  // three of a kind: two tokens and two tickets, booked
    EXPECT_EQ(game.shownTickets, 1);
    EXPECT_EQ(game.shownCredits, 3);  // 5, less two stakes
    onKeyboard('t', 0, 0);
    buyTokens(1);
    onKeyboard('p', 0, 0);
    steps(100);
    ASSERT_TRUE(game.reelsSettling && game.reelAngle[2] < 4320.0f);
    betOne();  // a pair
    EXPECT_EQ(game.shownTickets, 3);
    EXPECT_EQ(game.shownCredits, 5);  // the triple's 6, the purchase's 1, less this stake
    steps(440);
    EXPECT_EQ(game.tickets, 4);
    EXPECT_EQ(heard(true), "300 payout 0+1, 400 payout 2+2 bright, " + at(401, Spin.ends) + " payout 0+1");
    EXPECT_NE(heard().find("300 payout 0+1, 300 coin, 301 pull"), std::string::npos) << heard();
}

// The prize screen's key sets the animation going; the machine step that ends it lands
// no winnings when no spin booked any.
TEST_F(CueTest, AnAnimationWithoutWinningsEndsInSilence) {
    betOne();  // a loss
    steps(Spin.ends);
    onKeyboard('s', 0, 0);
    onKeyboard('p', 0, 0);
    fakeaudio::reset();
    steps(5);
    EXPECT_EQ(game.animating, 0);
    EXPECT_EQ(heard(), "");
}

TEST_F(CueTest, TheTokenCounterAndTheRefusals) {
    buyTokens(2);  // 10 held: sold
    game.credits = 11;
    buyTokens(1);  // more than 10 held
    game.credits = 4;
    betFive();  // fewer than the stake
    game.bet = 5;
    pullLever();
    game.credits = 0;
    betOne();
    EXPECT_EQ(heard(), "0 coin, 0 buzz, 0 buzz, 0 buzz, 0 buzz");
    EXPECT_EQ(game.credits, 0);
}

// The ball turns at the bottom at steps 23 and 47; only the winner's ball is drawn and heard.
TEST_F(CueTest, ThePrizeBallBouncesForAWinnerOnly) {
    game.tickets = 4;
    onKeyboard('s', 0, 0);
    steps(50);
    EXPECT_EQ(heard(), "");

    SetUp();
    game.tickets = 5;
    onKeyboard('s', 0, 0);
    steps(50);
    EXPECT_EQ(heard(), "23 bounce, 47 bounce");
}

}  // namespace
