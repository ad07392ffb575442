// Shared ground for the logic tests: every test starts from the record a new game has
// right after start-up (the generator, the timer chain and the cues as at program start),
// and a spin's steps are those of its timeline (timeline.h).
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/game_state.h"
#include "game/play.h"
#include "tests/unit/fake_glut.h"
#include "tests/unit/timeline.h"

// Names of the fields of play, view, window and input in which two records differ,
// separated by spaces; "" when equal. The driver's, the cues' and the generator's state
// are left to the tests of the driver, the cues and the stops.
inline std::string stateDiff(const GameState& a, const GameState& b) {
    std::ostringstream out;
    auto field = [&out](const char* name, auto x, auto y) {
        if (!(x == y)) out << name << ' ';
    };
    auto vec = [&field](const char* name, const Vec3& x, const Vec3& y) {
        field(name, x.x, y.x);
        field(name, x.y, y.y);
        field(name, x.z, y.z);
    };
#define SLOT_FIELD(f) field(#f, a.f, b.f)
    SLOT_FIELD(credits);
    SLOT_FIELD(tickets);
    SLOT_FIELD(bet);
    SLOT_FIELD(shownCredits);
    SLOT_FIELD(shownTickets);
    SLOT_FIELD(screen);
    SLOT_FIELD(machinePhase);
    SLOT_FIELD(animating);
    SLOT_FIELD(winKind);
    for (int i = 0; i < 3; ++i) {
        SLOT_FIELD(reelStop[i]);
        SLOT_FIELD(reelAngle[i]);
    }
    SLOT_FIELD(reelsSettling);
    SLOT_FIELD(leverAngle);
    SLOT_FIELD(marqueeAngle);
    SLOT_FIELD(ballHeight);
    SLOT_FIELD(ballRising);
    SLOT_FIELD(showAxes);
    SLOT_FIELD(usePerspective);
    SLOT_FIELD(windowId);
    SLOT_FIELD(windowWidth);
    SLOT_FIELD(windowHeight);
    SLOT_FIELD(pickX);
    SLOT_FIELD(pickY);
    SLOT_FIELD(pickSize);
    SLOT_FIELD(hudSlot);
    SLOT_FIELD(fullScreenOffered);
    for (int i = 0; i < SelectBufferSize; ++i) SLOT_FIELD(selectBuffer[i]);
#undef SLOT_FIELD
    vec("eye", a.eye, b.eye);
    vec("center", a.center, b.center);
    vec("up", a.up, b.up);
    return out.str();
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = startState();
        resetGame();
        fakeglut::reset();
        stepClock = fakeglut::clock;
    }

    // One step of the step clock, rounded up to the nanosecond: after it exactly one
    // more step is due (for the first ten million steps).
    static constexpr std::chrono::nanoseconds StepPeriod =
        std::chrono::ceil<std::chrono::nanoseconds>(std::chrono::duration<int64_t, std::ratio<1, StepsPerSecond>>(1));

    // Lets one step's time pass and runs the idle callback, as the main loop does when
    // the next step falls due: one step on the screen shown, where anything moves.
    static void oneStep() {
        fakeglut::advanceBy(StepPeriod);
        onIdle();
    }

    static void idleSteps(int n) {
        for (int i = 0; i < n; ++i) oneStep();
    }

    // Draws (and throws away) the stops of n spins, so the next spin plays the
    // (n+1)-th of the fresh run: 0 a loss, 1 a pair, 2 a triple.
    static void skipSpins(int n) {
        for (int i = 0; i < 3 * n; ++i) randomReelStop();
    }
};
