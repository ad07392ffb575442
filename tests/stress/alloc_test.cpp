// What our code allocates: the start-up takes its memory (the sounds too) and the first
// frame of each screen makes its quadrics, and from then on frames (whole, and of the
// parts that changed), pick passes, spins, key presses, animation steps and the sounds
// they start allocate nothing at all.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "app/frame_presenter.h"
#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"
#include "tests/stress/alloc_count.h"
#include "tests/stress/gl_session.h"

namespace {

const int AllocWindow = 300;
const int RoundsPerScreen = 200 / StressDivisor;

// Opens the real audio on OpenAL Soft's wave back end, writing to /dev/null, so that
// the cues reach real sources whatever devices the machine has. OpenAL Soft reads the
// configuration file named by ALSOFT_CONF when the helper thread loads it, so the file
// stays until the device is taken over.
bool openAudioToNowhere() {
    char path[] = "/tmp/slot-alsoft-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return false;
    const char config[] = "drivers = wave\n[wave]\nfile = /dev/null\n";
    const bool written = write(fd, config, sizeof config - 1) == static_cast<ssize_t>(sizeof config - 1);
    close(fd);
    setenv("ALSOFT_CONF", path, 1);
    bool opened = false;
    if (written) {
        openAudio();
        for (int wait = 0; wait < 3000 && !opened; ++wait) {
            opened = pollAudio();
            if (!opened) usleep(10000);
        }
    }
    unlink(path);
    return opened;
}

// One of everything the game does after start-up, on the screen shown.
void playOneOfEverything(int round, int pickX, int pickY) {
    onDisplay();
    glFinish();
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, pickX, pickY);
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, pickX, pickY);
    if (round % 3 == 0) betOne();
    if (round % 3 == 1) pullLever();
    if (round % 7 == 0) buyTokens(2);
    onKeyboard(round % 2 ? 'a' : 'v', 0, 0);
    onIdle();
    machineStep();
    ballStep();
    onDisplay();  // whole: the view or the axis cross changed
    machineStep();
    ballStep();
    requestFrame();  // the parts the steps moved
    onDisplay();
    glFinish();
}

TEST(Allocations, NoneAfterTheFirstFrameOfEachScreen) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";

    // The hooks see the game's own allocations: start-up reads nineteen pictures into
    // memory it takes with malloc, and builds the checker with new[].
    const AllocCounts beforeStart = allocCounts();
    openGameWindow(AllocWindow, AllocWindow);
    setFramePresenter(glxFramePresenter());
    const AllocCounts atStart = allocCounts() - beforeStart;
    EXPECT_GE(atStart.mallocs, 19u);
    EXPECT_GE(atStart.news, 1u);
    ASSERT_TRUE(openAudioToNowhere()) << "the audio did not open on OpenAL Soft's wave back end";

    int lever[2] = {0, 0};
    ASSERT_TRUE(leverKnobPoint(&lever[0], &lever[1]));

    // The first frame and the first pick pass of each screen set up what the rest reuse.
    const char screenKeys[3] = {'p', 's', 't'};
    {
        QuietStdout quiet;  // presses print their hits
        for (char key : screenKeys) {
            onKeyboard(key, 0, 0);
            playOneOfEverything(0, lever[0], lever[1]);
        }
    }
    // The round pieces' quadrics come with the first piece drawn, which may be start-up's.
    EXPECT_GT((allocCounts() - beforeStart).quadrics, 0u) << "no quadric was made: is the hook linked?";

    const AllocCounts before = allocCounts();
    {
        QuietStdout quiet;
        for (int round = 1; round <= RoundsPerScreen; ++round) {
            for (char key : screenKeys) {
                onKeyboard(key, 0, 0);
                // Presses on the lever and round about it, hitting and missing.
                playOneOfEverything(round, lever[0] + round % 40 - 20, lever[1] + round % 30 - 15);
            }
            // Every sound the audio can start, the payout counted out, the mute both ways.
            for (int cue = 0; cue <= CueBounce; ++cue) playCue(static_cast<Cue>(cue));
            playPayout(round % 11, round % 13, round % 2 == 0);
            toggleMute();
            toggleMute();
        }
    }
    const AllocCounts made = allocCounts() - before;
    EXPECT_EQ(made.mallocs, 0u);
    EXPECT_EQ(made.news, 0u);
    EXPECT_EQ(made.quadrics, 0u);
    EXPECT_EQ(made.glNames, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
