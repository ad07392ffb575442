// The cues of the game play, read from the recording fake of the audio: which cues, in
// which order and at which step, for each outcome of a spin, a spin interrupted
// and asked for again, the token counter, the refusals and the prize ball.
#include <sstream>
#include <string>

#include "tests/unit/fake_audio.h"
#include "tests/unit/game_fixture.h"

namespace {

const char* const CueNames[] = {"lever", "reels run", "reels stop", "knock left", "knock centre", "knock right",
                                "chime", "fanfare",   "coin",       "buzz",       "bounce"};

// The cues heard so far as "step name" pairs, e.g. "0 lever, 108 knock left".
std::string heard() {
    std::ostringstream out;
    for (const fakeaudio::Heard& h : fakeaudio::heard()) {
        if (out.tellp() > 0) out << ", ";
        out << h.step << ' ' << CueNames[h.cue];
    }
    return out.str();
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

// The reels land at steps 108, 180 and 252 of a spin; the result is heard with the last.
TEST_F(CueTest, EachOutcomeOfASpin) {
    const std::string spin = "0 lever, 0 reels run, 108 knock left, 180 knock centre, 252 knock right, 252 reels stop";
    const char* const results[3] = {"", ", 252 chime", ", 252 fanfare"};  // a loss, a pair, three of a kind
    for (int outcome = 0; outcome < 3; ++outcome) {
        SCOPED_TRACE(outcome);
        SetUp();
        skipSpins(outcome);
        betOne();
        steps(600);  // the spin is over at step 432; the machine then stands still, unheard
        EXPECT_EQ(heard(), spin + results[outcome]);
    }
}

// The machine stands still on the token screen, so its reels fall silent; they sound
// again when it moves again, and a spin asked for on the way restarts only the lever.
TEST_F(CueTest, ASpinLeftResumedAndAskedForAgain) {
    betOne();  // a loss
    steps(50);
    onKeyboard('t', 0, 0);
    steps(10);
    onKeyboard('p', 0, 0);
    steps(1);
    betOne();  // a pair, from step 61 on
    steps(400);
    EXPECT_EQ(heard(),
              "0 lever, 0 reels run, 51 reels stop, 61 reels run, 61 lever, 169 knock left, 241 knock centre, "
              "313 knock right, 313 reels stop, 313 chime");
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
