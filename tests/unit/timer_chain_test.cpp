// The timer chain as the rest of the game sees it, driven through the fake clock: one
// pending timer at most, the idle callback on within two periods of a request and off
// within two periods of the end, and a redisplay every period once the chain runs.
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
    EXPECT_EQ(fakeglut::timerRedisplayTimes().size(), 101u);
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
    static constexpr uint64_t Slice = 2;  // 83 idle calls a period

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
            EXPECT_EQ(fakeglut::pending().size(), 1u) << "at " << now;
        }
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
        if (game.animating == 1 && now >= onSince + TwoPeriods) {
            EXPECT_EQ(fakeglut::idle(), &onIdle) << "animating, yet no idle callback at " << now;
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
        loop.run(Period * 12);              // ends, and the idle callback goes
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

TEST_F(GameTest, ARedisplayEveryPeriodOnceTheChainRuns) {
    MainLoop loop;
    loop.run(71);  // nothing armed yet: no timer, no redisplay
    EXPECT_TRUE(fakeglut::timerRedisplayTimes().empty());
    EXPECT_TRUE(fakeglut::pending().empty());
    loop.request([] { onKeyboard('S', 0, 0); });
    loop.run(Period * 5);
    loop.request([] { onKeyboard('P', 0, 0); });  // ends at the first machine step
    loop.run(Period * 7);
    loop.request([] { betFive(); });
    loop.run(Period * 30);
    for (int i = 0; i < 10; ++i) {
        loop.request([] { betOne(); });
        loop.run(Period * 2 + 13 * i);
    }
    loop.run(Period * 2000);  // long at rest

    const std::vector<uint64_t>& times = fakeglut::timerRedisplayTimes();
    const uint64_t end = fakeglut::now();
    ASSERT_FALSE(times.empty());
    EXPECT_EQ(times.front(), loop.firstArm + Period);
    for (size_t i = 1; i < times.size(); ++i) ASSERT_EQ(times[i] - times[i - 1], Period) << "firing " << i;
    EXPECT_GT(times.back() + Period, end);
}

}  // namespace
