// The timer chain as the rest of the game sees it, driven through the fake clock: one
// chain at most, the idle callback on within a period of a request, steps coming while
// anything moves and none within two periods of the end, the idle callback never left
// on with no step due, and a firing every period that asks for no frame of its own.
#include <algorithm>
#include <functional>

#include "tests/unit/game_fixture.h"

namespace {

constexpr uint64_t Period = 166;
constexpr uint64_t TwoPeriods = 2 * Period;

TEST_F(GameTest, ARequestArmsOneTimerThatKeepsRearmingItself) {
    betOne();
    ASSERT_EQ(fakeglut::pending().size(), 1u);
    const fakeglut::Timer t = fakeglut::pending()[0];
    EXPECT_EQ(t.delay, Period);
    EXPECT_EQ(t.fn, &onTimer);
    EXPECT_EQ(t.value, 1);
    EXPECT_EQ(fakeglut::idle(), nullptr);  // nothing runs until the first tick

    fakeglut::advance(Period);
    EXPECT_EQ(fakeglut::idle(), &onIdle);
    game.animating = 0;  // as if the spin had ended
    for (int i = 0; i < 100; ++i) fakeglut::advance(Period);
    ASSERT_EQ(fakeglut::pending().size(), 1u);
    EXPECT_EQ(fakeglut::pending()[0].delay, Period);
    EXPECT_EQ(fakeglut::idle(), nullptr);
    EXPECT_EQ(fakeglut::firingTimes(&onTimer).size(), 101u);
    EXPECT_EQ(fakeglut::windowRedisplays(), 0);  // no step ran, so nothing changed to draw
}

TEST_F(GameTest, KeyRepeatAndAThousandSpinsLeaveOneTimer) {
    for (int i = 0; i < 1000; ++i) onKeyboard('S', 0, 0);
    EXPECT_EQ(fakeglut::pending().size(), 1u);
    fakeglut::advance(Period);
    for (int i = 0; i < 1000; ++i) {
        pullLever();  // stake 0: costs nothing, so it can be asked for for ever
        if (i % 100 == 0) fakeglut::advance(37);
    }
    for (int i = 0; i < 1000; ++i) {
        betOne();
        buyTokens(1);
    }
    EXPECT_EQ(fakeglut::pending().size(), 1u);
    for (int i = 0; i < 20; ++i) fakeglut::advance(Period);
    EXPECT_EQ(fakeglut::pending().size(), 1u);
}

// The main loop, simulated: the clock moves in slices, due timers fire, and a
// registered idle callback runs once per slice. Watches the contract on every slice.
class MainLoop {
public:
    static constexpr uint64_t Slice = 2;  // 83 turns of the loop a period

    // Asks for something (a spin, a key) at the present time.
    void request(const std::function<void()>& ask) {
        const bool was = game.animating == 1;
        ask();
        if (!was && game.animating == 1) {
            onSince = fakeglut::now();
            waitingStart = true;
            waitingStop = false;
        }
        if (!armed && !fakeglut::pending().empty()) {
            armed = true;
            firstArm = fakeglut::now();
        }
        observe();
    }

    void run(uint64_t ms) {
        for (uint64_t t = 0; t < ms; t += Slice) {
            fakeglut::advance(Slice);
            observe();
            if (fakeglut::IdleFn idle = fakeglut::idle()) {
                idle();
                // It runs every step that is due, so it must then wait for the next.
                EXPECT_EQ(fakeglut::idle(), nullptr) << "the idle callback stays on at " << fakeglut::now();
                observe();
            }
        }
    }

    uint64_t maxStartDelay = 0, maxStopDelay = 0;
    int starts = 0, stops = 0;
    bool armed = false;
    uint64_t firstArm = 0;

private:
    void observe() {
        const uint64_t now = fakeglut::now();
        if (armed) {
            EXPECT_EQ(fakeglut::pendingOf(&onTimer), 1) << "at " << now;
        }
        EXPECT_LE(fakeglut::pendingOf(&onStepDue), 1) << "at " << now;
        if (waitingStart && fakeglut::idle() == &onIdle) {
            maxStartDelay = std::max(maxStartDelay, now - onSince);
            waitingStart = false;
            ++starts;
        }
        if (prevAnimating == 1 && game.animating == 0) {
            offSince = now;
            waitingStop = true;
        }
        if (waitingStop && fakeglut::idle() == nullptr) {
            maxStopDelay = std::max(maxStopDelay, now - offSince);
            waitingStop = false;
            ++stops;
        }
        // While something is drawn moving, the next step is always on its way.
        const bool moving =
            game.screen == ScreenMachine || (game.screen == ScreenPrize && game.tickets >= WinnerTickets);
        if (game.animating == 1 && moving && now >= onSince + TwoPeriods) {
            EXPECT_TRUE(fakeglut::idle() == &onIdle || fakeglut::pendingOf(&onStepDue) == 1)
                << "animating, yet no step to come at " << now;
        }
        if (game.animating == 0 && waitingStop) {
            EXPECT_LE(now - offSince, TwoPeriods) << "idle callback lingers";
        }
        prevAnimating = game.animating;
    }

