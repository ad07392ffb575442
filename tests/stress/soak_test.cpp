// The soak: ten thousand spins mixed with a hundred thousand frames over all three
// screens in one process, with the real freeglut and Mesa. Memory, GL errors, timers
// and what our code allocates must all stay flat.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/game_state.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/stress/alloc_count.h"
#include "tests/stress/gl_session.h"
#include "tests/stress/glut_spy.h"

namespace {

// A frame costs llvmpipe some 8 ms at 900 x 900, most of it per pixel; a small window
// keeps a hundred thousand frames to a few minutes while every piece is still drawn.
const int SoakSize = 150;
const long SoakFrames = 100000 / StressDivisor;
const long SoakSpins = 10000 / StressDivisor;
const long FramesPerSpin = SoakFrames / SoakSpins;
const long FramesPerScreen = 250;  // the screen changes every 250 frames: p, s, t, p ...
const long BaselineFrame = 1000;
const size_t MaxGrowth = 1 << 19;

long framesDrawn = 0;
long framesWithError = 0;
GLenum firstError = GL_NO_ERROR;
long firstErrorFrame = -1;

// The display callback as freeglut calls it, counting frames and GL errors.
void countedDisplay() {
    onDisplay();
    ++framesDrawn;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        if (framesWithError++ == 0) {
            firstError = error;
            firstErrorFrame = framesDrawn;
        }
        while (glGetError() != GL_NO_ERROR) {
        }
    }
}

bool spinStarted() { return game.machinePhase == PhaseSpinning && game.marqueeAngle == 0.0f; }

TEST(Soak, SpinsAndFramesOverAllScreensKeepMemoryErrorsTimersAndAllocationsFlat) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the soak needs an X display";
    // glibc serves a block of 128 KiB or more with a mapping of its own, until the first
    // such block is freed: from then on blocks up to that size come from the heap. Mesa
    // frees and takes again blocks of about 1 MiB when its buffers fill, at a moment that
    // depends on the machine's speed, so the heap once grew by 1.5 MiB after the baseline
    // and stayed so, on a busy machine. With the threshold fixed, every such block keeps
    // its own mapping for the whole run, and what grows is what is kept.
    // (The sanitizer's allocator has no such threshold, and its resident size is not held.)
    if (!UnderSanitizer) {
        ASSERT_EQ(mallopt(M_MMAP_THRESHOLD, 128 * 1024), 1);
    }
    openGameWindow(SoakSize, SoakSize);
    glutDisplayFunc(countedDisplay);
    int leverX = 0;
    int leverY = 0;
    ASSERT_TRUE(leverKnobPoint(&leverX, &leverY));

    const char screenKeys[3] = {'p', 's', 't'};
    long spins = 0;
    long pressSpins = 0;
    long presses = 0;
    int maxPending = 0;
    int maxStepPending = 0;
    size_t baselineRss = 0;
    size_t peakRss = 0;
    size_t checkpointRss[10] = {};
    int checkpoints = 0;
    AllocCounts baselineAllocs = {0, 0, 0, 0};
    const char* violation = nullptr;
    long violationFrame = -1;
    const auto started = std::chrono::steady_clock::now();

    long turn = 0;
    {
        QuietStdout quiet;  // every press prints its hits
        while (framesDrawn < SoakFrames) {
            const long frame = framesDrawn;
            if (frame % FramesPerScreen == 0) onKeyboard(screenKeys[(frame / FramesPerScreen) % 3], 0, 0);
            if (frame % FramesPerSpin == 0 && spins < SoakSpins) {
                if (game.credits < StakeFive) buyTokens(StakeFive);
                // Bet one, bet five, the lever, and a real press on the lever's knob.
                switch (spins % 4) {
                case 0: betOne(); break;
                case 1: betFive(); break;
                case 2: pullLever(); break;
                default:
                    if (game.screen == ScreenMachine) {
                        ++presses;
                        onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, leverX, leverY);
                        onMouse(GLUT_LEFT_BUTTON, GLUT_UP, leverX, leverY);
                        if (spinStarted()) ++pressSpins;
                    }
                    // Off the machine screen, or with the knob pulled away: the lever.
                    if (!spinStarted()) pullLever();
                    break;
                }
                if (spinStarted()) ++spins;
            }

            glutPostWindowRedisplay(game.windowId);
            runLoopOnce();  // draws the frame, fires due timers, runs the idle step
            ++turn;

            if (!violation) {
                violation = stateViolation();
                if (!violation && !projectionFinite()) violation = "a projection entry that is not finite";
                if (violation) violationFrame = framesDrawn;
            }
            if (pendingTimers() > maxPending) maxPending = pendingTimers();
            if (pendingStepTimers() > maxStepPending) maxStepPending = pendingStepTimers();
            if (framesDrawn == BaselineFrame && baselineRss == 0) {
                baselineRss = residentBytes();
                baselineAllocs = allocCounts();
            }
            if (baselineRss != 0 && turn % 100 == 0) {
                const size_t rss = residentBytes();
                if (rss > peakRss) peakRss = rss;
            }
            if (checkpoints < 10 && framesDrawn >= (checkpoints + 1) * (SoakFrames / 10))
                checkpointRss[checkpoints++] = residentBytes();
        }
    }
    const AllocCounts made = allocCounts() - baselineAllocs;
    std::fprintf(stderr, "soak: resident at every tenth of the run, KiB from frame %ld:", BaselineFrame);
    for (int i = 0; i < checkpoints; ++i)
        std::fprintf(stderr, " %+.0f",
                     (static_cast<double>(checkpointRss[i]) - static_cast<double>(baselineRss)) / 1024.0);
    std::fprintf(stderr, "\n");
    const size_t endRss = residentBytes();
    if (endRss > peakRss) peakRss = endRss;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long firings = timerFirings();

    std::fprintf(
        stderr,
        "soak: %ld frames, %ld spins (%ld of %ld presses on the lever), %.1f s, %.2f ms a frame, window %d x %d\n"
        "soak: resident %.2f MiB after frame %ld, %.2f MiB at the end (growth %+.1f KiB), peak %.2f MiB\n"
        "soak: %ld timer firings, at most %d timer pending; allocations after frame %ld: %llu\n",
        framesDrawn, spins, pressSpins, presses, seconds, 1000.0 * seconds / framesDrawn, SoakSize, SoakSize,
        baselineRss / 1048576.0, BaselineFrame, endRss / 1048576.0,
        (static_cast<double>(endRss) - static_cast<double>(baselineRss)) / 1024.0, peakRss / 1048576.0, firings,
        maxPending, BaselineFrame, static_cast<unsigned long long>(made.total()));

    EXPECT_EQ(spins, SoakSpins);
    EXPECT_GT(pressSpins, 0) << "no press on the lever's knob started a spin";
    EXPECT_EQ(violation, nullptr) << violation << " at frame " << violationFrame;
    EXPECT_EQ(framesWithError, 0) << "first GL error 0x" << std::hex << firstError << std::dec << " at frame "
                                  << firstErrorFrame;
    EXPECT_LE(maxPending, 1) << "timers piled up";
    EXPECT_LE(maxStepPending, 1) << "step timers piled up";
    EXPECT_EQ(pendingTimers(), 1) << "the animation chain died";
    // The chain fires every 166 ms for as long as the soak runs; a loaded machine may
    // check the timers late, never this late.
    EXPECT_GT(firings, static_cast<long>(seconds * 1000.0 / TimerPeriodMs / 4.0));
    EXPECT_EQ(made.mallocs, 0u);
    EXPECT_EQ(made.news, 0u);
    EXPECT_EQ(made.quadrics, 0u);
    EXPECT_EQ(made.glNames, 0u);
    // Under the sanitizer freed blocks wait in quarantine and the resident size says
    // nothing about leaks; LeakSanitizer checks those instead.
    // The heap's high-water mark moves with the allocator's trimming; what the soak
    // keeps at its end is the growth.
    if (!UnderSanitizer) {
        EXPECT_LT(static_cast<double>(endRss) - static_cast<double>(baselineRss), static_cast<double>(MaxGrowth))
            << "resident memory grew after the first thousand frames";
    }
}

}  // namespace