    uint64_t onSince = 0, offSince = 0;
    bool waitingStart = false, waitingStop = false;
    int prevAnimating = 0;
};

TEST_F(GameTest, IdleCallbackFollowsTheAnimationWithinTwoPeriods) {
    MainLoop loop;
    // Requests from rest at every phase of the chain's period, and some mid-animation,
    // from the machine, prize and token screens.
    const uint64_t offsets[] = {0, 1, 2, 40, 83, 120, 164, 165, 166, 167};
    for (uint64_t offset : offsets) {
        loop.run(offset);
        loop.request([] { betOne(); });
        loop.run(Period * 3 + offset);
        loop.request([] { pullLever(); });  // mid-animation: restarts the timeline
        loop.run(Period * 46);              // ends (3.6 s of steps), and the idle callback goes
        loop.request([] { onKeyboard('s', 0, 0); });
        loop.run(Period * 2 + offset);
        loop.request([] { onKeyboard('t', 0, 0); });
        loop.run(offset);
        loop.request([] { onKeyboard('p', 0, 0); });  // the first machine step ends it
        loop.run(Period * 3);
        loop.request([] { buyTokens(2); });  // keeps the stakes coming
    }
    EXPECT_EQ(loop.starts, 2 * 10);
    EXPECT_EQ(loop.stops, 2 * 10);
    EXPECT_LE(loop.maxStartDelay, TwoPeriods);
    // Tighter still: the live chain's next firing acts as a fresh arming would, so a
    // request from rest is seen within one period, as with a chain of its own.
    EXPECT_LE(loop.maxStartDelay, Period);
    EXPECT_LE(loop.maxStopDelay, TwoPeriods);
    EXPECT_EQ(game.animating, 0);
    EXPECT_EQ(fakeglut::idle(), nullptr);
}

// Where the chain still has the idle callback on, nothing waits for its next firing: a
// spin asked for just after the last one ended, the prize key on the token counter,
// a return to a machine left mid-spin.
TEST_F(GameTest, RequestsWhileTheChainHasTheIdleCallbackOnAreStepsAtOnce) {
    struct Case {
        uint64_t after;  // ms after a spin from rest
        char screen;     // the screen then shown
        void (*request)();
    };
    const Case cases[] = {
        {3818, 'p', [] { betOne(); }},  // past the spin's end (3.76 s), before the chain has its word of it
        {500, 't', [] { onKeyboard('s', 0, 0); }},
        {500, 't', [] { onKeyboard('p', 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        SetUp();
        game.tickets = WinnerTickets;  // the ball moves at the prize counter
        MainLoop loop;
        loop.request([] { betOne(); });
        loop.run(c.after);
        onKeyboard(c.screen, 0, 0);
        onIdle();  // takes the idle callback off, as between steps or where nothing moves
        ASSERT_EQ(fakeglut::idle(), nullptr);
        c.request();
        EXPECT_EQ(fakeglut::idle(), &onIdle);
    }
}

TEST_F(GameTest, TheChainFiresEveryPeriodAndAsksForNoFrameOfItsOwn) {
    MainLoop loop;
    loop.run(71);  // nothing armed yet: no timer
    EXPECT_TRUE(fakeglut::pending().empty());
    loop.request([] { onKeyboard('S', 0, 0); });
    loop.run(Period * 5);
    loop.request([] { onKeyboard('P', 0, 0); });  // ends at the first machine step
    loop.run(Period * 7);
    loop.request([] { betFive(); });
    loop.run(Period * 30);
    for (uint64_t i = 0; i < 10; ++i) {
        loop.request([] { betOne(); });
        loop.run(Period * 2 + 13 * i);
    }
    loop.run(Period * 46);  // the last spin ends
    const int framesAtRest = fakeglut::windowRedisplays();
    loop.run(Period * 2000);  // long at rest
    EXPECT_EQ(fakeglut::windowRedisplays(), framesAtRest);
    EXPECT_TRUE(fakeglut::timerRedisplayTimes().empty());

    const std::vector<uint64_t> times = fakeglut::firingTimes(&onTimer);
    const uint64_t end = fakeglut::now();
    ASSERT_FALSE(times.empty());
    EXPECT_EQ(times.front(), loop.firstArm + Period);
    for (size_t i = 1; i < times.size(); ++i) ASSERT_EQ(times[i] - times[i - 1], Period) << "firing " << i;
    EXPECT_GT(times.back() + Period, end);
}

}  // namespace
